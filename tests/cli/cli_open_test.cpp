// Files the batch commands cannot open are named with the system's reason; "-" as a pattern FILE reads
// standard input and as --output writes the pattern alone to standard output.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_process.h"
#include "cli_test_folder.h"

namespace tessera::test {
namespace {

namespace fs = std::filesystem;
using CliOpenTest = CliFolderTest;

// Each command that reads a file, with that file in its place: what went unreported, or nothing.
std::string Unreported(const std::string& file, const std::string& pattern, const std::string& reason) {
    std::string problems;
    for (const std::vector<std::string>& args : {std::vector<std::string>{"run", file},
                                                 {"classify", file},
                                                 {"census", file},
                                                 {"library", file},
                                                 {"census", pattern, "--library", file}})
        if (const CliResult r = RunCli(args);
            r.exitCode != 1 ||
            r.err.find("The file " + file + " could not be opened: " + reason) == r.err.npos)
            problems +=
                args[0] + " " + args.back() + ": exit " + std::to_string(r.exitCode) + ", " + r.err + "\n";
    return problems;
}

TEST_F(CliOpenTest, FilesThatCannotBeOpenedAreNamedWithTheReason) {
    const std::string pattern = Write("blinker.lif", "***\n");
    fs::create_directory(PathOf("folder.lfl"));
    fs::create_symlink(PathOf("gone.lfl"), PathOf("dangling.lfl"));
    fs::create_symlink(PathOf("loop.lfl"), PathOf("loop.lfl"));
    for (const auto& [name, reason] : {std::pair{"folder.lfl", "Is a directory"},
                                       {"missing.lfl", "No such file or directory"},
                                       {"missing.hcf", "No such file or directory"},
                                       {"dangling.lfl", "No such file or directory"},
                                       {"loop.lfl", "Too many levels of symbolic links"}})
        EXPECT_EQ("", Unreported(PathOf(name), pattern, reason));
}

TEST_F(CliOpenTest, StandardInputIsAPatternFile) {
    const std::string text = "x = 12, y = 3\n3o7b2o$9bo2bo$10b2o!\n";
    const std::string file = Write("world.rle", text);
    for (const char* command : {"run", "classify", "census"}) {
        SCOPED_TRACE(command);
        const CliResult named = RunCli({command, file}), piped = RunCli({command, "-"}, text);
        ASSERT_EQ(0, named.exitCode) << named.err;
        EXPECT_EQ(0, piped.exitCode) << piped.err;
        EXPECT_EQ(named.out, piped.out);
    }
}

TEST_F(CliOpenTest, OutputDashWritesThePatternAloneToStandardOutput) {
    const std::string blinker = Write("blinker.lif", "***\n"), out = PathOf("out");
    const std::string library = Write("lib.lfl", "#B glider\n.*.\n..*\n***\n#E\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"run", blinker, "--generations", "3", "--format", "rle", "--output"},
          {"broth", "--size", "9x7", "--density", "40", "--seed", "5", "--output"},
          {"library", library, "--show", "glider", "--output"}}) {
        SCOPED_TRACE(args[0]);
        std::vector<std::string> toFile = args, toStdout = args;
        toFile.push_back(out);
        toStdout.push_back("-");
        const CliResult written = RunCli(toFile), printed = RunCli(toStdout);
        ASSERT_EQ(0, written.exitCode) << written.err;
        EXPECT_EQ(0, printed.exitCode) << printed.err;
        EXPECT_EQ(ReadFile(out), printed.out);
        EXPECT_EQ(written.out, printed.err);  // the summary line, if the command has one
    }
}

}  // namespace
}  // namespace tessera::test
