#include "ui/repeat_insertion_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cstdlib>

#include "engine/growable_universe.h"
#include "engine/transform.h"
#include "ui/dialog_help.h"
#include "ui/message_sink.h"
#include "ui/universe_window.h"

namespace tessera::ui {
namespace {

// More copies than this would take longer to paste than anyone waits for.
constexpr int64_t kMaxCopies = 100000;
// Offsets stay well inside the plane so that every copy's cells remain representable.
constexpr int64_t kMaxReach = 1 << 30;

const char kBadCount[] =
    "The first count must be a number greater than zero, the second a number not below zero.";
const char kBadOffset[] = "Offsets must be whole numbers.";
const char kTooFar[] = "The repeated copies would be too many or reach too far.";

bool ReadNumber(const QLineEdit* field, int32_t& value) {
    bool ok = false;
    const qlonglong number = field->text().trimmed().toLongLong(&ok);
    if (!ok || number < INT32_MIN || number > INT32_MAX) return false;
    value = int32_t(number);
    return true;
}

int64_t Reach(const CLSize& offset, int32_t count) {
    return std::max(std::llabs(offset.cx), std::llabs(offset.cy)) * std::max<int64_t>(count - 1, 0);
}

}  // namespace

std::unique_ptr<CGrowableUniverse> RepeatInsertion(CUniverse& object, const CRepeatInsertion& repeat) {
    auto row = std::make_unique<CGrowableUniverse>();
    row->SetRuleCode(object.GetRuleCode());
    for (int32_t i = 0; i < repeat.firstCount; ++i)
        PasteFrom(*row, object, CTransform(i * repeat.firstOffset.cx, i * repeat.firstOffset.cy, 0));
    if (repeat.secondCount <= 0) return row;
    auto all = std::make_unique<CGrowableUniverse>();
    all->SetRuleCode(object.GetRuleCode());
    for (int32_t j = 0; j < repeat.secondCount; ++j)
        PasteFrom(*all, *row, CTransform(j * repeat.secondOffset.cx, j * repeat.secondOffset.cy, 0));
    return all;
}

CRepeatInsertionDialog::CRepeatInsertionDialog(const CRepeatInsertion& start, QWidget* parent)
    : QDialog(parent), settings_(start) {
    setWindowTitle(QStringLiteral("Repeat Insertion"));
    const int values[6] = {start.firstCount,  start.firstOffset.cx,  start.firstOffset.cy,
                           start.secondCount, start.secondOffset.cx, start.secondOffset.cy};
    auto* grid = new QGridLayout;
    const char* const labels[6] = {
        "&First count:", "Offset: &X:", "&Y:", "&Second count:", "Offset: X&:", "Y:"};
    for (int i = 0; i < 6; ++i) {
        fields_[i] = new QLineEdit(QString::number(values[i]), this);
        auto* label = new QLabel(QString::fromUtf8(labels[i]), this);
        label->setBuddy(fields_[i]);
        grid->addWidget(label, i / 3, (i % 3) * 2);
        grid->addWidget(fields_[i], i / 3, (i % 3) * 2 + 1);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    AddHelpButton(*this, *buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    fields_[0]->selectAll();
}

void CRepeatInsertionDialog::accept() {
    CRepeatInsertion read;
    const auto refuse = [&](const char* text, int field) {
        ShowMessage(this, QMessageBox::Warning, QString::fromUtf8(text));
        fields_[field]->setFocus();
        fields_[field]->selectAll();
    };
    if (!ReadNumber(fields_[0], read.firstCount) || read.firstCount < 1) return refuse(kBadCount, 0);
    if (!ReadNumber(fields_[3], read.secondCount) || read.secondCount < 0) return refuse(kBadCount, 3);
    int32_t* offsets[4] = {&read.firstOffset.cx, &read.firstOffset.cy, &read.secondOffset.cx,
                           &read.secondOffset.cy};
    const int offsetFields[4] = {1, 2, 4, 5};
    for (int i = 0; i < 4; ++i)
        if (!ReadNumber(fields_[offsetFields[i]], *offsets[i])) return refuse(kBadOffset, offsetFields[i]);
    const int64_t copies = int64_t(read.firstCount) * std::max<int32_t>(read.secondCount, 1);
    if (copies > kMaxCopies || Reach(read.firstOffset, read.firstCount) > kMaxReach ||
        Reach(read.secondOffset, read.secondCount) > kMaxReach)
        return refuse(kTooFar, 0);
    settings_ = read;
    QDialog::accept();
}

bool RepeatFloatingObject(CUniverseWindow& window, CRepeatInsertion& memory, QWidget* parent) {
    CUniverse* object = window.FloatingObject();
    if (!object || object->Population() == 0) return false;
    if (memory.firstOffset == CLSize{} && memory.secondOffset == CLSize{}) {
        // Nothing kept yet: copies side by side, rows one under the other, a cell apart.
        const CLRect box = object->GetBounds();
        memory.firstOffset = {box.right - box.left + 1, 0};
        memory.secondOffset = {0, box.bottom - box.top + 1};
    }
    CRepeatInsertionDialog dialog(memory, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    memory = dialog.Settings();
    window.SetFloatingObject(RepeatInsertion(*object, memory), window.FloatingOffset());
    return true;
}

}  // namespace tessera::ui
