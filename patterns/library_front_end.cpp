#include "patterns/library_front_end.h"

namespace tessera {
namespace {

class CSilentLibraryFrontEnd : public CLibraryFrontEnd {
public:
    void ShowMessage(std::string_view) override {}
    bool AskYesNo(std::string_view) override { return false; }
    bool AskOkCancel(std::string_view) override { return false; }
    std::optional<std::string> AskSaveFileName(std::string_view, std::string_view,
                                               std::string_view) override {
        return std::nullopt;
    }
    void ShowProgress(std::string_view) override {}
    void ShowErrorReport(std::string_view, std::string_view) override {}
    void LibrariesChanged() override {}
};

CLibraryFrontEnd*& Installed() {
    static CLibraryFrontEnd* frontEnd = nullptr;
    return frontEnd;
}

}  // namespace

CLibraryFrontEnd& LibraryFrontEnd() {
    static CSilentLibraryFrontEnd silent;
    return Installed() ? *Installed() : silent;
}

void InstallLibraryFrontEnd(CLibraryFrontEnd* frontEnd) { Installed() = frontEnd; }

}  // namespace tessera
