#include <gtest/gtest.h>

#include "cli/cli_process.h"

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
}

}  // namespace tessera::test
