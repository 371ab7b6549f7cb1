#pragma once
// What the pattern libraries ask of the front end: messages, questions, a file name to save under,
// progress texts, the problems found in a library file, and a refresh of the library views. The desktop,
// the batch tool and the tests implement it; until one is installed a silent one answers No and Cancel.
#include <optional>
#include <string>
#include <string_view>

namespace tessera {

class CLibraryFrontEnd {
public:
    virtual ~CLibraryFrontEnd() = default;
    virtual void ShowMessage(std::string_view text) = 0;
    // A question with Yes and No: true for Yes.
    virtual bool AskYesNo(std::string_view text) = 0;
    // A question with OK and Cancel: true for OK.
    virtual bool AskOkCancel(std::string_view text) = 0;
    // The save-file dialog; none when the user cancels.
    virtual std::optional<std::string> AskSaveFileName(std::string_view filter,
                                                       std::string_view defaultExtension,
                                                       std::string_view initialName) = 0;
    virtual void ShowProgress(std::string_view text) = 0;
    virtual void ShowErrorReport(std::string_view caption, std::string_view report) = 0;
    virtual void LibrariesChanged() = 0;
};

// The installed front end (never none). Installing none puts the silent one back.
CLibraryFrontEnd& LibraryFrontEnd();
void InstallLibraryFrontEnd(CLibraryFrontEnd* frontEnd);

}  // namespace tessera
