#pragma once
// A library test runs with its own configuration file and folder, a front end that records what it is
// told, and closes every library when it ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "config/parameters.h"
#include "patterns/library_commands.h"
#include "patterns/library_front_end.h"
#include "patterns/library_loader.h"

namespace tessera::test {

class CRecordingLibraryFrontEnd : public CLibraryFrontEnd {
public:
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    bool AskYesNo(std::string_view text) override {
        questions.emplace_back(text);
        return answer;
    }
    bool AskOkCancel(std::string_view text) override {
        questions.emplace_back(text);
        return answer;
    }
    std::optional<std::string> AskSaveFileName(std::string_view, std::string_view,
                                               std::string_view) override {
        return saveAs;
    }
    void ShowProgress(std::string_view) override {}
    void ShowErrorReport(std::string_view, std::string_view report) override { reports.emplace_back(report); }
    void LibrariesChanged() override {}

    std::vector<std::string> messages, questions, reports;
    bool answer = true;
    std::optional<std::string> saveAs;
};

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessera-lib-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        if (const char* previous = std::getenv("TESSERA_INI")) previousIni_ = previous;
        ::setenv("TESSERA_INI", (folder_ / "TESSERA.INI").c_str(), 1);
        ResetAllParameters();
        InstallLibraryFrontEnd(&frontEnd_);
    }
    void TearDown() override {
        CloseAllLibraries();
        InstallLibraryFrontEnd(nullptr);
        if (previousIni_)
            ::setenv("TESSERA_INI", previousIni_->c_str(), 1);
        else
            ::unsetenv("TESSERA_INI");
        ResetAllParameters();
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
    void WriteFile(const std::string& name, const std::string& text) const {
        std::ofstream(PathOf(name), std::ios::binary) << text;
    }
    std::string ReadFile(const std::string& name) const {
        std::ifstream in(PathOf(name), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // Loads the library and turns an XLife-form file into patterns at once.
    CPatternLibrary* Load(const std::string& name, bool readOnly = false, bool preload = false) {
        CPatternLibrary* library = nullptr;
        EXPECT_EQ(LoadLibrary(PathOf(name), readOnly, preload, &library), 0);
        FinishLibraryLoadingNow();
        return library;
    }

    std::filesystem::path folder_;
    std::optional<std::string> previousIni_;
    CRecordingLibraryFrontEnd frontEnd_;
};

}  // namespace tessera::test
