#include "support/temp_folder.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
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

void TempConfigTest::SetUp() {
    ::setenv("TESSERA_INI", iniPath_.c_str(), 1);
    ResetAllParameters();
}

void TempConfigTest::TearDown() {
    ResetAllParameters();
    ::unsetenv("TESSERA_INI");
}

void TempConfigTest::WriteIni(const std::string& text) const {
    std::ofstream(iniPath_, std::ios::binary | std::ios::trunc) << text;
}

void TempConfigTest::WriteParameter(const std::string& key, const std::string& value) {
    WriteIni("[Parameters]\n" + key + "=" + value + "\n");
    ResetAllParameters();
}

void DefaultParametersTest::SetUp() {
    ::setenv("TESSERA_INI", "/nonexistent-tessera-folder/TESSERA.INI", 1);
    ResetAllParameters();
}

void DefaultParametersTest::TearDown() {
    ResetAllParameters();
    ::unsetenv("TESSERA_INI");
}

}  // namespace tessera::test
