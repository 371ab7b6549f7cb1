#pragma once
// Helpers of the file format tests: cells as plain sets, fake dialogs, games read from text, and a
// private configuration file so that parameters start from their defaults.
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/growable_universe.h"
#include "formats/file_dialogs.h"
#include "formats/game_file.h"
#include "formats/game_format.h"
#include "formats/input_limit_exception.h"
#include "formats/xl_import.h"
#include "games/game_registry.h"
#include "support/cells.h"
#include "support/temp_folder.h"
#include "text/lex.h"

namespace tessera::test {

inline std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Answers the "Select Universe" dialog with a fixed choice and counts the times it was shown.
class FakeDialogs : public CFileDialogs {
public:
    int choice = 1;
    int selectCalls = 0;
    std::vector<std::string> otherNames;  // answers to the name clash question, then cancel
    std::vector<std::string> clashes;     // the names the question was asked about

    int SelectUniverse(const CUniverseCollection&) override {
        ++selectCalls;
        return choice;
    }
    void ShowErrorReport(std::string_view, std::string_view) override {}
    bool AskForOtherName(CName& name) override {
        clashes.push_back(name.Text());
        if (clashes.size() > otherNames.size()) return false;
        name = CName(otherNames[clashes.size() - 1]);
        return true;
    }
};

// Reads an XLife-family text completely (insertions resolved, empty universes dropped).
inline std::unique_ptr<CXLUniverseCollection> ReadText(const std::string& text,
                                                       std::string_view title = "test") {
    CLex lex(text);
    return ReadXLife(lex, title, "test.lif");
}

// The messages of a collection's error report, in order.
inline std::vector<std::string> MessagesOf(const CXLUniverseCollection& collection) {
    std::vector<std::string> out;
    for (const CXLErrorReport* r = collection.Errors().First(); r; r = r->Next()) out.push_back(r->message);
    return out;
}

inline Cells CellsNamed(const CXLUniverseCollection& collection, const std::string& name) {
    CXLUniverse* u = collection.Find(CName(name));
    EXPECT_NE(nullptr, u) << name;
    return u ? CellsOf(*u->universe) : Cells{};
}

// The message and line of the input limit a read runs into, or {0, 0} when it runs into none.
inline std::pair<int, int32_t> LimitOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const CInputLimitException& e) {
        return {e.MessageId(), e.LineNumber()};
    }
    return {0, 0};
}

// A Halcyon file: the header, then the body (rows of 16-bit little-endian words, the leftmost cell in
// bit 15) filled up to the size the header gives.
inline std::string HalcyonFile(uint32_t words, uint32_t rows, std::string body = {}, char fill = '\0') {
    body.resize(size_t{words} * rows * 2, fill);
    const uint32_t w = words - 1, h = rows - 1;
    return std::string{'\0',
                       '\0',
                       static_cast<char>(w & 0xFF),
                       static_cast<char>(w >> 8),
                       static_cast<char>(h & 0xFF),
                       static_cast<char>(h >> 8)} +
           body;
}

class FormatTest : public TempConfigTest {};

// Games read from text as the Open command reads them, and written back.
class GameTextTest : public FormatTest {
protected:
    CGame* Read(const std::string& text) {
        CLex lex(text);
        return ReadGameFile(lex, "title", "title.lif", games, dialogs);
    }
    // The line of the syntax error the text gives, or 0 when it reads; a failed read leaves no game.
    int32_t SyntaxErrorLine(const std::string& text) {
        const size_t before = games.Count();
        try {
            if (CGame* game = Read(text)) games.DestroyGame(*game);
        } catch (const CSyntaxException& e) {
            EXPECT_EQ(before, games.Count()) << "a game was left behind";
            return e.LineNumber();
        }
        return 0;
    }
    static std::string Written(CGame& game) {
        std::ostringstream out;
        WriteGame(game, out);
        return out.str();
    }

    CGameRegistry games;
    FakeDialogs dialogs;
};

}  // namespace tessera::test
