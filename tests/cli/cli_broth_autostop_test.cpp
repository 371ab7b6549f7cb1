// tessera-cli broth against a tiny model of the generator, and `run --autostop`.
#include <gtest/gtest.h>

#include <string>

#include "cli/cli_process.h"
#include "cli_test_folder.h"
#include "support/pattern_texts.h"

namespace tessera::test {

namespace {

// The broth of a width x height rectangle centred on the origin: one draw from 0 to 100 per cell, row
// by row, from the linear congruence x := 69069 x + 1.
Cells ModelBroth(uint32_t state, int32_t width, int32_t height, uint32_t density) {
    Cells cells;
    const int32_t left = -(width / 2), top = -(height / 2);
    for (int32_t y = top; y < top + height; ++y) {
        for (int32_t x = left; x < left + width; ++x) {
            state = state * 69069u + 1u;
            if ((state >> 8) % 101 < density) cells.insert({x, y});
        }
    }
    return cells;
}

class CliBrothTest : public CliFolderTest {};

TEST_F(CliBrothTest, SeededBrothsFollowTheGenerator) {
    struct Case {
        const char* size;
        int32_t width, height;
        uint32_t density, seed;
    };
    for (const Case& c : {Case{"5x4", 5, 4, 60, 1}, Case{"1x1", 1, 1, 100, 2}, Case{"40x31", 40, 31, 30, 77},
                          Case{"20x20", 20, 20, 0, 5}, Case{"9x9", 9, 9, 100, 4000000000u}}) {
        SCOPED_TRACE(c.size);
        const std::string output = PathOf("broth.lif");
        CliResult r = RunCli({"broth", "--size", c.size, "--density", std::to_string(c.density), "--seed",
                              std::to_string(c.seed), "--output", output, "--format", "xlife"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const Cells expected = ModelBroth(c.seed, c.width, c.height, c.density);
        EXPECT_EQ(SummaryOf(r.out)["population"], std::to_string(expected.size()));
        EXPECT_EQ(ReadToolPattern(ReadFile(output)), expected);
    }
    // Without a seed the clock seeds the generator; the summary tells which state it started from.
    CliResult unseeded = RunCli({"broth", "--size=30x30", "--density=50", "--format=game"});
    ASSERT_EQ(unseeded.exitCode, 0) << unseeded.err;
    const uint32_t seed = uint32_t(std::stoul(SummaryOf(unseeded.out)["seed"]));
    EXPECT_EQ(ReadToolPattern(PatternPartOf(unseeded.out)), ModelBroth(seed, 30, 30, 50));
}

TEST_F(CliBrothTest, AutostopReportsWhyBeforeTheSummary) {
    // Automatic stop is on in the configuration, but only --autostop turns it on for a run.
    Write("TESSERA.INI", "[Parameters]\nAutoStopGrow=1\n");
    const std::string blinker = Write("blinker.lif", "#P 0 0\n***\n");
    EXPECT_EQ(SummaryOf(RunCli({"run", blinker, "--generations", "9"}).out)["generation"], "9");

    CliResult stopped = RunCli({"run", blinker, "--generations", "1000", "--autostop"});
    ASSERT_EQ(stopped.exitCode, 0) << stopped.err;
    EXPECT_NE(stopped.out.find("\nGeneration 2 is the same as generation 0.\ngeneration=4 "),
              std::string::npos)
        << stopped.out;
    // The pattern written is where the game was left.
    EXPECT_EQ(ReadToolPattern(PatternPartOf(stopped.out)),
              ReferenceRun({{0, 0}, {1, 0}, {2, 0}}, kConwayRuleCode, 4));

    // A glider flying away from a blinker: the shipped library names the glider, so the game is over.
    const std::string flight = Write("flight.rle", "x = 12, y = 8, rule = B3/S23\n3o6bo$10bo$8b3o!\n");
    stopped = RunCli({"run", flight, "--generations", "2000", "--autostop"});
    ASSERT_EQ(stopped.exitCode, 0) << stopped.err;
    EXPECT_NE(stopped.out.find("\nThe game is not interesting after generation "), std::string::npos)
        << stopped.out;
    EXPECT_LT(std::stoi(SummaryOf(stopped.out)["generation"]), 100);
}

}  // namespace

}  // namespace tessera::test
