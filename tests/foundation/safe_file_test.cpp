// Replacing files so that no failure damages them, and opening files with the system's reason when
// they cannot be read.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "foundation/input_file.h"
#include "foundation/messages.h"
#include "foundation/safe_file.h"

namespace tessera::test {
namespace {

namespace fs = std::filesystem;

class SafeFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tessera-safe-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool OnlyFileIs(const std::string& name) {
        for (const auto& entry : fs::directory_iterator(folder_))
            if (entry.path().filename() != name) return false;
        return true;
    }
    // The message of the CFileException that work throws.
    template <class Work>
    std::string FailureOf(Work work) {
        try {
            work();
        } catch (const CFileException& error) {
            return error.what();
        }
        return "(no failure)";
    }

    fs::path folder_;
};

TEST_F(SafeFileTest, ReplacesTheWholeFileAndWritesThroughLinks) {
    const fs::path target = folder_ / "pattern.lif";
    std::ofstream(target) << "old content that is longer than the new one\n";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = folder_ / "link.lif";
    fs::create_symlink(target, link);
    WriteFileSafely(link, [](std::ostream& out) { out << "new\n"; });
    EXPECT_EQ("new\n", Read(target));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
              fs::status(target).permissions());

    // A large content goes through the stream's buffer many times over.
    std::string large;
    for (int i = 0; large.size() < 1000000; ++i) large += std::to_string(i * 7919) + (i % 13 ? " " : "\n");
    WriteFileSafely(target, [&](std::ostream& out) { out << large; });
    EXPECT_EQ(large, Read(target));
}

TEST_F(SafeFileTest, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    const fs::path target = folder_ / "kept.lif";
    std::ofstream(target) << "the old file\n";

    // A writer that gives up half-way.
    EXPECT_THROW(WriteFileSafely(target,
                                 [](std::ostream& out) {
                                     out << "half";
                                     throw std::runtime_error("writer failed");
                                 }),
                 std::runtime_error);
    EXPECT_EQ("the old file\n", Read(target));
    EXPECT_TRUE(OnlyFileIs("kept.lif"));

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
    const std::string message = FailureOf(
        [&] { WriteFileSafely(target, [](std::ostream& out) { out << std::string(1000000, '*'); }); });
    ::setrlimit(RLIMIT_FSIZE, &previousLimit);
    ::sigaction(SIGXFSZ, &previousAction, nullptr);
    EXPECT_EQ(FormatMessage(msg::FileNotWritten, target.string(), std::strerror(EFBIG)), message);
    EXPECT_EQ("the old file\n", Read(target));
    EXPECT_TRUE(OnlyFileIs("kept.lif"));

    // A folder that is not there.
    const fs::path nowhere = folder_ / "missing" / "x.lif";
    EXPECT_EQ(FormatMessage(msg::FileNotWritten, nowhere.string(), std::strerror(ENOENT)),
              FailureOf([&] { WriteFileSafely(nowhere, [](std::ostream& out) { out << "x"; }); }));
}

TEST_F(SafeFileTest, FilesThatCannotBeOpenedNameTheFileAndTheReason) {
    std::ofstream(folder_ / "present.lif") << "x\n";
    fs::create_directory(folder_ / "folder.lif");
    fs::create_symlink(folder_ / "gone.lif", folder_ / "dangling.lif");
    fs::create_symlink(folder_ / "loop.lif", folder_ / "loop.lif");
    const struct {
        const char* name;
        int error;
    } cases[] = {
        {"missing.lif", ENOENT}, {"folder.lif", EISDIR}, {"dangling.lif", ENOENT}, {"loop.lif", ELOOP}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = folder_ / c.name;
        std::ifstream stream;
        EXPECT_EQ(FormatMessage(msg::FileNotOpened, file.string(), std::strerror(c.error)),
                  FailureOf([&] { OpenInputFile(stream, file); }));
    }
    std::ifstream present;
    OpenInputFile(present, folder_ / "present.lif");
    std::string line;
    EXPECT_TRUE(std::getline(present, line));
    EXPECT_EQ("x", line);
    if (::geteuid() != 0) {  // permissions do not bind the superuser
        fs::permissions(folder_ / "present.lif", fs::perms::none);
        std::ifstream refused;
        EXPECT_EQ(
            FormatMessage(msg::FileNotOpened, (folder_ / "present.lif").string(), std::strerror(EACCES)),
            FailureOf([&] { OpenInputFile(refused, folder_ / "present.lif"); }));
    }
}

}  // namespace
}  // namespace tessera::test
