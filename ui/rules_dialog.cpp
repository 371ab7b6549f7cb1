#include "ui/rules_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/dialog_help.h"
#include "ui/dialogs.h"
#include "ui/message_sink.h"

namespace tessera::ui {
namespace {

constexpr int kCounts = 9;
// The neighbour digits in reading order around the centre of a 3 × 3 grid (0: the centre).
constexpr int kNeighbourAt[3][3] = {{1, 2, 3}, {4, 0, 5}, {6, 7, 8}};
const char* const kNeighbourhoods[] = {"&Conway", "&von Neumann", "&Hex", "&Other"};

}  // namespace

CRulesDialog::CRulesDialog(RuleCode code, QWidget* parent) : QDialog(parent), model_(code) {
    setWindowTitle(QStringLiteral("Growth Rules"));
    auto* counts = new QGroupBox(QStringLiteral("Neighbour counts"), this);
    auto* countGrid = new QGridLayout(counts);
    countGrid->addWidget(new QLabel(QStringLiteral("Survival"), counts), 1, 0);
    countGrid->addWidget(new QLabel(QStringLiteral("Birth"), counts), 2, 0);
    for (int n = 0; n < kCounts; ++n) {
        countGrid->addWidget(new QLabel(QString::number(n), counts), 0, n + 1, Qt::AlignHCenter);
        survival_[n] = new QCheckBox(counts);
        countGrid->addWidget(survival_[n], 1, n + 1, Qt::AlignHCenter);
        connect(survival_[n], &QCheckBox::clicked, this, [this, n] {
            model_.ToggleSurvival(n);
            Refresh();
        });
        if (n == 0) continue;  // no birth without neighbours
        birth_[n] = new QCheckBox(counts);
        countGrid->addWidget(birth_[n], 2, n + 1, Qt::AlignHCenter);
        connect(birth_[n], &QCheckBox::clicked, this, [this, n] {
            model_.ToggleBirth(n);
            Refresh();
        });
    }
    auto* neighbours = new QGroupBox(QStringLiteral("Neighbours"), this);
    auto* neighbourGrid = new QGridLayout(neighbours);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const int digit = kNeighbourAt[row][column];
            if (digit == 0) {
                neighbourGrid->addWidget(new QLabel(QStringLiteral("\u25A0"), neighbours), row, column,
                                         Qt::AlignCenter);
                continue;
            }
            neighbours_[digit] = new QCheckBox(neighbours);
            neighbourGrid->addWidget(neighbours_[digit], row, column, Qt::AlignCenter);
            connect(neighbours_[digit], &QCheckBox::clicked, this, [this, digit] {
                model_.ToggleNeighbour(digit);
                Refresh();
            });
        }
    auto* choices = new QGroupBox(QStringLiteral("Neighbourhood"), this);
    auto* choiceLayout = new QVBoxLayout(choices);
    neighbourhood_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(kNeighbourhoods[i]), choices);
        neighbourhood_->addButton(button, i);
        choiceLayout->addWidget(button);
    }
    connect(neighbourhood_, &QButtonGroup::idClicked, this, [this](int id) {
        model_.ChooseNeighbourhood(ENeighbourhoodChoice(id));
        Refresh();
    });
    combo_ = new QComboBox(this);
    combo_->setEditable(true);
    combo_->setInsertPolicy(QComboBox::NoInsert);
    connect(combo_, &QComboBox::activated, this, [this](int index) {
        model_.Pick({combo_->itemText(index).toStdString(), RuleCode(combo_->itemData(index).toULongLong())});
        Refresh();
    });
    connect(combo_->lineEdit(), &QLineEdit::returnPressed, this, [this] { TakeText(combo_->currentText()); });
    auto* name = new QPushButton(QStringLiteral("&Name..."), this);
    connect(name, &QPushButton::clicked, this, [this] {
        CNameDialog ask({}, this);
        ask.setWindowTitle(QStringLiteral("Rule Name"));
        if (ask.exec() == QDialog::Accepted) NameRule(QString::fromStdString(ask.Name()));
    });
    delete_ = new QPushButton(QStringLiteral("&Delete"), this);
    connect(delete_, &QPushButton::clicked, this, &CRulesDialog::DeleteName);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    AddHelpButton(*this, *buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* ruleRow = new QHBoxLayout;
    ruleRow->addWidget(combo_, 1);
    ruleRow->addWidget(name);
    ruleRow->addWidget(delete_);
    auto* middle = new QHBoxLayout;
    middle->addWidget(neighbours);
    middle->addWidget(choices);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(counts);
    layout->addLayout(middle);
    layout->addLayout(ruleRow);
    layout->addWidget(buttons);
    Refresh();
}

void CRulesDialog::Refresh() {
    for (int n = 0; n < kCounts; ++n) {
        survival_[n]->setChecked(model_.SurvivalBox(n));
        if (birth_[n]) birth_[n]->setChecked(model_.BirthBox(n));
        if (neighbours_[n]) neighbours_[n]->setChecked(model_.NeighbourBox(n));
    }
    neighbourhood_->button(int(model_.Neighbourhood()))->setChecked(true);
    const QSignalBlocker quiet(combo_);
    combo_->clear();
    const CRuleList list = model_.List();
    for (const CRuleListItem& item : list.items)
        combo_->addItem(QString::fromStdString(item.text), QVariant::fromValue(qulonglong(item.code)));
    combo_->setCurrentIndex(int(list.selected));
    combo_->setEditText(QString::fromStdString(model_.Text()));
    delete_->setEnabled(model_.CanDelete());
}

bool CRulesDialog::NameRule(const QString& name) {
    const bool named = model_.Name(name.toStdString());
    Refresh();
    return named;
}

void CRulesDialog::DeleteName() {
    model_.Delete();
    Refresh();
}

bool CRulesDialog::TakeText(const QString& text) {
    if (!model_.TakeText(text.toStdString())) {
        QApplication::beep();
        return false;
    }
    Refresh();
    return true;
}

void CRulesDialog::accept() {
    if (!model_.Ok())
        ShowMessage(this, QMessageBox::Warning, QStringLiteral("The named rules could not be saved."));
    QDialog::accept();
}

}  // namespace tessera::ui
