// The configuration file on disk: where it is, reading it when it is missing, and replacing it atomically
// so that it is never seen half-written (what a failed write leaves is the safe file writer's test).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "config/ini_file.h"
#include "support/temp_folder.h"

namespace tessera::test {
namespace {

namespace fs = std::filesystem;
using IniFile = TempConfigTest;

// Sets or clears an environment variable for one scope, restoring the old value afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Set(value);
    }
    ~ScopedEnvironment() { Set(old_ ? old_->c_str() : nullptr); }

private:
    void Set(const char* value) { value ? ::setenv(name_, value, 1) : ::unsetenv(name_); }

    const char* name_;
    std::optional<std::string> old_;
};

// Files in a folder: no temporary file is left beside the configuration file.
auto FilesIn(const fs::path& folder) { return std::distance(fs::directory_iterator(folder), {}); }

// TESSERA_INI names the file; else it lies under an absolute XDG_CONFIG_HOME, else under HOME.
TEST(ConfigFilePath, FollowsTheEnvironmentAtEachCall) {
    const struct {
        const char *ini, *xdg, *expected;
    } cases[] = {
        {"/elsewhere/my.ini", "/xdg/home", "/elsewhere/my.ini"},
        {nullptr, "/xdg/home", "/xdg/home/tessera/TESSERA.INI"},
        {nullptr, nullptr, "/home/someone/.config/tessera/TESSERA.INI"},
        {nullptr, "relative/dir", "/home/someone/.config/tessera/TESSERA.INI"},
    };
    ScopedEnvironment home("HOME", "/home/someone");
    for (const auto& c : cases) {
        ScopedEnvironment ini("TESSERA_INI", c.ini), xdg("XDG_CONFIG_HOME", c.xdg);
        EXPECT_EQ(ConfigFilePath(), fs::path(c.expected)) << c.expected;
    }
}

TEST_F(IniFile, FirstWriteCreatesTheFolderAndTheFile) {
    const auto nested = folder_ / "xdg" / "tessera" / "TESSERA.INI";
    ::setenv("TESSERA_INI", nested.c_str(), 1);
    EXPECT_EQ(ReadIniValue("Parameters", "GridPitch"), std::nullopt);
    EXPECT_FALSE(fs::exists(nested.parent_path()));  // reading creates nothing
    EXPECT_TRUE(WriteIniValue("Parameters", "GridPitch", "11"));
    EXPECT_EQ(ReadFile(nested), "[Parameters]\nGridPitch=11\n");
    EXPECT_EQ(FilesIn(nested.parent_path()), 1);
}

TEST_F(IniFile, ReplacementKeepsPermissionsAndSymbolicLinks) {
    WriteIni("[A]\nk=1\n");
    ::chmod(iniPath_.c_str(), 0640);
    EXPECT_TRUE(WriteIniValue("A", "k", "2"));
    struct stat info {};
    ASSERT_EQ(::stat(iniPath_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    const auto link = folder_ / "link.ini";
    fs::create_symlink(iniPath_, link);
    ::setenv("TESSERA_INI", link.c_str(), 1);
    EXPECT_TRUE(WriteIniValue("A", "k", "3"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadIni(), "[A]\nk=3\n");
}

// A reader polling the file while it is rewritten again and again must only ever see whole files.
TEST_F(IniFile, ReadersNeverSeeAHalfWrittenFile) {
    std::string body = "[Parameters]\n";
    for (int i = 0; i < 300; ++i) body += "Filler" + std::to_string(i) + "=" + std::string(40, 'f') + "\n";
    WriteIni(body + "[End]\nMarker=0\n");

    std::atomic<bool> done{false};
    std::atomic<int> reads{0};
    std::atomic<int> damaged{0};
    std::thread reader([&] {
        while (!done.load()) {
            const std::string text = ReadFile(iniPath_);
            const auto marker = text.rfind("[End]\nMarker=");
            if (text.compare(0, body.size(), body) != 0 || marker != body.size() || text.back() != '\n') {
                ++damaged;
            }
            ++reads;
        }
    });
    for (int i = 1; i <= 40; ++i) ASSERT_TRUE(WriteIniValue("End", "Marker", std::to_string(i)));
    done = true;
    reader.join();
    EXPECT_EQ(damaged.load(), 0) << "of " << reads.load() << " reads";
    EXPECT_GT(reads.load(), 0);
    EXPECT_EQ(ReadIniValue("End", "Marker"), "40");
    EXPECT_EQ(FilesIn(folder_), 1);
}

}  // namespace
}  // namespace tessera::test
