#pragma once
// CPatternsDialog: the "Patterns" window. A filter over every loaded library (library, type, size and
// rule), the passing patterns in a tile window, the selected pattern's properties and its phases and
// orientations ("Transforms"), and what can be done with it: insert it into the current game as a
// floating object, make a game of it, delete it, open its library. The window stays live while libraries
// load in the background: their patterns appear as they are made.
#include <QDialog>
#include <QString>
#include <memory>
#include <string>

#include "patterns/pattern_collections.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace tessera {
class CNamedPattern;
}

namespace tessera::ui {

class CMainWindow;
class CTileWin;

class CPatternsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPatternsDialog(CMainWindow& main);
    ~CPatternsDialog() override;

    // Reads the four filter fields, remembers them for the next opening and lists the passing patterns.
    void ApplyFilter();
    // The pattern of the selected tile, or none.
    CNamedPattern* SelectedEntry() const;
    CTileWin& Tiles() const { return *tiles_; }
    CTileWin& TransformTiles() const { return *transformTiles_; }
    const CPatternTransformCollection* Transforms() const { return transforms_.get(); }

    // The tile-list actions, on the selected pattern.
    void InsertSelected();
    void MakeGameOfSelected();
    void DeleteSelected();
    void ShowLibraryOfSelected();
    void EditPropertiesOfSelected();
    void CopySelected();

private:
    void BuildFilter(QVBoxLayout* layout);
    QWidget* BuildPropertiesPage();
    void FillLibraryChoice();
    // Lists the patterns again when entries were made or destroyed since the last look, keeping the
    // selected pattern selected when it still exists.
    void FollowLibraries();
    void SelectionChanged();
    void ShowTileMenu(int item, QPoint position);
    void UpdateProgress();

    CMainWindow& main_;
    QComboBox* library_ = nullptr;
    QComboBox* type_ = nullptr;
    QLineEdit* size_ = nullptr;
    QComboBox* rule_ = nullptr;
    CTileWin* tiles_ = nullptr;
    QLabel* count_ = nullptr;
    QTabWidget* details_ = nullptr;
    QLineEdit* properties_[8] = {};
    CTileWin* transformTiles_ = nullptr;
    QPushButton* insert_ = nullptr;
    QPushButton* makeGame_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* showLibrary_ = nullptr;
    QMenu* tileMenu_ = nullptr;

    CPatternLibraryCollection collection_;
    CPatternFilter filter_;
    std::unique_ptr<CPatternTransformCollection> transforms_;
    uint32_t seenChanges_ = 0;
    size_t seenCount_ = 0;
    QString seenLibraries_;
    // The selected pattern, by name, for finding it again when the lists change.
    std::string selectedName_;
    int32_t selectedLibrary_ = 0;
};

// Opens the Patterns window of the main window, or raises it when it is open; without activation the
// keyboard focus stays where it is.
CPatternsDialog& ShowPatternsDialog(CMainWindow& main, bool activate = true);

// "Keep pattern libraries permanently visible": turns KeepPatternsOnTop over and writes the parameters at
// once. Turned on, it shows the Patterns window.
void ToggleKeepPatternsOnTop(CMainWindow& main);
// From now on, while KeepPatternsOnTop is set, each activation of the main window shows the Patterns
// window again above it (opened again if it was closed, restored if it was minimised), without taking the
// focus from the main window.
void KeepPatternsVisible(CMainWindow& main);

}  // namespace tessera::ui
