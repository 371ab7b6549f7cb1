// tessera-cli census counts the generation asked for: growth neither stops early on what looks like the
// end of the story nor fails when everything has died on the way.
#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli_test_folder.h"

namespace tessera::test {
namespace {

using CliCensusGrowthTest = CliFolderTest;

TEST_F(CliCensusGrowthTest, CountsTheGenerationAskedFor) {
    // A glider meets a block 40 rows down and both are gone by generation 160.
    const std::string crash = Write("crash.rle", "x = 44, y = 44\nbo$2bo$3o40$42b2o$42b2o!\n");
    CliResult r = RunCli({"census", crash, "--generations", "160"});
    EXPECT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("objects=0 new=0 unclassifiable=0\n", r.out);
    r = RunCli({"census", crash, "--generations", "4"});
    EXPECT_EQ("block,1,4\nglider,1,5\nobjects=2 new=0 unclassifiable=0\n", r.out);
    // A lone cell dies at once; the census of generation 5 is of nothing.
    r = RunCli({"census", Write("cell.rle", "x = 1, y = 1\no!\n"), "--generations", "5"});
    EXPECT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("objects=0 new=0 unclassifiable=0\n", r.out);
    r = RunCli({"census", crash, "--library", PathOf("missing.lfl")});
    EXPECT_EQ(1, r.exitCode);
    EXPECT_NE(r.err.find("missing.lfl"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace tessera::test
