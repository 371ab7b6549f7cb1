// tessera-cli run: opens a file as the desktop's Open command does, optionally sets the rule, grows the
// game through a background growth task to the generation asked for, writes the result and a summary.
#include "cli/run_command.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "cli/batch_file_dialogs.h"
#include "cli/commands.h"
#include "cli/died_game.h"
#include "cli/game_growth.h"
#include "cli/input_files.h"
#include "cli/interrupt_guard.h"
#include "cli/output_file.h"
#include "cli/pattern_output.h"
#include "cli/rule_option.h"
#include "cli/run_options.h"
#include "cli/stderr_library_front_end.h"
#include "cli/system_memory.h"
#include "cli/terminal_front_end.h"
#include "config/memory_settings.h"
#include "config/parameters.h"
#include "engine/universe.h"
#include "formats/game_file.h"
#include "foundation/errors.h"
#include "foundation/messages.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "patterns/library_loader.h"
#include "patterns/library_ship_recognition.h"
#include "patterns/recognition.h"
#include "rules/rule_notation.h"
#include "rules/rule_persistence.h"
#include "rules/rules.h"
#include "text/syntax_exception.h"

namespace tessera::cli {
namespace {

constexpr const char* kPrefix = "tessera-cli run: ";

int UsageError(const std::string& message) {
    std::cerr << kPrefix << message << "\n" << RunUsageText();
    return kExitUsage;
}

int Failure(const std::string& message) {
    std::cerr << message << "\n";
    return kExitFailed;
}

// key=value pairs: the generation reached, its population and bounds (right and bottom exclusive) and
// its rule in notation.
std::string SummaryLine(CGame& game, bool cancelled) {
    CUniverse& current = game.Current();
    std::ostringstream line;
    line << "generation=" << game.Generation() << " population=" << game.Population() << " bounds=";
    if (current.Population() == 0) {
        line << "none";
    } else {
        const CLRect box = current.GetBounds();
        line << box.left << "," << box.top << "," << box.right << "," << box.bottom;
    }
    line << " rule=" << FormatRule(current.GetRuleCode());
    if (cancelled) line << " cancelled=1";
    return line.str();
}

// Writes the pattern to the output file, or to standard output ahead of the summary line.
bool WriteResult(CGame& game, const CRunOptions& options) {
    if (!options.output) {
        WritePattern(game, options.format, std::cout);
        return static_cast<bool>(std::cout);
    }
    return WriteOutputFile(*options.output, kPrefix,
                           [&](std::ostream& out) { WritePattern(game, options.format, out); });
}

int Run(const CRunOptions& options) {
    ApplyMemoryParameters(AvailablePhysicalMemory());
    LoadRules();
    std::optional<RuleCode> rule;
    if (options.rule) {
        std::string problem;
        rule = ReadRuleArgument(*options.rule, problem);
        if (!rule) return UsageError("--rule " + problem);
    }

    CGameRegistry games;
    CGameMemoryRecovery recovery(games);  // a full heap trims kept generations before anything fails
    // Automatic stop tells ships from other escaping objects through the libraries, as the desktop does.
    std::optional<CStderrLibraryFrontEnd> libraries;
    CLibraryShipRecognition ships;
    if (options.autostop) {
        InstallRecognition();
        libraries.emplace();
        LoadStartupLibraries();
        FinishLibraryLoadingNow();
        games.SetShipRecognition(&ships);
    }
    CBatchFileDialogs dialogs(std::cerr, options.select, games);
    const COpenResult opened = OpenPatternFile(options.file, games, dialogs);
    CGame* game = opened.game;
    if (!game) {
        if (opened.messageId != 0) return Failure(opened.message);
        if (!dialogs.SelectionProblem().empty())
            return Failure(std::string(kPrefix) + dialogs.SelectionProblem());
        return Failure(std::string(kPrefix) + "'" + options.file + "' holds no pattern");
    }
    // A pattern is not grown under a rule other than its file's without being told so.
    if (dialogs.UnusedRule() && !rule)
        return Failure(std::string(kPrefix) + "the rule \"" + *dialogs.UnusedRule() + "\" of '" +
                       options.file + "' cannot be used; give the rule with --rule");

    if (rule) game->SetRule(*rule);
    // Only for this run: the configuration file is never written.
    params::AutoStopGrow.SetInt(options.autostop ? 1 : 0);
    CGrowthOutcome outcome;
    std::string repeatReport;
    if (game->Generation() != options.generations) {
        CInterruptGuard interrupt;
        CTerminalMainWindow window(std::cerr, ::isatty(STDERR_FILENO) == 1);
        outcome = GrowToGeneration(*game, options.generations, window, interrupt);
        repeatReport = window.RepeatReport();
    }
    if (outcome.messageId == msg::NothingToGrow && HasDied(*game)) {
        game = &CarryDiedGameTo(games, *game, options.generations);
        outcome.messageId = 0;
    } else if (outcome.messageId == msg::NothingToGrow) {
        std::cerr << MessageText(msg::NothingToGrow) << "\n";
    }
    if (outcome.messageId != 0) return kExitFailed;  // the refusal or failure has been reported

    if (outcome.cancelled)
        std::cerr << kPrefix << "interrupted at generation " << game->Generation() << " of "
                  << options.generations << "\n";
    if (!WriteResult(*game, options)) return kExitFailed;
    // Standard output that carries the pattern alone stays a pattern file.
    std::ostream& reports = options.reportsToStderr ? std::cerr : std::cout;
    if (!repeatReport.empty()) reports << repeatReport << "\n";
    reports << SummaryLine(*game, outcome.cancelled) << std::endl;
    return outcome.cancelled ? kExitFailed : kExitOk;
}

}  // namespace

int RunRunCommand(const std::vector<std::string>& args) {
    const RunRequest parsed = ParseRunOptions(args);
    if (std::holds_alternative<CRunHelpRequest>(parsed)) {
        std::cout << RunUsageText();
        return kExitOk;
    }
    if (const auto* error = std::get_if<CRunUsageError>(&parsed)) return UsageError(error->message);
    try {
        return Run(std::get<CRunOptions>(parsed));
    } catch (const CErrorException& e) {
        // The program's own message (a file that cannot be read, a pattern beyond the limits, ...).
        return Failure(e.what());
    } catch (const std::bad_alloc&) {
        return Failure(std::string(MessageText(msg::OutOfMemory)));
    }
}

}  // namespace tessera::cli
