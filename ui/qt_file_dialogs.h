#pragma once
// What loading a file asks of the desktop: the choice among several patterns, the file's error report
// and another name for a game whose name is taken.
#include <QWidget>

#include "formats/file_dialogs.h"

namespace tessera::ui {

class CQtFileDialogs : public CFileDialogs {
public:
    explicit CQtFileDialogs(QWidget* parent) : parent_(parent) {}
    int SelectUniverse(const CUniverseCollection& universes) override;
    void ShowErrorReport(std::string_view caption, std::string_view report) override;
    bool AskForOtherName(CName& name) override;

private:
    QWidget* parent_;
};

}  // namespace tessera::ui
