// tessera-cli census: grows a file's pattern as the run command does and counts what the generation
// reached is made of, naming objects from the system and user libraries (and any given), as the
// desktop's census does. New shapes go to the user library, which is written back only with --save.
#include "cli/census_command.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <optional>

#include "cli/batch_file_dialogs.h"
#include "cli/commands.h"
#include "cli/died_game.h"
#include "cli/game_growth.h"
#include "cli/input_files.h"
#include "cli/interrupt_guard.h"
#include "cli/stderr_library_front_end.h"
#include "cli/system_memory.h"
#include "cli/terminal_front_end.h"
#include "config/memory_settings.h"
#include "config/parameters.h"
#include "formats/game_file.h"
#include "foundation/errors.h"
#include "foundation/messages.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "patterns/apgcode.h"
#include "patterns/census.h"
#include "patterns/library_commands.h"
#include "patterns/library_loader.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"
#include "patterns/recognition.h"
#include "rules/rule_persistence.h"

namespace tessera::cli {
namespace {

constexpr const char* kPrefix = "tessera-cli census: ";
constexpr const char* kUsage =
    "Usage: tessera-cli census FILE [--generations N] [--library LIB]... [--save] [--apgcode]\n"
    "  FILE may be - for standard input.\n"
    "  Grows FILE to generation N (default 0) and counts its objects by the patterns of the system and\n"
    "  user libraries and of each LIB; prints Name,Quantity,Size rows and a summary line. New shapes are\n"
    "  added to the user library, which --save writes back. --apgcode prints apgcode,quantity rows.\n";

struct CCensusOptions {
    std::string file;
    int32_t generations = 0;
    std::vector<std::string> libraries;
    bool save = false;
    bool apgcode = false;
};

int UsageError(const std::string& message) {
    std::cerr << kPrefix << message << "\n" << kUsage;
    return kExitUsage;
}

std::optional<int32_t> ReadGenerations(const std::string& text) {
    if (text.empty() || text.size() > 10 || !std::all_of(text.begin(), text.end(), ::isdigit))
        return std::nullopt;
    const long long value = std::stoll(text);
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<int32_t>(value);
}

// No user library to take new patterns: none are made.
class CBatchCensusFrontEnd : public CCensusFrontEnd {
public:
    bool ChooseCensusLibrary() override { return false; }
    void ShowProgress(const std::string&) override {}
};

// One row per distinct apgcode (a pattern without one is shown by its full name), largest count first.
void PrintApgcodeRows(const std::vector<CCensusRow>& rows) {
    std::map<std::string, uint32_t> counts;
    for (const CCensusRow& row : rows) {
        const std::string code = PatternApgCode(row.pattern->Pattern());
        counts[code.empty() ? row.pattern->FullName() : code] += row.quantity;
    }
    std::vector<std::pair<std::string, uint32_t>> sorted(counts.begin(), counts.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    for (const auto& [code, quantity] : sorted) std::cout << code << "," << quantity << "\n";
}

int Census(const CCensusOptions& options) {
    ApplyMemoryParameters(AvailablePhysicalMemory());
    LoadRules();
    InstallRecognition();
    CStderrLibraryFrontEnd libraryFrontEnd;
    LoadStartupLibraries();
    for (const std::string& library : options.libraries) {
        if (const std::optional<std::string> problem = LibraryFileProblem(library)) {
            std::cerr << *problem << "\n";
            return kExitFailed;
        }
        CPatternLibrary* loaded = nullptr;
        if (LoadLibrary(library, true, false, &loaded) != 0 || !loaded) {
            std::cerr << kPrefix << "cannot load library '" << library << "'\n";
            return kExitFailed;
        }
    }
    FinishLibraryLoadingNow();

    CGameRegistry games;
    CGameMemoryRecovery recovery(games);
    CBatchFileDialogs dialogs(std::cerr, std::nullopt, games);
    const COpenResult opened = OpenPatternFile(options.file, games, dialogs);
    if (!opened.game) {
        std::cerr << (opened.messageId != 0 ? opened.message
                                            : kPrefix + ("'" + options.file + "' holds no pattern"))
                  << "\n";
        return kExitFailed;
    }
    CGame* game = opened.game;
    // The census is of the generation asked for: growth never stops early on a repeat.
    params::AutoStopGrow.SetInt(0);
    if (game->Generation() != options.generations) {
        CInterruptGuard interrupt;
        CTerminalMainWindow window(std::cerr, ::isatty(STDERR_FILENO) == 1);
        const CGrowthOutcome outcome = GrowToGeneration(*game, options.generations, window, interrupt);
        if (outcome.messageId == msg::NothingToGrow && HasDied(*game)) {
            game = &CarryDiedGameTo(games, *game, options.generations);
        } else if (outcome.messageId != 0) {
            if (outcome.messageId == msg::NothingToGrow) std::cerr << MessageText(msg::NothingToGrow) << "\n";
            return kExitFailed;
        } else if (outcome.cancelled) {
            std::cerr << kPrefix << "interrupted at generation " << game->Generation() << "\n";
            return kExitFailed;
        }
    }

    CBatchCensusFrontEnd censusFrontEnd;
    const CCensusResult* result = TheCensus().Open(*game, censusFrontEnd);
    if (!result) {
        std::cerr << kPrefix << "no user library to take new patterns\n";
        return kExitFailed;
    }
    const std::vector<CCensusRow> rows = TheCensus().Rows(ECensusMode::Census);
    if (options.apgcode)
        PrintApgcodeRows(rows);
    else
        std::cout << TheCensus().ExportText(ECensusMode::Census);
    std::cout << "objects=" << result->objectCount << " new=" << result->newCount
              << " unclassifiable=" << result->unclassifiable->Population() << std::endl;
    if (options.save && result->newCount > 0) {
        CPatternLibrary* user = FindLibrary(kUserLibraryNumber);
        if (!user || !SaveLibrary(*user)) {
            std::cerr << kPrefix << "the user library could not be saved\n";
            return kExitFailed;
        }
    }
    return kExitOk;
}

}  // namespace

int RunCensusCommand(const std::vector<std::string>& args) {
    CCensusOptions options;
    bool haveFile = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return kExitOk;
        }
        if (arg == "--save") {
            options.save = true;
        } else if (arg == "--apgcode") {
            options.apgcode = true;
        } else if (arg == "--generations" || arg == "--library") {
            if (i + 1 >= args.size()) return UsageError(arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--library") {
                options.libraries.push_back(value);
            } else if (const auto n = ReadGenerations(value)) {
                options.generations = *n;
            } else {
                return UsageError("'" + value + "' is not a generation number");
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option '" + arg + "'");
        } else if (haveFile) {
            return UsageError("more than one FILE given");
        } else {
            options.file = arg;
            haveFile = true;
        }
    }
    if (!haveFile) return UsageError("no FILE given");
    return RunReportingFailures([&] { return Census(options); });
}

}  // namespace tessera::cli
