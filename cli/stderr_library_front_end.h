#pragma once
// The libraries' messages and error reports go to standard error; their questions are answered No.
// While one of these lives it is the libraries' front end; at its end every library is closed.
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "patterns/library_commands.h"
#include "patterns/library_front_end.h"

namespace tessera::cli {

class CStderrLibraryFrontEnd : public CLibraryFrontEnd {
public:
    CStderrLibraryFrontEnd() { InstallLibraryFrontEnd(this); }
    ~CStderrLibraryFrontEnd() override {
        CloseAllLibraries();
        InstallLibraryFrontEnd(nullptr);
    }
    void ShowMessage(std::string_view text) override {
        std::cerr << text << "\n";
        ++messages;
    }
    bool AskYesNo(std::string_view) override { return false; }
    bool AskOkCancel(std::string_view) override { return false; }
    std::optional<std::string> AskSaveFileName(std::string_view, std::string_view,
                                               std::string_view) override {
        return std::nullopt;
    }
    void ShowProgress(std::string_view) override {}
    void ShowErrorReport(std::string_view caption, std::string_view report) override {
        std::cerr << caption << "\n" << report;
        ++messages;
    }
    void LibrariesChanged() override {}
    int messages = 0;
};

}  // namespace tessera::cli
