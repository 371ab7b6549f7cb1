#pragma once
// CPatternLibraryDialog: the "Pattern Library" window of one library: its patterns in a tile window,
// the deletion of a pattern, and the library's own operations (its read-only and load-at-start flags,
// save, save as, unload). The window closes itself when its library goes.
#include <QDialog>
#include <cstdint>

#include "patterns/pattern_collections.h"

class QCheckBox;
class QPushButton;

namespace tessera {
class CNamedPattern;
class CPatternLibrary;
}  // namespace tessera

namespace tessera::ui {

class CTileWin;

class CPatternLibraryDialog : public QDialog {
    Q_OBJECT
public:
    CPatternLibraryDialog(CPatternLibrary& library, QWidget* parent);
    ~CPatternLibraryDialog() override;

    int32_t LibraryNumber() const { return number_; }
    // The library shown, or none once it has been closed.
    CPatternLibrary* Library() const;
    CTileWin& Tiles() const { return *tiles_; }
    CNamedPattern* SelectedEntry() const { return collection_.EntryAt(SelectedItem()); }

    void DeleteSelected();
    void Apply();
    void Save();
    void SaveAs();
    void Unload();

private:
    int SelectedItem() const;
    // Lists the patterns again when entries were made or destroyed; closes the window when the library
    // is gone.
    void FollowLibrary();

    CPatternLibrary* library_;
    int32_t number_;
    CTileWin* tiles_ = nullptr;
    QCheckBox* readOnly_ = nullptr;
    QCheckBox* preload_ = nullptr;
    QPushButton* delete_ = nullptr;
    CPatternLibraryCollection collection_;
    uint32_t seenChanges_ = 0;
    size_t seenCount_ = 0;
};

// Opens the dialog of library `number` as a window of `parent`, or raises the one open; none when no
// such library is loaded.
CPatternLibraryDialog* OpenPatternLibraryDialog(QWidget* parent, int32_t number);

}  // namespace tessera::ui
