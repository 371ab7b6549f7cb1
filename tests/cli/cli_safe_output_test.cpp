// tessera-cli run, broth and library --output: a write that fails or is stopped by a signal leaves the
// old file as it was, and the input may be the output.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_process.h"
#include "cli_test_folder.h"
#include "support/file_size_limit.h"
#include "support/pattern_texts.h"

namespace tessera::test {

namespace {

class CliSafeOutputTest : public CliFolderTest {
protected:
    // Every file of the test folder apart from the ones named.
    std::vector<std::string> OtherFiles(const std::vector<std::string>& known) {
        std::vector<std::string> others;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            const std::string name = entry.path().filename().string();
            if (std::find(known.begin(), known.end(), name) == known.end()) others.push_back(name);
        }
        return others;
    }
};

TEST_F(CliSafeOutputTest, TheInputMayBeTheOutput) {
    const Cells soup = SeededSoup(5, 0, 0, 40, 40, 45);
    const std::string input = Write("soup.rle", ToRle(soup, "23/3"));
    // Naming the input as the output replaces it by the complete result.
    const CliResult same = RunCli({"run", input, "--format", "rle", "--generations", "1", "--output", input});
    ASSERT_EQ(0, same.exitCode) << same.err;
    EXPECT_EQ(Normalised(ReferenceRun(soup, kConwayRuleCode, 1)),
              Normalised(ReadToolPattern(ReadFile(input))));
}

TEST_F(CliSafeOutputTest, SignalDuringTheWriteLeavesTheOldOrTheCompleteFile) {
    const std::string input = Write("large.rle", ToRle(SeededSoup(9, 0, 0, 600, 600, 40), "23/3"));
    const std::string complete = PathOf("complete.game");
    ASSERT_EQ(0, RunCli({"run", input, "--format", "game", "--output", complete}).exitCode);
    const std::string expected = ReadFile(complete);
    const std::string output = PathOf("out.game");
    int keptOld = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        SCOPED_TRACE(attempt);
        Write("out.game", "the old file\n");
        CliProcess tool({"run", input, "--format", "game", "--output", output});
        // The signal comes as soon as the temporary file beside the output appears.
        for (int wait = 0; wait < 20000 && OtherFiles({"large.rle", "complete.game", "out.game"}).empty();
             ++wait)
            std::this_thread::sleep_for(std::chrono::microseconds(100 * (attempt + 1)));
        tool.Signal(attempt % 2 ? SIGINT : SIGTERM);
        tool.Wait();
        const std::string now = ReadFile(output);
        EXPECT_TRUE(now == "the old file\n" || now == expected) << now.size() << " bytes";
        keptOld += now == "the old file\n";
        EXPECT_EQ(OtherFiles({"large.rle", "complete.game", "out.game"}), std::vector<std::string>{});
    }
    EXPECT_GT(keptOld, 0);
}

TEST_F(CliSafeOutputTest, BrothAndLibraryOutputsThatCannotBeWrittenKeepTheOldFile) {
    std::string stripes;  // a few thousand bytes in any form
    for (int row = 0; row < 60; ++row) {
        for (int column = 0; column < 60; ++column) stripes += (column * 7 + row * 3) % 5 < 2 ? '*' : '.';
        stripes += '\n';
    }
    const std::string library = Write("stripes.lfl", "#B stripes\n" + stripes + "#E\n");
    const std::string output = Write("out.lif", "the old file\n");
    const std::vector<std::string> commands[] = {
        {"broth", "--size", "100x100", "--density", "50", "--output", output},
        {"library", library, "--show", "stripes", "--output", output}};
    for (const std::vector<std::string>& args : commands) {
        SCOPED_TRACE(args[0]);
        CliResult r;
        {
            const CFileSizeLimit full(1000);  // room for the message, not for the pattern
            r = RunCli(args);
        }
        EXPECT_EQ(1, r.exitCode);
        EXPECT_NE(std::string::npos,
                  r.err.find("The file " + output + " could not be written: File too large"))
            << r.err;
        EXPECT_EQ("the old file\n", ReadFile(output));
        EXPECT_EQ(OtherFiles({"stripes.lfl", "out.lif", "TESSERA.INI"}), std::vector<std::string>{});
    }
}

}  // namespace

}  // namespace tessera::test
