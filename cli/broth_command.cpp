// tessera-cli broth: a new game whose start is a rectangle of random cells, made by the program's
// generator as the desktop's Broth command makes it, written like the result of `run`.
#include "cli/broth_command.h"

#include <iostream>
#include <optional>

#include "cli/commands.h"
#include "cli/input_files.h"
#include "cli/output_file.h"
#include "cli/pattern_output.h"
#include "cli/run_options.h"
#include "config/decimal_text.h"
#include "engine/universe.h"
#include "foundation/errors.h"
#include "foundation/messages.h"
#include "games/broth.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "rules/rule_notation.h"
#include "rules/rule_persistence.h"

namespace tessera::cli {
namespace {

constexpr const char* kPrefix = "tessera-cli broth: ";
constexpr int32_t kMaxBrothSide = 30000;  // the largest size the broth dialog takes

const char* BrothUsageText() {
    return "usage: tessera-cli broth --size WxH --density PERCENT [--seed N] [--output OUT]\n"
           "                             [--format xlife|rle|game]\n"
           "  Makes a new game whose start is a W x H rectangle of random cells centred on the origin,\n"
           "  each alive when the generator's next number from 0 to 100 is below PERCENT, and writes\n"
           "  it, then one summary line.\n"
           "  --size WxH        width and height in cells (1 to 30000 each)\n"
           "  --density P       percentage, 0 to 100\n"
           "  --seed N          the generator's state before filling (0 to 4294967295);\n"
           "                    default: seeded from the clock\n"
           "  --output OUT      file to write the pattern to (default: standard output, followed by\n"
           "                    the summary line); - writes the pattern alone to standard output and\n"
           "                    the summary line to standard error\n"
           "  --format F        xlife, rle or game; default: as the program saves\n";
}

struct CBrothOptions {
    int32_t width = 0, height = 0;
    uint32_t density = 0;
    std::optional<uint32_t> seed;
    std::optional<std::string> output;
    bool summaryToStderr = false;  // "--output -": standard output carries the pattern alone
    EOutputFormat format = EOutputFormat::Default;
};

int UsageError(const std::string& message) {
    std::cerr << kPrefix << message << "\n" << BrothUsageText();
    return kExitUsage;
}

std::optional<int32_t> ReadSide(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    const std::optional<int32_t> side = ParseSignedDecimal(text);
    if (!side || *side < 1 || *side > kMaxBrothSide) return std::nullopt;
    return side;
}

// Reads the options; answers a usage message when they are wrong.
std::optional<std::string> ParseBrothOptions(const std::vector<std::string>& args, CBrothOptions& options,
                                             bool& help) {
    bool haveSize = false, haveDensity = false, haveFormat = false;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i], value;
        if (name == "--help" || name == "-h") {
            help = true;
            return std::nullopt;
        }
        const size_t equals = name.find('=');
        if (equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name != "--size" && name != "--density" && name != "--seed" && name != "--output" &&
            name != "--format")
            return "unknown option or argument '" + args[i] + "'";
        if (equals == std::string::npos) {
            if (i + 1 >= args.size()) return "option " + name + " needs a value";
            value = args[++i];
        }
        if (name == "--size") {
            const size_t x = value.find_first_of("xX");
            const std::optional<int32_t> w =
                x == std::string::npos ? std::nullopt : ReadSide(value.substr(0, x));
            const std::optional<int32_t> h = w ? ReadSide(value.substr(x + 1)) : std::nullopt;
            if (!w || !h) return "--size needs WIDTHxHEIGHT, each from 1 to 30000, not '" + value + "'";
            options.width = *w;
            options.height = *h;
            haveSize = true;
        } else if (name == "--density") {
            const std::optional<int32_t> density = ParseSignedDecimal(value);
            if (!density || *density < 0 || *density > 100)
                return std::string(MessageText(msg::BrothDensityRange)) + " ('" + value + "')";
            options.density = uint32_t(*density);
            haveDensity = true;
        } else if (name == "--seed") {
            const bool digits = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
            const std::optional<uint32_t> seed = digits ? ParseUnsignedDecimal(value) : std::nullopt;
            if (!seed) return "--seed needs a whole number from 0 to 4294967295, not '" + value + "'";
            options.seed = seed;
        } else if (name == "--output") {
            if (value.empty()) return "--output needs a file name";
            options.summaryToStderr = value == kStandardStreamName;
            options.output = options.summaryToStderr ? std::nullopt : std::optional(value);
        } else {
            if (haveFormat) return "option --format given more than once";
            if (value == "xlife") {
                options.format = EOutputFormat::XLife;
            } else if (value == "rle") {
                options.format = EOutputFormat::Rle;
            } else if (value == "game") {
                options.format = EOutputFormat::Game;
            } else {
                return "--format must be xlife, rle or game, not '" + value + "'";
            }
            haveFormat = true;
        }
    }
    if (!haveSize) return "no --size given";
    if (!haveDensity) return "no --density given";
    return std::nullopt;
}

std::string SummaryLine(CUniverse& start, uint32_t seed) {
    std::string line = "population=" + std::to_string(start.Population()) + " bounds=";
    if (start.Population() == 0) {
        line += "none";
    } else {
        const CLRect box = start.GetBounds();
        line += std::to_string(box.left) + "," + std::to_string(box.top) + "," + std::to_string(box.right) +
                "," + std::to_string(box.bottom);
    }
    return line + " rule=" + FormatRule(start.GetRuleCode()) + " seed=" + std::to_string(seed);
}

int MakeBroth(const CBrothOptions& options) {
    LoadRules();
    CRandomGenerator& generator = TheRandomGenerator();
    if (options.seed) generator.SetState(*options.seed);
    const uint32_t seed = generator.State();

    CGameRegistry games;
    CGame& game = games.NewGame();
    FillBroth(game.Current(), options.density, BrothRectangle(options.width, options.height), generator,
              nullptr);

    if (options.output) {
        if (!WriteOutputFile(*options.output, kPrefix,
                             [&](std::ostream& out) { WritePattern(game, options.format, out); }))
            return kExitFailed;
    } else {
        WritePattern(game, options.format, std::cout);
    }
    (options.summaryToStderr ? std::cerr : std::cout) << SummaryLine(game.Current(), seed) << std::endl;
    return kExitOk;
}

}  // namespace

int RunBrothCommand(const std::vector<std::string>& args) {
    CBrothOptions options;
    bool help = false;
    if (std::optional<std::string> problem = ParseBrothOptions(args, options, help))
        return UsageError(*problem);
    if (help) {
        std::cout << BrothUsageText();
        return kExitOk;
    }
    return RunReportingFailures([&] { return MakeBroth(options); });
}

}  // namespace tessera::cli
