#pragma once
// Temporary folders and configuration files for tests, so that no test reads or writes the user's
// configuration.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "config/parameters.h"

namespace tessera::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string PathOf(const std::string& name) const { return (path_ / name).string(); }
    // Writes a file in the folder (bytes as given) and answers its path.
    std::string Write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);

// TESSERA_INI points at a file in a fresh temporary folder for the length of a test, with every
// parameter reset before and after.
class TempConfigTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void WriteIni(const std::string& text) const;
    std::string ReadIni() const { return ReadFile(iniPath_); }
    // Sets the INI file to "[Parameters]\nkey=value\n" and forgets cached values.
    void WriteParameter(const std::string& key, const std::string& value);

    CTempFolder temp_;
    const std::filesystem::path folder_ = temp_.Path();
    const std::filesystem::path iniPath_ = folder_ / "TESSERA.INI";

private:
    std::optional<std::string> previousIni_;
};

// Default parameters: TESSERA_INI names a file that does not exist yet in a private temporary folder,
// so nothing is read, and what a test changes is thrown away with the folder instead of reaching tests
// that run beside it.
class DefaultParametersTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

private:
    CTempFolder temp_;
    std::optional<std::string> previousIni_;
};

}  // namespace tessera::test
