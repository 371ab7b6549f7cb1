#include "cli/commands.h"

#include "cli/broth_command.h"
#include "cli/census_command.h"
#include "cli/pattern_commands.h"
#include "cli/rule_command.h"
#include "cli/run_command.h"

#include <iostream>
#include <new>

#include "foundation/errors.h"
#include "foundation/messages.h"

namespace tessera::cli {
namespace {

constexpr const char* kVersion = TESSERA_VERSION;

void PrintHelp(std::ostream& out) {
    out << "Tessera " << kVersion << " - batch tool for Life-family cellular automata\n\n"
        << "Usage: tessera-cli COMMAND [ARGS...]\n"
        << "       tessera-cli --help | --version\n\n"
        << "Commands:\n";
    for (const CCommand& c : Commands()) out << "  " << c.synopsis << "\n";
}

}  // namespace

const std::vector<CCommand>& Commands() {
    static const std::vector<CCommand> commands = {
        {"broth", "broth OPTIONS            make a random broth and write it (broth --help)",
         RunBrothCommand},
        {"census",
         "census FILE [OPTIONS]    count the objects of a grown pattern by library pattern (census --help)",
         RunCensusCommand},
        {"classify", "classify FILE            type, period, movement and symmetry of the file's pattern",
         RunClassifyCommand},
        {"library", "library FILE [OPTIONS]   list a pattern library, or write one pattern (library --help)",
         RunLibraryCommand},
        {"rule", "rule TEXT...             code, notation and name of each rule (name or notation)",
         RunRuleCommand},
        {"run", "run FILE [OPTIONS]       grow the pattern of a file and write the result (run --help)",
         RunRunCommand},
    };
    return commands;
}

int RunCommandLine(const std::vector<std::string>& args) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(std::cout);
        return kExitOk;
    }
    if (args[0] == "--version") {
        std::cout << kVersion << "\n";
        return kExitOk;
    }
    for (const CCommand& c : Commands()) {
        if (args[0] == c.name) return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    std::cerr << "tessera-cli: unknown command '" << args[0] << "'\n";
    PrintHelp(std::cerr);
    return kExitUsage;
}

int RunReportingFailures(const std::function<int()>& work) {
    try {
        return work();
    } catch (const CErrorException& e) {
        std::cerr << e.what() << "\n";
        return kExitFailed;
    } catch (const std::bad_alloc&) {
        std::cerr << MessageText(msg::OutOfMemory) << "\n";
        return kExitFailed;
    }
}

}  // namespace tessera::cli
