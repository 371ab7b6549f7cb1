#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli_test_folder.h"

namespace tessera::test {

namespace {

// Runs the tool with TESSERA_INI pointing at a temporary file holding the test's rules.
class CliRuleTest : public CliFolderTest {
protected:
    void WriteIni(const std::string& text) { Write("TESSERA.INI", text); }
};

}  // namespace

TEST_F(CliRuleTest, PrintsCodeNotationAndName) {
    WriteIni("[Rules]\nSeeds=/2\nLife=23/3\n");
    CliResult r =
        RunCli({"rule", "23/3", "high life", "B3678/S34678", "seeds", "1/1", "23/3/2457", "Life", "life"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "code=0x07BC100C rule=23/3 name=Life\n"
              "code=0x07BC900C rule=23/36 name=High Life\n"
              "code=0x07BF91D8 rule=34678/3678 name=Day & Night\n"
              "code=0x07BC0800 rule=/2 name=Seeds\n"
              "code=0x07BC0402 rule=1/1 name=1/1\n"
              "code=0x02A8100C rule=23/3/2457 name=23/3/2457\n"
              "code=0x07BC100C rule=23/3 name=Life\n"
              "code=0x07BC100C rule=23/3 name=Life\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CliRuleTest, OtherProgramsFormsAreRules) {
    CliResult r = RunCli({"rule", "b3/s23", "//"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "code=0x07BC100C rule=23/3 name=Conway\ncode=0x00000000 rule=// name=//\n");
}

TEST_F(CliRuleTest, NoTextIsAUsageError) {
    CliResult r = RunCli({"rule"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("usage"), std::string::npos);
}

}  // namespace tessera::test
