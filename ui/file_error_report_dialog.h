#pragma once
// "File Error report": the problems found in a file that was read, under the caption that names it.
#include <QDialog>
#include <string_view>

class QPlainTextEdit;

namespace tessera::ui {

class CFileErrorReportDialog : public QDialog {
    Q_OBJECT
public:
    CFileErrorReportDialog(std::string_view caption, std::string_view report, QWidget* parent = nullptr);
    QPlainTextEdit* Report() const { return report_; }

private:
    QPlainTextEdit* report_;
};

}  // namespace tessera::ui
