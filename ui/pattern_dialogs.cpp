#include "ui/pattern_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/growable_universe.h"
#include "foundation/messages.h"
#include "games/game.h"
#include "patterns/apgcode.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"
#include "patterns/pattern_operations.h"
#include "patterns/pattern_types.h"
#include "patterns/pattern_universe.h"
#include "rules/rule_notation.h"
#include "ui/dialog_help.h"
#include "ui/dialogs.h"
#include "ui/message_sink.h"
#include "ui/qt_clipboard.h"
#include "ui/universe_window.h"

namespace tessera::ui {
namespace {

constexpr int kLibraryRole = Qt::UserRole;

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

void Refuse(QWidget* parent, const std::string& message, QLineEdit* field) {
    ShowMessage(parent, QMessageBox::Warning, QString::fromStdString(message));
    field->setFocus();
    field->selectAll();
}

// The types a user may declare, in the order of the type list.
constexpr EPatternType kDeclarableTypes[] = {
    EPatternType::Still, EPatternType::Oscillator, EPatternType::Ship,      EPatternType::Puffer,
    EPatternType::Gun,   EPatternType::Unstable,   EPatternType::Precursor, EPatternType::Doomed};

}  // namespace

// ---- Create Pattern

CCreatePatternDialog::CCreatePatternDialog(CUniverseWindow& window, CPatternLibrary* lastUsed,
                                           CDesktopClipboard* clipboard, QWidget* parent)
    : QDialog(parent), window_(window), clipboard_(clipboard) {
    setWindowTitle(QStringLiteral("Create Pattern"));
    auto* sources = new QGroupBox(QStringLiteral("Source"), this);
    auto* sourceLayout = new QVBoxLayout(sources);
    source_ = new QButtonGroup(this);
    const char* const labels[3] = {"&Whole Universe", "&Selection", "&Clipboard"};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(labels[i]), sources);
        source_->addButton(button, i);
        sourceLayout->addWidget(button);
    }
    const bool hasCells = window.Game() && window.Game()->Current().Population() > 0;
    const bool hasClipboard = clipboard && clipboard->Clipboard().IsPatternAvailable();
    source_->button(kWholeUniverse)->setEnabled(hasCells);
    source_->button(kSelection)->setEnabled(window.HasSelection());
    source_->button(kClipboard)->setEnabled(hasClipboard);
    const ESource first = window.HasSelection()       ? kSelection
                          : !hasCells && hasClipboard ? kClipboard
                                                      : kWholeUniverse;
    source_->button(first)->setChecked(true);

    libraries_ = new QListWidget(this);
    CPatternLibrary* preselected = DefaultTargetLibrary(lastUsed);
    for (CPatternLibrary* library = Libraries().First(); library; library = library->Next()) {
        if (library->IsReadOnly()) continue;
        auto* item = new QListWidgetItem(QString::fromStdString(library->Description()), libraries_);
        item->setData(kLibraryRole, library->Number());
        if (library == preselected) libraries_->setCurrentItem(item);
    }
    name_ = new QLineEdit(this);
    auto* nameLabel = new QLabel(QStringLiteral("&Name:"), this);
    nameLabel->setBuddy(name_);
    auto* libraryLabel = new QLabel(QStringLiteral("&Library:"), this);
    libraryLabel->setBuddy(libraries_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    AddHelpButton(*this, *buttons);
    buttons->button(QDialogButtonBox::Ok)
        ->setEnabled(libraries_->count() > 0 && (hasCells || window.HasSelection() || hasClipboard));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sources);
    layout->addWidget(libraryLabel);
    layout->addWidget(libraries_);
    layout->addWidget(nameLabel);
    layout->addWidget(name_);
    layout->addWidget(buttons);
    name_->setFocus();
}

void CCreatePatternDialog::SetSource(ESource source) { source_->button(source)->setChecked(true); }

CCreatePatternDialog::ESource CCreatePatternDialog::Source() const { return ESource(source_->checkedId()); }

bool CCreatePatternDialog::IsSourceOffered(ESource source) const {
    return source_->button(source)->isEnabled();
}

CPatternLibrary* CCreatePatternDialog::ChosenLibrary() const {
    const QListWidgetItem* item = libraries_->currentItem();
    return item ? FindLibrary(item->data(kLibraryRole).toInt()) : nullptr;
}

CUniverse* CCreatePatternDialog::SourceCells() {
    switch (Source()) {
        case kSelection:
            cells_ = window_.HasSelection() ? window_.SelectedCells() : nullptr;
            break;
        case kWholeUniverse:
            cells_ =
                window_.Game() ? std::make_unique<CGrowableUniverse>(window_.Game()->Current()) : nullptr;
            break;
        case kClipboard:
            // Taking may ask which of several patterns, or whether to invert a bitmap: asked only once.
            if (!fromClipboard_ && clipboard_) fromClipboard_ = clipboard_->TakePattern().universe;
            return fromClipboard_ && fromClipboard_->Population() > 0 ? fromClipboard_.get() : nullptr;
    }
    return cells_ && cells_->Population() > 0 ? cells_.get() : nullptr;
}

void CCreatePatternDialog::accept() {
    CPatternLibrary* library = ChosenLibrary();
    if (!library) return;
    CUniverse* source = SourceCells();
    if (!source) return;
    const CPatternOperationResult result = CreateNamedPattern(*source, name_->text().toStdString(), *library);
    if (result.messageId != 0) return Refuse(this, result.message, name_);
    created_ = result.entry;
    QDialog::accept();
}

// ---- Pattern properties

CPatternPropertiesDialog::CPatternPropertiesDialog(CNamedPattern& entry, QWidget* parent)
    : QDialog(parent), entry_(entry) {
    CPattern& pattern = entry.Pattern();
    const bool editable = ArePropertiesEditable(entry);
    type_ = new QComboBox(this);
    const EPatternType shownType = pattern.GetType();
    for (EPatternType type : kDeclarableTypes) {
        type_->addItem(Text(PatternTypeLabel(type)), int(type));
        if (type == shownType) type_->setCurrentIndex(type_->count() - 1);
    }
    period_ = new QLineEdit(QString::number(pattern.Period()), this);
    velocityX_ = new QLineEdit(QString::number(pattern.Velocity().cx), this);
    velocityY_ = new QLineEdit(QString::number(pattern.Velocity().cy), this);
    for (QWidget* field : std::initializer_list<QWidget*>{type_, period_, velocityX_, velocityY_})
        field->setEnabled(editable);
    recognizable_ = new QCheckBox(QStringLiteral("&Recognizable"), this);
    recognizable_->setChecked(pattern.IsRecognizable());
    apgcode_ = new QLabel(QString::fromStdString(PatternApgCode(pattern)), this);
    apgcode_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Full name:"), new QLabel(QString::fromStdString(entry.FullName()), this));
    form->addRow(QStringLiteral("&Type:"), type_);
    form->addRow(QStringLiteral("&Period:"), period_);
    auto* velocity = new QHBoxLayout;
    velocity->addWidget(velocityX_);
    velocity->addWidget(velocityY_);
    auto* velocityLabel = new QLabel(QStringLiteral("&Velocity (x, y):"), this);
    velocityLabel->setBuddy(velocityX_);
    form->addRow(velocityLabel, velocity);
    form->addRow(QStringLiteral("Population:"),
                 new QLabel(QString::number(pattern.Base().Population()), this));
    form->addRow(QStringLiteral("Rule:"),
                 new QLabel(QString::fromStdString(FormatRule(pattern.Base().GetRuleCode())), this));
    form->addRow(QStringLiteral("Apgcode:"), apgcode_);
    form->addRow(recognizable_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    AddHelpButton(*this, *buttons);
    QPushButton* rename = buttons->addButton(QStringLiteral("Re&name..."), QDialogButtonBox::ActionRole);
    connect(rename, &QPushButton::clicked, this, [this] {
        CNameDialog ask(QString::fromStdString(entry_.Name()), this);
        ask.setWindowTitle(Text(MessageText(msg::NewPatternNameTitle)));
        if (ask.exec() == QDialog::Accepted) Rename(QString::fromStdString(ask.Name()));
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    ShowTitle();
}

void CPatternPropertiesDialog::ShowTitle() {
    setWindowTitle(QStringLiteral("Pattern \"%1\"").arg(QString::fromStdString(entry_.Name())));
}

bool CPatternPropertiesDialog::Rename(const QString& name) {
    const CPatternOperationResult result = RenameFromDialog(entry_, name.toStdString());
    if (result.messageId != 0) {
        ShowMessage(this, QMessageBox::Warning, QString::fromStdString(result.message));
        return false;
    }
    ShowTitle();
    return true;
}

void CPatternPropertiesDialog::accept() {
    const auto type = EPatternType(type_->currentData().toInt());
    const CPatternOperationResult result =
        ApplyPatternProperties(entry_, type, period_->text().toStdString(), velocityX_->text().toStdString(),
                               velocityY_->text().toStdString(), recognizable_->isChecked());
    if (result.messageId != 0) return Refuse(this, result.message, period_);
    QDialog::accept();
}

void CPatternPropertiesDialog::reject() {
    CancelPatternProperties(entry_);
    QDialog::reject();
}

void CreatePatternFromDialog(CUniverseWindow& window, std::optional<int32_t>& lastLibrary,
                             CDesktopClipboard* clipboard, QWidget* parent) {
    CCreatePatternDialog create(window, lastLibrary ? FindLibrary(*lastLibrary) : nullptr, clipboard, parent);
    if (create.exec() != QDialog::Accepted || !create.Created()) return;
    lastLibrary = create.ChosenLibrary()->Number();
    CPatternPropertiesDialog properties(*create.Created(), parent);
    properties.exec();
}

}  // namespace tessera::ui
