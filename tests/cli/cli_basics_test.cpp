#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli_test_folder.h"

namespace tessera::test {

TEST(CliBasics, VersionAndHelp) {
    CliResult v = RunCli({"--version"});
    EXPECT_EQ(v.exitCode, 0);
    EXPECT_EQ(v.out, "2.3.0\n");

    CliResult h = RunCli({"--help"});
    EXPECT_EQ(h.exitCode, 0);
    EXPECT_NE(h.out.find("Usage: tessera-cli COMMAND"), std::string::npos);

    CliResult bare = RunCli({});
    EXPECT_EQ(bare.exitCode, 0);
    EXPECT_EQ(bare.out, h.out);
}

TEST(CliBasics, UnknownCommandIsAUsageError) {
    CliResult r = RunCli({"frobnicate", "x"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("unknown command 'frobnicate'"), std::string::npos);
    EXPECT_NE(r.err.find("Usage:"), std::string::npos);
    CliResult rule = RunCli({"rule"});
    EXPECT_EQ(rule.exitCode, 2);
    EXPECT_EQ(rule.out, "");
    EXPECT_NE(rule.err.find("usage"), std::string::npos);
}

// Rules by name (the configuration's first), by notation and in other programs' forms.
TEST_F(CliFolderTest, RulePrintsCodeNotationAndName) {
    Write("TESSERA.INI", "[Rules]\nSeeds=/2\nLife=23/3\n");
    CliResult r = RunCli(
        {"rule", "23/3", "high life", "B3678/S34678", "seeds", "1/1", "23/3/2457", "Life", "b3/s23", "//"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "code=0x07BC100C rule=23/3 name=Life\n"
              "code=0x07BC900C rule=23/36 name=High Life\n"
              "code=0x07BF91D8 rule=34678/3678 name=Day & Night\n"
              "code=0x07BC0800 rule=/2 name=Seeds\n"
              "code=0x07BC0402 rule=1/1 name=1/1\n"
              "code=0x02A8100C rule=23/3/2457 name=23/3/2457\n"
              "code=0x07BC100C rule=23/3 name=Life\n"
              "code=0x07BC100C rule=23/3 name=Life\n"
              "code=0x00000000 rule=// name=//\n");
    EXPECT_EQ(r.err, "");
}

}  // namespace tessera::test
