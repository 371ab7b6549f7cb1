#include "cli/batch_file_dialogs.h"

#include <ostream>

#include "engine/universe.h"
#include "formats/xl_collection.h"
#include "foundation/name.h"
#include "games/game_registry.h"

namespace tessera::cli {
namespace {

std::string NameList(const CUniverseCollection& universes) {
    std::string list;
    for (int index = 1; index <= universes.UniverseCount(); ++index)
        list += (index > 1 ? "\n  " : "  ") + universes.NameAt(index);
    return list;
}

// The 1-based index of the file's top-level pattern (the data outside named blocks), or 0 when it has
// none with cells. Only XLife-family files have one.
int TopLevelIndex(const CUniverseCollection& universes) {
    const auto* xlife = dynamic_cast<const CXLUniverseCollection*>(&universes);
    if (!xlife || !xlife->TopLevel()) return 0;
    const CXLUniverse& top = *xlife->TopLevel();
    if (!top.universe || top.universe->Population() == 0) return 0;
    return universes.IndexOf(top.name);
}

}  // namespace

CBatchFileDialogs::CBatchFileDialogs(std::ostream& messages, std::optional<std::string> select,
                                     const CGameRegistry& games)
    : messages_(messages), select_(std::move(select)), games_(games) {}

int CBatchFileDialogs::SelectUniverse(const CUniverseCollection& universes) {
    if (select_) {
        if (const int index = universes.IndexOf(CName(*select_))) return index;
        selectionProblem_ =
            "the file holds no universe named '" + *select_ + "'; its universes are:\n" + NameList(universes);
        return 0;
    }
    if (const int index = TopLevelIndex(universes)) return index;
    selectionProblem_ =
        "the file holds several universes; choose one with --select NAME:\n" + NameList(universes);
    return 0;
}

void CBatchFileDialogs::ShowErrorReport(std::string_view caption, std::string_view report) {
    messages_ << caption << "\n";
    // The report's lines end with carriage return and line feed, as the dialog shows them.
    for (char c : report)
        if (c != '\r') messages_ << c;
    messages_ << std::flush;
}

}  // namespace tessera::cli

namespace tessera::cli {

bool CBatchFileDialogs::AskForOtherName(CName& name) { return games_.MakeUniqueName(name); }

}  // namespace tessera::cli
