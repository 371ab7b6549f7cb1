// tessera-cli classify FILE: the pattern of the file (as Open would load it) classified as a library
// pattern. tessera-cli library FILE: one line per pattern of the library, or with --show NAME one
// pattern's cells written in the form asked for.
#include "cli/pattern_commands.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>

#include "cli/batch_file_dialogs.h"
#include "cli/commands.h"
#include "cli/input_files.h"
#include "cli/output_file.h"
#include "cli/stderr_library_front_end.h"
#include "config/parameters.h"
#include "formats/game_file.h"
#include "formats/xl_writer.h"
#include "foundation/errors.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "patterns/apgcode.h"
#include "patterns/library_commands.h"
#include "patterns/library_loader.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern.h"
#include "patterns/pattern_library.h"
#include "rules/rule_persistence.h"

namespace tessera::cli {
namespace {

std::string ApgCodeText(CPattern& pattern) {
    const std::string code = PatternApgCode(pattern);
    return code.empty() ? "none" : code;
}

int Usage(const std::string& command, const std::string& message, const char* usage) {
    std::cerr << "tessera-cli " << command << ": " << message << "\n" << usage;
    return kExitUsage;
}

constexpr const char* kClassifyUsage =
    "Usage: tessera-cli classify FILE\n"
    "  FILE may be - for standard input.\n";
constexpr const char* kLibraryUsage =
    "Usage: tessera-cli library FILE [--show NAME [--output OUT] [--format rle|xlife]]\n"
    "  --output OUT  file to write the pattern to (default, or -: standard output)\n";

int Classify(const std::string& file) {
    LoadRules();
    CStderrLibraryFrontEnd frontEnd;
    LoadStartupLibraries();  // for insertions of library patterns
    FinishLibraryLoadingNow();
    CGameRegistry games;
    CBatchFileDialogs dialogs(std::cerr, std::nullopt, games);
    const COpenResult opened = OpenPatternFile(file, games, dialogs);
    if (!opened.game) {
        std::cerr << (opened.messageId != 0 ? opened.message
                                            : "tessera-cli classify: '" + file + "' holds no pattern")
                  << "\n";
        return kExitFailed;
    }
    auto pattern = CreatePattern(opened.game->Current(), ERecognizable::No);
    pattern->Classify(params::PatternMaxCycle.GetInt());
    std::cout << "type=" << PatternTypeWord(pattern->DeclaredType()) << " period=" << pattern->Period()
              << " cyclestart=" << pattern->CycleStart() << " velocity=" << pattern->Velocity().cx << ","
              << pattern->Velocity().cy << " symmetry=" << PatternSymmetryWord(pattern->Symmetry())
              << " fold=" << pattern->FoldPeriod() << " foldtransform=" << pattern->FoldTransform()
              << " population=" << pattern->Base().Population() << " apgcode=" << ApgCodeText(*pattern)
              << std::endl;
    return kExitOk;
}

struct CLibraryOptions {
    std::string file;
    std::optional<std::string> show, output;
    std::string format = "rle";
};

int Library(const CLibraryOptions& options) {
    LoadRules();
    CStderrLibraryFrontEnd frontEnd;
    if (const std::optional<std::string> problem = LibraryFileProblem(options.file)) {
        std::cerr << *problem << "\n";
        return kExitFailed;
    }
    CPatternLibrary* library = nullptr;
    if (LoadLibrary(options.file, true, false, &library) != 0 || !library) return kExitFailed;
    FinishLibraryLoadingNow();
    if (!options.show) {
        for (CNamedPattern* entry : library->Entries()) {
            CPattern& pattern = entry->Pattern();
            std::cout << "name=" << entry->Name() << " type=" << PatternTypeWord(pattern.GetType())
                      << " period=" << pattern.Period() << " population=" << pattern.Base().Population()
                      << " recognizable=" << (pattern.IsRecognizable() ? 1 : 0)
                      << " apgcode=" << ApgCodeText(pattern) << "\n";
        }
        std::cout.flush();
        return frontEnd.messages == 0 ? kExitOk : kExitFailed;
    }
    CNamedPattern* entry = FindNamedPattern(*options.show, library);
    if (!entry) {
        std::cerr << "tessera-cli library: no pattern '" << *options.show << "' in '" << options.file
                  << "'\n";
        return kExitFailed;
    }
    auto write = [&](std::ostream& out) {
        if (options.format == "rle")
            WriteXLifeRle(entry->Pattern().Base(), out);
        else
            WriteXLifeUniverse(entry->Pattern().Base(), out);
    };
    if (options.output)
        return WriteOutputFile(*options.output, "tessera-cli library: ", write) ? kExitOk : kExitFailed;
    write(std::cout);
    std::cout.flush();
    return std::cout ? kExitOk : kExitFailed;
}

}  // namespace

int RunClassifyCommand(const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kClassifyUsage;
        return kExitOk;
    }
    if (args.size() != 1) return Usage("classify", "one FILE expected", kClassifyUsage);
    try {
        return Classify(args[0]);
    } catch (const CErrorException& e) {
        std::cerr << e.what() << "\n";
        return kExitFailed;
    }
}

int RunLibraryCommand(const std::vector<std::string>& args) {
    CLibraryOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kLibraryUsage;
            return kExitOk;
        }
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        if (arg == "--show" || arg == "--output" || arg == "--format") {
            std::optional<std::string> v = value();
            if (!v) return Usage("library", arg + " needs a value", kLibraryUsage);
            if (arg == "--show")
                options.show = *v;
            else if (arg == "--output")
                options.output = *v;
            else
                options.format = *v;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage("library", "unknown option '" + arg + "'", kLibraryUsage);
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            return Usage("library", "one FILE expected", kLibraryUsage);
        }
    }
    if (options.file.empty()) return Usage("library", "FILE expected", kLibraryUsage);
    if (options.format != "rle" && options.format != "xlife")
        return Usage("library", "--format takes rle or xlife", kLibraryUsage);
    if (options.output && !options.show) return Usage("library", "--output goes with --show", kLibraryUsage);
    if (options.output == kStandardStreamName) options.output.reset();
    try {
        return Library(options);
    } catch (const CErrorException& e) {
        std::cerr << e.what() << "\n";
        return kExitFailed;
    }
}

}  // namespace tessera::cli
