#pragma once
// "Repeat Insertion": the floating object repeated along one offset, and that row along a second, as
// the new floating object.
#include <QDialog>
#include <cstdint>
#include <memory>

#include "foundation/geometry.h"

class QLineEdit;

namespace tessera {
class CGrowableUniverse;
class CUniverse;
}  // namespace tessera

namespace tessera::ui {

class CUniverseWindow;

struct CRepeatInsertion {
    int32_t firstCount = 1;
    CLSize firstOffset;
    int32_t secondCount = 0;  // 0: the row alone
    CLSize secondOffset;
};

// The union of the copies: copy i of the object moved by i × the first offset, then copy j of that row
// moved by j × the second. Empty when the copies would leave the plane.
std::unique_ptr<CGrowableUniverse> RepeatInsertion(CUniverse& object, const CRepeatInsertion& repeat);

class CRepeatInsertionDialog : public QDialog {
    Q_OBJECT
public:
    CRepeatInsertionDialog(const CRepeatInsertion& start, QWidget* parent = nullptr);
    QLineEdit* Field(int index) const { return fields_[index]; }  // counts and offsets in reading order
    const CRepeatInsertion& Settings() const { return settings_; }
    // Refuses counts and offsets that are not whole numbers in range, with a message.
    void accept() override;

private:
    QLineEdit* fields_[6];
    CRepeatInsertion settings_;
};

// Opens the dialog for window's floating object; OK makes the repetition the floating object and keeps
// the settings in memory for next time.
bool RepeatFloatingObject(CUniverseWindow& window, CRepeatInsertion& memory, QWidget* parent);

}  // namespace tessera::ui
