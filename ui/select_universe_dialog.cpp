#include "ui/select_universe_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/universe.h"
#include "ui/dialog_help.h"
#include "ui/mono_image.h"

namespace tessera::ui {
namespace {

constexpr int kPreviewPixels = 160;

}  // namespace

CSelectUniverseDialog::CSelectUniverseDialog(const CUniverseCollection& universes, QWidget* parent)
    : QDialog(parent), universes_(universes) {
    setWindowTitle(QStringLiteral("Select Universe"));
    list_ = new QListWidget(this);
    for (int i = 1; i <= universes.UniverseCount(); ++i)
        list_->addItem(QString::fromStdString(universes.NameAt(i)));
    auto* label = new QLabel(QStringLiteral("&Universe:"), this);
    label->setBuddy(list_);
    picture_ = new QLabel(this);
    picture_->setFixedSize(kPreviewPixels + 2, kPreviewPixels + 2);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::StyledPanel);
    details_ = new QLabel(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    AddHelpButton(*this, *buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this, [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(Choice() != 0);
        ShowPreview();
    });
    connect(list_, &QListWidget::itemActivated, this, &QDialog::accept);

    auto* side = new QVBoxLayout;
    side->addWidget(picture_);
    side->addWidget(details_);
    side->addStretch();
    auto* columns = new QHBoxLayout;
    auto* names = new QVBoxLayout;
    names->addWidget(label);
    names->addWidget(list_);
    columns->addLayout(names, 1);
    columns->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    list_->setCurrentRow(0);
    list_->setFocus();
}

int CSelectUniverseDialog::Choice() const { return list_->currentRow() + 1; }

void CSelectUniverseDialog::ShowPreview() {
    CUniverse* universe = Choice() != 0 ? universes_.UniverseAt(Choice()) : nullptr;
    if (!universe) {
        picture_->clear();
        details_->clear();
        return;
    }
    picture_->setPixmap(QPixmap::fromImage(PatternPreview(*universe, kPreviewPixels)));
    const CLRect box = universe->GetBounds();
    details_->setText(universe->Population() == 0 ? QStringLiteral("Empty")
                                                  : QStringLiteral("%1 x %2\nPopulation %3")
                                                        .arg(int64_t(box.right) - box.left)
                                                        .arg(int64_t(box.bottom) - box.top)
                                                        .arg(universe->Population()));
}

}  // namespace tessera::ui
