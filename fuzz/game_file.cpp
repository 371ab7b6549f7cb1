// Fuzz target: the game-format reader, through ReadGameFile as the Open command uses it (input that does
// not start with "GAME" goes to the XLife-family reader). Any input gives a game, no game, or the
// program's own error with its line, and leaves no game behind on an error. A game read survives being
// written in the game format and read again: every generation written comes back with the same number,
// rule and cells, and the current generation stays current.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/universe.h"
#include "formats/file_dialogs.h"
#include "formats/game_file.h"
#include "formats/game_format.h"
#include "foundation/errors.h"
#include "fuzz/fuzz_support.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "text/lex.h"

namespace {

using namespace tessera;

// Takes the first universe offered, keeps quiet about problems, and resolves name clashes with suffixes.
class QuietDialogs : public CFileDialogs {
public:
    explicit QuietDialogs(const CGameRegistry& games) : games_(games) {}
    int SelectUniverse(const CUniverseCollection&) override { return 1; }
    void ShowErrorReport(std::string_view, std::string_view) override {}
    bool AskForOtherName(CName& name) override { return games_.MakeUniqueName(name); }

private:
    const CGameRegistry& games_;
};

std::vector<CLPoint> CellsOf(CUniverse& universe) {
    std::vector<CLPoint> cells;
    ExplorePtr e = RequireExploration(universe.ExploreSorted());
    while (e->Next()) cells.push_back(e->Current());
    return cells;
}

CGame* Read(const std::string& text, CGameRegistry& games, CFileDialogs& dialogs) {
    CLex lex(text);
    return ReadGameFile(lex, "fuzz", "fuzz.game", games, dialogs);
}

void CheckRoundTrip(CGame& game, CGameRegistry& games, CFileDialogs& dialogs) {
    std::ostringstream written;
    WriteGame(game, written);
    CGame* copy = Read(written.str(), games, dialogs);
    if (!copy) std::abort();
    if (copy->Generation() != game.Generation()) std::abort();
    for (CUniverse* u = &copy->First(); u; u = u->Next()) {
        CUniverse* original = game.FindStoredGeneration(u->Generation());
        if (!original || original->GetRuleCode() != u->GetRuleCode() || CellsOf(*original) != CellsOf(*u))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tessera::fuzz::UseScratchConfiguration();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CGameRegistry games;
    QuietDialogs dialogs(games);
    CGame* game = nullptr;
    try {
        game = Read(text, games, dialogs);
    } catch (const CSyntaxException&) {
    } catch (const CErrorException&) {
    }
    if (!game) {
        if (games.Count() != 0) std::abort();  // a failed read leaves nothing half-loaded
        return 0;
    }
    // Keep each input quick: writing costs the rows of every written generation.
    uint64_t cells = 0;
    for (CUniverse* u = &game->First(); u; u = u->Next()) cells += u->Population();
    if (cells <= 50000) CheckRoundTrip(*game, games, dialogs);
    return 0;
}
