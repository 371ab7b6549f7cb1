#pragma once
// "Select Universe": the choice among the patterns of a file or of the clipboard text, with a picture,
// the size and the population of the highlighted one.
#include <QDialog>

#include "formats/file_dialogs.h"

class QLabel;
class QListWidget;

namespace tessera::ui {

class CSelectUniverseDialog : public QDialog {
    Q_OBJECT
public:
    CSelectUniverseDialog(const CUniverseCollection& universes, QWidget* parent = nullptr);
    QListWidget* List() const { return list_; }
    // The 1-based index of the highlighted universe, 0 when none is.
    int Choice() const;

private:
    void ShowPreview();

    const CUniverseCollection& universes_;
    QListWidget* list_;
    QLabel* picture_;
    QLabel* details_;
};

}  // namespace tessera::ui
