#include "formats/game_file.h"

#include <fstream>
#include <sstream>

#include "config/parameters.h"
#include "formats/description_lines.h"
#include "formats/game_attributes.h"
#include "formats/game_format.h"
#include "formats/halcyon.h"
#include "formats/input_limit_exception.h"
#include "formats/xl_import.h"
#include "formats/xl_writer.h"
#include "foundation/input_file.h"
#include "foundation/messages.h"
#include "foundation/safe_file.h"
#include "games/game_registry.h"
#include "text/lex.h"

namespace tessera {
namespace {

// Attribute values that no attribute of the game takes become entries of the file's error report.
class CXLAttributeErrorReporter : public CAttributeErrorReporter {
public:
    explicit CXLAttributeErrorReporter(CXLUniverseCollection& collection) : collection_(collection) {}
    void Report(const CAttributeValue& value) override {
        collection_.AddError(msg::XLUnknownAttribute, nullptr, value.lineNumber,
                             value.name + "=" + value.value);
    }

private:
    CXLUniverseCollection& collection_;
};

COpenResult Failure(int messageId, std::string text) {
    COpenResult result;
    result.messageId = messageId;
    result.message = std::move(text);
    return result;
}

}  // namespace

CGame* MakeGame(CGameRegistry& games, CXLUniverse& chosen, CXLUniverseCollection& collection,
                CFileDialogs& dialogs) {
    CGame& game = games.NewGame(*chosen.universe);
    game.SetDescription(chosen.description);
    game.SetOriginator(chosen.originator);
    CLexAttributeSetList sets;
    CLexAttributeSet<CGame> attributes(sets, game);
    CXLAttributeErrorReporter reporter(collection);
    ApplyAttributes(sets, chosen.attributes, reporter);
    if (!NameGame(game, chosen.name, dialogs)) {
        games.DestroyGame(game);
        return nullptr;
    }
    return &game;
}

namespace {

// The XLife reader's road to a game. An input without any pattern gives no game, or, when
// emptyIsPattern is set, an empty game named after the title.
CGame* ReadXLifeGame(CLex& lex, std::string_view title, std::string fileName, CGameRegistry& games,
                     CFileDialogs& dialogs, bool emptyIsPattern) {
    std::unique_ptr<CXLUniverseCollection> collection = ReadXLife(lex, title, std::move(fileName));
    CGame* game = nullptr;
    if (collection->UniverseCount() == 0 && emptyIsPattern) {
        game = &games.NewGame();
        if (!NameGame(*game, CName(std::string(title)), dialogs)) {
            games.DestroyGame(*game);
            game = nullptr;
        }
    } else if (CXLUniverse* chosen = collection->SelectUniverse(dialogs)) {
        game = MakeGame(games, *chosen, *collection, dialogs);
        if (game && !chosen->refusedRule.empty()) dialogs.NoteUnusedRule(chosen->refusedRule);
    }
    collection->ShowErrorReport(dialogs);
    return game;
}

}  // namespace

CGame* ReadGameFile(CLex& lex, std::string_view title, std::string fileName, CGameRegistry& games,
                    CFileDialogs& dialogs) {
    if (lex.AcceptKeyword("GAME")) return ReadGame(games, lex, dialogs);
    return ReadXLifeGame(lex, title, std::move(fileName), games, dialogs, false);
}

void WriteXLifeGame(CGame& game, std::ostream& out) {
    if (!game.Originator().empty()) out << "#O " << game.Originator() << '\n';
    WriteDescription(out, "#C", game.Description(), params::LineLength.GetUInt());
    WriteAttributes(out, game);
    WriteXLifeUniverse(game.Current(), out);
}

void SaveGame(CGame& game, std::ostream& out) {
    if (params::WriteXLifeFormat.GetInt() == 1) {
        WriteXLifeGame(game, out);
    } else {
        WriteGame(game, out);
    }
}

void SaveGameToFile(CGame& game, const std::filesystem::path& fileName) {
    WriteFileSafely(fileName, [&](std::ostream& out) { SaveGame(game, out); });
    game.SetFileName(fileName.string());
}

namespace {

// Reads the pattern (title names a game the file leaves unnamed); failures of the input become the
// result's message.
template <class Read>
COpenResult ReadForOpening(std::string_view title, Read read, CFileDialogs& dialogs) {
    COpenResult result;
    try {
        result.game = read();
    } catch (const CSyntaxException& error) {
        return Failure(msg::SyntaxErrorAtLine,
                       FormatMessage(msg::SyntaxErrorAtLine, std::to_string(error.LineNumber())));
    } catch (const CInputLimitException& error) {
        return Failure(error.MessageId(), error.what());
    } catch (const CFileException& error) {
        return Failure(error.MessageId(), error.what());
    } catch (const CErrorException& error) {
        // A stream that fails while lines are read or a Halcyon file refused; anything else (memory) is
        // the command's to report.
        const int id = error.MessageId();
        if (id != msg::ErrorReadingFile && id != msg::HalcyonTooBig && id != msg::HalcyonBadFormat) throw;
        return Failure(id, std::string(MessageText(id)));
    }
    if (!result.game) return result;
    if (!result.game->IsNamed()) NameGame(*result.game, CName(std::string(title)), dialogs);
    result.showDescription = params::ShowDescriptions.GetInt() == 1 && !result.game->Description().empty();
    return result;
}

}  // namespace

COpenResult OpenGameFile(const std::filesystem::path& fileName, CGameRegistry& games, CFileDialogs& dialogs) {
    const std::string title = fileName.stem().string();
    COpenResult result = ReadForOpening(
        title,
        [&]() -> CGame* {
            if (IsHalcyonFileName(fileName)) {
                CheckInputFile(fileName);  // says why when it cannot be read
                std::ostringstream text;
                if (const int status = ImportHalcyon(fileName, text); status != 0)
                    throw CErrorException(status);
                CLex lex(text.str());
                // A bitmap without a live cell is still a pattern: an empty one.
                return ReadXLifeGame(lex, title, fileName.string(), games, dialogs, true);
            }
            std::ifstream file;
            OpenInputFile(file, fileName);
            CLex lex(file, fileName.string());
            return ReadGameFile(lex, title, fileName.string(), games, dialogs);
        },
        dialogs);
    if (result.game) result.game->SetFileName(fileName.string());
    return result;
}

COpenResult OpenGameStream(std::istream& in, std::string_view title, CGameRegistry& games,
                           CFileDialogs& dialogs) {
    return ReadForOpening(
        title,
        [&]() -> CGame* {
            CLex lex(in, std::string(title));
            return ReadGameFile(lex, title, std::string(title), games, dialogs);
        },
        dialogs);
}

}  // namespace tessera
