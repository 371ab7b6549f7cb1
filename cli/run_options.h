#pragma once
// The options of `tessera-cli run`, and reading them from the command line.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tessera::cli {

enum class EOutputFormat {
    Default,  // as the program saves: XLife when "WriteXLifeFormat" is 1, else the game format
    XLife,    // the program's XLife writer: pictures or RLE as the parameters choose
    Rle,      // always the RLE form
    Game,     // the game format
};

struct CRunOptions {
    std::string file;
    int32_t generations = 0;
    std::optional<std::string> rule;    // rule name or notation
    std::optional<std::string> select;  // universe to take when the file offers several
    std::optional<std::string> output;  // file to write; standard output when absent
    EOutputFormat format = EOutputFormat::Default;
    bool autostop = false;         // grow with automatic stop
    bool reportsToStderr = false;  // "--output -": standard output carries the pattern alone
};

// What the command line asked for: options to run, the help text, or a usage error (its message).
struct CRunHelpRequest {};
struct CRunUsageError {
    std::string message;
};
using RunRequest = std::variant<CRunOptions, CRunHelpRequest, CRunUsageError>;

// Reads `FILE [options]`; each option takes its value as the next argument or after "=".
RunRequest ParseRunOptions(const std::vector<std::string>& args);

// The synopsis and the option list, for --help and usage errors.
const char* RunUsageText();

}  // namespace tessera::cli
