#pragma once
// A library test runs with its own configuration file and folder (see TempConfigTest), a front end that
// records what it is told, and closes every library when it ends.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "config/parameters.h"
#include "patterns/library_commands.h"
#include "patterns/library_front_end.h"
#include "patterns/library_loader.h"
#include "support/temp_folder.h"

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

class LibraryTest : public TempConfigTest {
protected:
    void SetUp() override {
        TempConfigTest::SetUp();
        InstallLibraryFrontEnd(&frontEnd_);
    }
    void TearDown() override {
        CloseAllLibraries();
        InstallLibraryFrontEnd(nullptr);
        TempConfigTest::TearDown();
    }

    std::string PathOf(const std::string& name) const { return temp_.PathOf(name); }
    void WriteFile(const std::string& name, const std::string& text) const { temp_.Write(name, text); }
    std::string ReadFile(const std::string& name) const { return test::ReadFile(folder_ / name); }
    // Loads the library and turns an XLife-form file into patterns at once.
    CPatternLibrary* Load(const std::string& name, bool readOnly = false, bool preload = false) {
        CPatternLibrary* library = nullptr;
        EXPECT_EQ(LoadLibrary(PathOf(name), readOnly, preload, &library), 0);
        FinishLibraryLoadingNow();
        return library;
    }

    CRecordingLibraryFrontEnd frontEnd_;
};

}  // namespace tessera::test
