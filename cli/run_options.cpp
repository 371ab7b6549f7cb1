#include "cli/run_options.h"

#include <limits>

#include "cli/input_files.h"

namespace tessera::cli {
namespace {

// A generation number: decimal digits only, at most the largest generation a game can reach.
std::optional<int32_t> ReadGeneration(const std::string& text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<EOutputFormat> ReadFormat(const std::string& text) {
    if (text == "xlife") return EOutputFormat::XLife;
    if (text == "rle") return EOutputFormat::Rle;
    if (text == "game") return EOutputFormat::Game;
    return std::nullopt;
}

}  // namespace

const char* RunUsageText() {
    return "usage: tessera-cli run FILE [--generations N] [--rule TEXT] [--select NAME]\n"
           "                           [--output OUT] [--format xlife|rle|game] [--autostop]\n"
           "  Reads FILE (game, XLife, RLE, Life or Halcyon; - for standard input), grows it to\n"
           "  generation N (default 0)\n"
           "  and writes the result, then one summary line.\n"
           "  --generations N  generation to grow to (0 to 2147483647)\n"
           "  --rule TEXT      rule name or notation (e.g. 23/3, B36/S23), set before growing\n"
           "  --select NAME    universe to take when the file holds several\n"
           "  --output OUT     file to write the pattern to (default: standard output, followed\n"
           "                   by the summary line); - writes the pattern alone to standard output\n"
           "                   and the reports and summary line to standard error\n"
           "  --format F       xlife (pictures or RLE, as configured), rle, or game;\n"
           "                   default: as the program saves (WriteXLifeFormat)\n"
           "  --autostop       stop early when the game repeats or nothing interesting is left;\n"
           "                   the report is written before the summary line\n";
}

RunRequest ParseRunOptions(const std::vector<std::string>& args) {
    CRunOptions options;
    bool haveFile = false, haveGenerations = false, haveFormat = false;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            if (haveFile)
                return CRunUsageError{"more than one FILE given ('" + options.file + "' and '" + arg + "')"};
            options.file = arg;
            haveFile = true;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") return CRunHelpRequest{};
        if (arg == "--autostop") {
            if (options.autostop) return CRunUsageError{"option --autostop given more than once"};
            options.autostop = true;
            continue;
        }

        std::string name = arg, value;
        bool haveValue = false;
        if (const size_t equals = arg.find('='); equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
            haveValue = true;
        }
        const bool known = name == "--generations" || name == "--rule" || name == "--select" ||
                           name == "--output" || name == "--format";
        if (!known) return CRunUsageError{"unknown option '" + name + "'"};
        if (!haveValue) {
            if (i + 1 >= args.size()) return CRunUsageError{"option " + name + " needs a value"};
            value = args[++i];
        }

        auto once = [&](bool given) -> std::optional<CRunUsageError> {
            if (given) return CRunUsageError{"option " + name + " given more than once"};
            return std::nullopt;
        };
        if (name == "--generations") {
            if (auto error = once(haveGenerations)) return *error;
            const std::optional<int32_t> generations = ReadGeneration(value);
            if (!generations)
                return CRunUsageError{"--generations needs a whole number from 0 to 2147483647, not '" +
                                      value + "'"};
            options.generations = *generations;
            haveGenerations = true;
        } else if (name == "--rule") {
            if (auto error = once(options.rule.has_value())) return *error;
            options.rule = value;
        } else if (name == "--select") {
            if (auto error = once(options.select.has_value())) return *error;
            options.select = value;
        } else if (name == "--output") {
            if (auto error = once(options.output || options.reportsToStderr)) return *error;
            if (value.empty()) return CRunUsageError{"--output needs a file name"};
            if (value == kStandardStreamName)
                options.reportsToStderr = true;
            else
                options.output = value;
        } else {
            if (auto error = once(haveFormat)) return *error;
            const std::optional<EOutputFormat> format = ReadFormat(value);
            if (!format) return CRunUsageError{"--format must be xlife, rle or game, not '" + value + "'"};
            options.format = *format;
            haveFormat = true;
        }
    }
    if (!haveFile) return CRunUsageError{"no FILE given"};
    return options;
}

}  // namespace tessera::cli
