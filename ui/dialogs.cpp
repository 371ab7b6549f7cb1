#include "ui/dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cctype>

#include "config/parameters.h"
#include "foundation/memory_figures.h"
#include "games/cancel_box.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "ui/dialog_help.h"
#include "ui/message_sink.h"

namespace tessera::ui {
namespace {

constexpr int kMaxNameLength = 255;

QDialogButtonBox* OkCancelHelp(QDialog* dialog, bool help) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    if (help) AddHelpButton(*dialog, *buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// A decimal number above zero that fits a generation number; 0 for anything else.
int32_t PositiveNumber(const QString& text) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok && value > 0 && value <= INT32_MAX ? int32_t(value) : 0;
}

}  // namespace

// ---- Goto Generation

CGotoDialog::CGotoDialog(CGotoMemory& memory, const CGame& game, QWidget* parent)
    : QDialog(parent), memory_(memory), gameSerial_(game.Serial()) {
    setWindowTitle(QStringLiteral("Goto Generation"));
    generation_ = new QLineEdit(this);
    interval_ = new QLineEdit(this);
    auto* onlyAtEnd = new QRadioButton(QStringLiteral("Only at &end"), this);
    auto* every = new QRadioButton(QStringLiteral("E&very"), this);
    display_ = new QButtonGroup(this);
    display_->addButton(onlyAtEnd, 0);
    display_->addButton(every, 1);
    auto* group = new QGroupBox(QStringLiteral("Display..."), this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(onlyAtEnd);
    auto* everyRow = new QHBoxLayout;
    everyRow->addWidget(every);
    everyRow->addWidget(interval_);
    everyRow->addWidget(new QLabel(QStringLiteral("generations"), this));
    groupLayout->addLayout(everyRow);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Goto Generation:"), generation_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(group);
    layout->addWidget(OkCancelHelp(this, true));

    SetEvery(memory_.interval > 0);
    if (memory_.interval > 0) interval_->setText(QString::number(memory_.interval));
    if (!(memory_.hasGame && memory_.gameSerial == gameSerial_)) memory_.target = 0;
    if (memory_.target != 0) generation_->setText(QString::number(memory_.target));
    generation_->setFocus();
    generation_->selectAll();
}

void CGotoDialog::SetEvery(bool every) { display_->button(every ? 1 : 0)->setChecked(true); }

void CGotoDialog::accept() {
    const int32_t target = PositiveNumber(generation_->text());
    if (target == 0) {
        ShowMessage(this, QMessageBox::Warning,
                    QStringLiteral("Generation must be a number greater than zero."));
        return;
    }
    int32_t interval = 0;
    if (display_->checkedId() == 1) {
        interval = PositiveNumber(interval_->text());
        if (interval == 0) {
            ShowMessage(this, QMessageBox::Warning,
                        QStringLiteral("Display interval must be a number greater than zero."));
            return;
        }
    }
    memory_ = {target, interval, gameSerial_, true};
    QDialog::accept();
}

// ---- Name

bool IsValidGameName(const std::string& name) {
    if (name.empty() || name.size() > kMaxNameLength) return false;
    const auto letterOrDigit = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    if (!letterOrDigit(name[0])) return false;
    for (char c : name)
        if (!letterOrDigit(c) && c != ' ' && c != '-' && c != '_' && c != '#') return false;
    return true;
}

QString InvalidNameText() {
    return QStringLiteral(
        "That is not a valid name.\n(Names must begin with a letter or digit, and can contain in addition\n"
        "only space and any of \"-,#$\")");
}

CNameDialog::CNameDialog(const QString& name, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Name"));
    field_ = new QLineEdit(name, this);
    field_->setMaxLength(kMaxNameLength);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Name"), field_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelHelp(this, false));
    field_->selectAll();
}

std::string CNameDialog::Name() const { return field_->text().trimmed().toStdString(); }

void CNameDialog::accept() {
    if (!IsValidGameName(Name())) {
        ShowMessage(this, QMessageBox::Warning, InvalidNameText());
        return;
    }
    QDialog::accept();
}

CNameInUseDialog::CNameInUseDialog(CGame& other, const QString& name, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Name Already In Use"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Name \"%1\" is already being used for the game below:").arg(name), this));
    layout->addWidget(new QLabel(QStringLiteral("%1: generation %2, population %3")
                                     .arg(QString::fromStdString(other.Title(true)))
                                     .arg(other.Generation())
                                     .arg(other.Population()),
                                 this));
    newName_ = new QLineEdit(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("New name:"), newName_);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Ok);
    const auto add = [&](const char* text, int code) {
        QPushButton* button = buttons->addButton(QString::fromUtf8(text), QDialogButtonBox::ActionRole);
        connect(button, &QPushButton::clicked, this, [this, code] { done(code); });
    };
    add("Rename Other", kRenameOther);
    add("Un-name Other", kUnnameOther);
    add("Delete Other", kDeleteOther);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

// ---- Select Game

CSelectGameDialog::CSelectGameDialog(const CGameRegistry& games, const CGame* current,
                                     uint32_t lastReadSerial, QWidget* parent)
    : QDialog(parent),
      games_(games),
      currentSerial_(current ? current->Serial() : 0),
      lastReadSerial_(lastReadSerial) {
    setWindowTitle(QStringLiteral("Select Game"));
    list_ = new QListWidget(this);
    originator_ = new QLabel(this);
    description_ = new QLabel(this);
    description_->setWordWrap(true);
    description_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const auto radios = [this](const char* title, std::initializer_list<const char*> texts,
                               QButtonGroup*& group) {
        auto* box = new QGroupBox(QString::fromUtf8(title), this);
        auto* row = new QHBoxLayout(box);
        group = new QButtonGroup(this);
        int id = 0;
        for (const char* text : texts) {
            auto* radio = new QRadioButton(QString::fromUtf8(text), box);
            group->addButton(radio, id++);
            row->addWidget(radio);
        }
        group->button(0)->setChecked(true);
        return box;
    };
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Originator:"), originator_);
    form->addRow(QStringLiteral("Description:"), description_);
    layout->addLayout(form);
    layout->addWidget(radios("Show games:", {"All", "Named", "Last read"}, show_));
    layout->addWidget(radios("Show generation:", {"First", "Current", "Last"}, generation_));
    generation_->button(kCurrent)->setChecked(true);
    layout->addWidget(OkCancelHelp(this, true));
    connect(show_, &QButtonGroup::idClicked, this, [this] { Fill(); });
    connect(list_, &QListWidget::currentRowChanged, this, [this] { ShowDetails(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    Fill();
}

void CSelectGameDialog::SetShow(EShow show) {
    show_->button(show)->setChecked(true);
    Fill();
}

void CSelectGameDialog::Fill() {
    list_->clear();
    const int show = show_->checkedId();
    games_.ForEachGame([&](const CGame& game) {
        if (show == kNamed && !game.IsNamed()) return;
        if (show == kLastRead && game.Serial() < lastReadSerial_) return;
        auto* item = new QListWidgetItem(QString::fromStdString(game.Title(true)), list_);
        item->setData(Qt::UserRole, game.Serial());
        if (game.Serial() == currentSerial_) list_->setCurrentItem(item);
    });
    ShowDetails();
}

void CSelectGameDialog::ShowDetails() {
    uint32_t serial = 0;
    const CGame* game = SelectedSerial(serial) ? games_.FindGameBySerial(serial) : nullptr;
    originator_->setText(game ? QString::fromStdString(game->Originator()) : QString());
    description_->setText(game ? QString::fromStdString(game->Description()) : QString());
}

bool CSelectGameDialog::SelectedSerial(uint32_t& serial) const {
    const QListWidgetItem* item = list_->currentItem();
    if (!item) return false;
    serial = item->data(Qt::UserRole).toUInt();
    return true;
}

CSelectGameDialog::EGeneration CSelectGameDialog::Generation() const {
    return static_cast<EGeneration>(generation_->checkedId());
}

// ---- Description

CDescriptionDialog::CDescriptionDialog(CGame& game, QWidget* parent) : QDialog(parent), game_(game) {
    setWindowTitle(QStringLiteral("Description: ") + QString::fromStdString(game.Title(true)));
    originator_ = new QLineEdit(QString::fromStdString(game.Originator()), this);
    description_ = new QPlainTextEdit(QString::fromStdString(game.Description()), this);
    showAutomatically_ = new QCheckBox(QStringLiteral("&Display description automatically"), this);
    showAutomatically_->setChecked(params::ShowDescriptions.GetInt() != 0);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Originator:"), originator_);
    auto* edits = new QHBoxLayout;
    const auto edit = [&](const char* text, void (QPlainTextEdit::*slot)()) {
        auto* button = new QPushButton(QString::fromUtf8(text), this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, description_, slot);
        edits->addWidget(button);
    };
    edit("Cu&t", &QPlainTextEdit::cut);
    edit("&Copy", &QPlainTextEdit::copy);
    edit("Select &All", &QPlainTextEdit::selectAll);
    edit("&Paste", &QPlainTextEdit::paste);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(description_);
    layout->addLayout(edits);
    layout->addWidget(showAutomatically_);
    layout->addWidget(OkCancelHelp(this, true));
}

void CDescriptionDialog::accept() {
    game_.SetOriginator(originator_->text().toStdString());
    game_.SetDescription(description_->toPlainText().toStdString());
    params::ShowDescriptions.SetInt(showAutomatically_->isChecked() ? 1 : 0);
    QDialog::accept();
}

// ---- About

CAboutDialog::CAboutDialog(bool greeting, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Tessera"));
    const CMemoryFigures memory = ApplicationMemoryFigures();
    auto* layout = new QVBoxLayout(this);
    if (greeting) layout->addWidget(new QLabel(QStringLiteral("Welcome to Tessera!"), this));
    layout->addWidget(new QLabel(QStringLiteral("Tessera"), this));
    layout->addWidget(new QLabel(QStringLiteral(TESSERA_VERSION " Built: " __DATE__ " " __TIME__), this));
    layout->addWidget(new QLabel(QStringLiteral("Memory Allocated: %1").arg(memory.allocated), this));
    layout->addWidget(new QLabel(QStringLiteral("Memory In Use: %1").arg(memory.inUse), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

// ---- Progress box

CProgressBox::CProgressBox(CCancelBox& box, QWidget* parent) : dialog_(new QDialog(parent)) {
    dialog_->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint);
    title_ = new QLabel(dialog_);
    status_ = new QLabel(dialog_);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog_);
    QObject::connect(cancel, &QPushButton::clicked, dialog_, [&box, cancel] {
        box.Cancel();
        cancel->setEnabled(false);
    });
    auto* layout = new QVBoxLayout(dialog_);
    layout->addWidget(title_);
    layout->addWidget(status_);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    dialog_->show();
}

CProgressBox::~CProgressBox() { delete dialog_.data(); }

void CProgressBox::ShowLines(std::string_view title, std::string_view status) {
    if (!dialog_) return;
    title_->setText(QString::fromUtf8(title.data(), qsizetype(title.size())));
    status_->setText(QString::fromUtf8(status.data(), qsizetype(status.size())));
}

}  // namespace tessera::ui
