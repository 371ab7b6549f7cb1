// tessera-cli with patterns that die before the generation asked for, and files whose rule cannot be
// run.
#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli_test_folder.h"
#include "support/pattern_texts.h"

namespace tessera::test {

namespace {
class CliWildTest : public CliFolderTest {};
}  // namespace

TEST_F(CliWildTest, APatternThatDiesIsTheEmptyPatternAtTheGenerationAskedFor) {
    const Cells start = {{0, 0}, {1, 0}, {3, 0}, {1, 1}, {2, 1}, {1, 2}, {2, 2}};
    ASSERT_FALSE(ReferenceRun(start, kConwayRuleCode, 2).empty());
    ASSERT_TRUE(ReferenceRun(start, kConwayRuleCode, 3).empty());
    const std::string file = Write("dies.rle", ToRle(start, "B3/S23"));
    for (const char* format : {"rle", "game"}) {
        CliResult r = RunCli({"run", file, "--generations", "30", "--format", format});
        EXPECT_EQ(0, r.exitCode) << r.err;
        EXPECT_EQ("", r.err);
        std::map<std::string, std::string> summary = SummaryOf(r.out);
        EXPECT_EQ("30", summary["generation"]);
        EXPECT_EQ("0", summary["population"]);
        EXPECT_EQ("none", summary["bounds"]);
        EXPECT_TRUE(ReadToolPattern(PatternPartOf(r.out), 30).empty());
    }
}

TEST_F(CliWildTest, AFileRuleThatCannotRunFailsUnlessTheRuleIsGiven) {
    const std::string file = Write("history.rle", "x = 3, y = 1, rule = LifeHistory\n3o!\n");
    CliResult refused = RunCli({"run", file, "--generations", "1"});
    EXPECT_EQ(1, refused.exitCode);
    EXPECT_EQ("", refused.out);
    EXPECT_NE(std::string::npos, refused.err.find("\"LifeHistory\"")) << refused.err;
    CliResult given = RunCli({"run", file, "--generations", "1", "--rule", "b3/s23"});
    EXPECT_EQ(0, given.exitCode) << given.err;
    std::map<std::string, std::string> summary = SummaryOf(given.out);
    EXPECT_EQ("3", summary["population"]);
    EXPECT_EQ("1,-1,2,2", summary["bounds"]);  // the row of three turned upright
    EXPECT_EQ("23/3", summary["rule"]);
}

}  // namespace tessera::test
