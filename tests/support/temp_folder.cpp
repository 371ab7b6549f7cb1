#include "support/temp_folder.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

#include "config/parameters.h"

namespace tessera::test {

CTempFolder::CTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessera-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
    path_ = pattern;
}

CTempFolder::~CTempFolder() {
    // A test may have taken permissions away to provoke write errors.
    std::error_code error;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 error);
    std::filesystem::remove_all(path_, error);
}

std::string CTempFolder::Write(const std::string& name, const std::string& text) const {
    const std::filesystem::path path = path_ / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    return path.string();
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

namespace {

// Points TESSERA_INI at the file and answers the value it had, so that the test can put it back: tests
// that come later in the same program must not fall back to the user's configuration.
std::optional<std::string> UseConfiguration(const char* path) {
    std::optional<std::string> previous;
    if (const char* value = std::getenv("TESSERA_INI")) previous = value;
    ::setenv("TESSERA_INI", path, 1);
    ResetAllParameters();
    return previous;
}

void RestoreConfiguration(const std::optional<std::string>& previous) {
    if (previous)
        ::setenv("TESSERA_INI", previous->c_str(), 1);
    else
        ::unsetenv("TESSERA_INI");
    ResetAllParameters();
}

}  // namespace

void TempConfigTest::SetUp() { previousIni_ = UseConfiguration(iniPath_.c_str()); }

void TempConfigTest::TearDown() { RestoreConfiguration(previousIni_); }

void TempConfigTest::WriteIni(const std::string& text) const {
    std::ofstream(iniPath_, std::ios::binary | std::ios::trunc) << text;
}

void TempConfigTest::WriteParameter(const std::string& key, const std::string& value) {
    WriteIni("[Parameters]\n" + key + "=" + value + "\n");
    ResetAllParameters();
}

void DefaultParametersTest::SetUp() {
    previousIni_ = UseConfiguration(temp_.PathOf("TESSERA.INI").c_str());
}

void DefaultParametersTest::TearDown() { RestoreConfiguration(previousIni_); }

}  // namespace tessera::test
