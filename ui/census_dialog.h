#pragma once
// The census dialog in census and total mode, the census library choice, and the census run from the
// main window with its progress and the selection of the unclassifiable cells.
#include <QDialog>
#include <functional>

#include "patterns/census.h"

class QListWidget;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace tessera {
class CGame;
}

namespace tessera::ui {

class CPatternDetails;
class CUniverseWindow;

// "Census Library": the libraries new patterns may join (loaded and not read-only).
class CCensusLibraryDialog : public QDialog {
    Q_OBJECT
public:
    explicit CCensusLibraryDialog(QWidget* parent = nullptr);
    QListWidget* List() const { return list_; }
    // Stores the highlighted library as the census library.
    void accept() override;

private:
    QListWidget* list_;
    QPushButton* ok_;
};

class CCensusDialog : public QDialog {
    Q_OBJECT
public:
    // The result code of Unclassifiable: the caller selects the unclassifiable cells.
    static constexpr int kUnclassifiable = 2;

    // Shows the last census result (census mode) or the cumulative counts (total mode).
    CCensusDialog(ECensusMode mode, const CGame* game, QWidget* parent = nullptr);
    QTreeWidget* Table() const { return table_; }
    QLabel* Summary() const { return summary_; }
    CPatternDetails* Details() const { return details_; }
    QPushButton* Button(const char* text) const;
    // The table's rows as the export writes them.
    QString TableText() const;
    // Writes the export text; a file that cannot be written gives its message. False then.
    bool ExportTo(const QString& fileName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();
    void SizeColumns();
    void Export();
    void ChooseLibrary();

    ECensusMode mode_;
    QTreeWidget* table_;
    QLabel* summary_ = nullptr;
    CPatternDetails* details_;
};

// The census front end of the desktop: the library choice as a dialog, progress in a status line.
class CQtCensusFrontEnd : public CCensusFrontEnd {
public:
    CQtCensusFrontEnd(QWidget* parent, std::function<void(const QString&)> progress)
        : parent_(parent), progress_(std::move(progress)) {}
    bool ChooseCensusLibrary() override;
    void ShowProgress(const std::string& text) override;

private:
    QWidget* parent_;
    std::function<void(const QString&)> progress_;
};

// Opens the census of the game that window shows (census mode) or the total census; Unclassifiable
// makes the unclassifiable cells window's selection.
void RunCensusDialog(ECensusMode mode, CUniverseWindow& window, CCensusFrontEnd& frontEnd, QWidget* parent);

}  // namespace tessera::ui
