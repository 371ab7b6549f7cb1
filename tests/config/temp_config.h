#pragma once
// Points TESSERA_INI at a file in a fresh temporary folder for the length of a test, with every
// parameter reset, so that no test reads or writes the user's configuration.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "config/parameters.h"

namespace tessera::testing {

class TempConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessera-config-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        iniPath_ = folder_ / "TESSERA.INI";
        ::setenv("TESSERA_INI", iniPath_.c_str(), 1);
        ResetAllParameters();
    }
    void TearDown() override {
        ResetAllParameters();
        ::unsetenv("TESSERA_INI");
        std::error_code error;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(folder_, error);
    }

    void WriteIni(const std::string& text) const {
        std::ofstream out(iniPath_, std::ios::binary | std::ios::trunc);
        out << text;
    }
    std::string ReadIni() const { return ReadFile(iniPath_); }
    static std::string ReadFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // Sets the INI file to "[Parameters]\nkey=value\n" and forgets cached values.
    void WriteParameter(const std::string& key, const std::string& value) {
        WriteIni("[Parameters]\n" + key + "=" + value + "\n");
        ResetAllParameters();
    }

    std::filesystem::path folder_;
    std::filesystem::path iniPath_;
};

}  // namespace tessera::testing
