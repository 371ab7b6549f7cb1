#pragma once
// What reading a file may ask: "Select Universe" when it holds several patterns, and the "File Error
// report" listing the problems found in it.
#include <QDialog>
#include <string_view>

class QListWidget;
class QPlainTextEdit;

namespace tessera {
class CUniverseCollection;
}

namespace tessera::ui {

class CSelectUniverseDialog : public QDialog {
    Q_OBJECT
public:
    explicit CSelectUniverseDialog(const CUniverseCollection& universes, QWidget* parent = nullptr);
    QListWidget* List() const { return list_; }
    // The 1-based index of the highlighted universe, 0 for none.
    int Choice() const;

private:
    QListWidget* list_;
};

class CFileErrorReportDialog : public QDialog {
    Q_OBJECT
public:
    CFileErrorReportDialog(std::string_view caption, std::string_view report, QWidget* parent = nullptr);
    QPlainTextEdit* Report() const { return report_; }

private:
    QPlainTextEdit* report_;
};

}  // namespace tessera::ui
