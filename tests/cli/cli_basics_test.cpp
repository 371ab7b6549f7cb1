// tessera-cli's own texts: version, help, the rule command, and the exit codes of usage errors (2) and of
// files that cannot be used (1) for every command, with nothing printed on standard output.
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
    EXPECT_NE(h.out.find("run FILE"), std::string::npos);
    EXPECT_EQ(RunCli({}).out, h.out);
    EXPECT_NE(RunCli({"run", "--help"}).out.find("--generations N"), std::string::npos);
}

TEST_F(CliFolderTest, BadArgumentsAndUnusableFiles) {
    const std::string file = Write("glider.rle", "x = 3, y = 3\nbo$2bo$3o!\n");
    const std::string empty = Write("empty.rle", "#C nothing here\n");
    const std::string run = "usage: tessera-cli run FILE";
    const struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    } cases[] = {
        {{"frobnicate", "x"}, 2, "unknown command 'frobnicate'"},
        {{"rule"}, 2, "usage: tessera-cli rule TEXT"},
        {{"classify"}, 2, "Usage: tessera-cli classify FILE"},
        {{"census"}, 2, "no FILE given"},
        {{"census", file, "--generations", "ten"}, 2, "'ten' is not a generation number"},
        {{"run"}, 2, run},
        {{"run", file, "--generations"}, 2, run},
        {{"run", file, "--generations", "-1"}, 2, run},
        {{"run", file, "--generations", "12x"}, 2, run},
        {{"run", file, "--generations", "2147483648"}, 2, run},
        {{"run", file, "--format", "png"}, 2, run},
        {{"run", file, "--colour", "red"}, 2, run},
        {{"run", file, file}, 2, run},
        {{"run", file, "--select", "a", "--select", "b"}, 2, run},
        {{"run", file, "--rule", "b3/s23x"}, 2, run},
        {{"run", file, "--rule", ""}, 2, run},
        {{"run", file, "--output="}, 2, run},
        {{"classify", PathOf("missing.lif")}, 1, "could not be opened"},
        {{"library", file, "--show", "nothing"}, 1, "no pattern 'nothing' in"},
        {{"census", empty}, 1, "holds no pattern"},
        {{"run", empty}, 1, "holds no pattern"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + (c.args.size() > 2 ? c.args[2] : ""));
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
}

// Rules by name (the configuration's first), by notation and in other programs' forms.
TEST_F(CliFolderTest, RulePrintsCodeNotationAndName) {
    Write("TESSERA.INI", "[Rules]\nSeeds=/2\nLife=23/3\n");
    CliResult r = RunCli({"rule", "23/3", "seeds", "1/1", "23/3/2457", "Life", "b3/s23", "//"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "code=0x07BC100C rule=23/3 name=Life\n"
              "code=0x07BC0800 rule=/2 name=Seeds\n"
              "code=0x07BC0402 rule=1/1 name=1/1\n"
              "code=0x02A8100C rule=23/3/2457 name=23/3/2457\n"
              "code=0x07BC100C rule=23/3 name=Life\n"
              "code=0x07BC100C rule=23/3 name=Life\n"
              "code=0x00000000 rule=// name=//\n");
    EXPECT_EQ(r.err, "");
}

}  // namespace tessera::test
