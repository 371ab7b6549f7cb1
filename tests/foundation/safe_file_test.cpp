// Replacing a file so that no failure damages it (the configuration file's tests cover replacement,
// permissions and links): a failure leaves the old file and no temporary one, and says why; special
// files are written to, not replaced.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "foundation/messages.h"
#include "foundation/safe_file.h"
#include "support/file_size_limit.h"
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
    std::string message;
    {
        const CFileSizeLimit full(100000);
        message = FailureOf(target, std::string(1000000, '*'));
    }
    EXPECT_EQ(FormatMessage(msg::FileNotWritten, target.string(), std::strerror(EFBIG)), message);
    EXPECT_TRUE(unchanged());

    const fs::path nowhere = folder / "missing" / "x.lif";
    EXPECT_EQ(FormatMessage(msg::FileNotWritten, nowhere.string(), std::strerror(ENOENT)),
              FailureOf(nowhere, "x"));
}

TEST(SafeFile, SpecialFilesAreWrittenToAndUnwritableFilesRefused) {
    const CTempFolder temp;
    const fs::path folder = temp.Path();

    // A pipe gets the bytes and stays a pipe.
    const fs::path fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);  // the writer then need not wait
    ASSERT_GE(reader, 0);
    WriteFileSafely(fifo, [](std::ostream& out) { out << "to the pipe\n"; });
    char received[16] = {};
    EXPECT_EQ(::read(reader, received, sizeof received), 12) << received;
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));

    // An open descriptor named by /dev/fd (as /dev/stdout is) is written at its place, not replaced.
    const fs::path shared = folder / "shared.txt";
    const int fd = ::open(shared.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "head\n", 5), 5);
    WriteFileSafely("/dev/fd/" + std::to_string(fd), [](std::ostream& out) { out << "body\n"; });
    ASSERT_EQ(::write(fd, "tail\n", 5), 5);
    ::close(fd);
    EXPECT_EQ(ReadFile(shared), "head\nbody\ntail\n");

    // A file the user may not write is refused even where the folder would let it be replaced.
    const fs::path locked = folder / "locked.lif";
    std::ofstream(locked) << "kept\n";
    ::chmod(locked.c_str(), 0444);
    ::chmod(folder.c_str(), 0777);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        const bool refused = FailureOf(locked, "replaced\n") ==
                             FormatMessage(msg::FileNotWritten, locked.string(), std::strerror(EACCES));
        ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot become nobody";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadFile(locked), "kept\n");
}

}  // namespace
}  // namespace tessera::test
