// Replacing a file so that no failure damages it (the configuration file's tests cover replacement,
// permissions and links): a failure leaves the old file and no temporary one, and says why.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "foundation/messages.h"
#include "foundation/safe_file.h"
#include "support/temp_folder.h"

namespace tessera::test {
namespace {

namespace fs = std::filesystem;

// The message of the CFileException that writing content into target throws.
std::string FailureOf(const fs::path& target, const std::string& content) {
    try {
        WriteFileSafely(target, [&](std::ostream& out) { out << content; });
    } catch (const CFileException& error) {
        return error.what();
    }
    return "(no failure)";
}

TEST(SafeFile, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    const CTempFolder temp;
    const fs::path folder = temp.Path(), target = folder / "kept.lif";
    auto unchanged = [&] {
        return ReadFile(target) == "the old file\n" && fs::directory_iterator(folder)->path() == target &&
               std::distance(fs::directory_iterator(folder), fs::directory_iterator()) == 1;
    };
    std::ofstream(target) << "the old file\n";

    // A writer that gives up half-way.
    auto giveUp = [](std::ostream& out) {
        out << "half";
        throw std::runtime_error("writer failed");
    };
    EXPECT_THROW(WriteFileSafely(target, giveUp), std::runtime_error);
    EXPECT_TRUE(unchanged());

    // A disk that fills up (a file size limit), half-way through a content larger than any buffer.
    struct sigaction ignore = {};
    struct sigaction previousAction = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &previousAction);
    struct rlimit previousLimit {};
    ::getrlimit(RLIMIT_FSIZE, &previousLimit);
    struct rlimit small = previousLimit;
    small.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string message = FailureOf(target, std::string(1000000, '*'));
    ::setrlimit(RLIMIT_FSIZE, &previousLimit);
    ::sigaction(SIGXFSZ, &previousAction, nullptr);
    EXPECT_EQ(FormatMessage(msg::FileNotWritten, target.string(), std::strerror(EFBIG)), message);
    EXPECT_TRUE(unchanged());

    const fs::path nowhere = folder / "missing" / "x.lif";
    EXPECT_EQ(FormatMessage(msg::FileNotWritten, nowhere.string(), std::strerror(ENOENT)),
              FailureOf(nowhere, "x"));
}

}  // namespace
}  // namespace tessera::test
