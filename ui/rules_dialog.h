#pragma once
// "Growth Rules": survival and birth counts, the counted neighbours, the neighbourhood choice and the
// list of known rules, mirroring the rules dialog model.
#include <QDialog>

#include "rules/rules_dialog_model.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;

namespace tessera::ui {

class CRulesDialog : public QDialog {
    Q_OBJECT
public:
    explicit CRulesDialog(RuleCode code, QWidget* parent = nullptr);
    RuleCode Code() const { return model_.Code(); }
    QCheckBox* SurvivalBox(int count) const { return survival_[count]; }
    QCheckBox* BirthBox(int count) const { return birth_[count]; }           // 1..8
    QCheckBox* NeighbourBox(int digit) const { return neighbours_[digit]; }  // 1..8
    QComboBox* RuleCombo() const { return combo_; }
    QButtonGroup* Neighbourhoods() const { return neighbourhood_; }
    // As "Name..." does after the name dialog's OK; false when the name is taken.
    bool NameRule(const QString& name);
    void DeleteName();
    // A text typed into the combo box's field; false (with a beep) when it cannot be read.
    bool TakeText(const QString& text);
    void accept() override;

private:
    void Refresh();

    CRulesDialogModel model_;
    QCheckBox* survival_[9] = {};
    QCheckBox* birth_[9] = {};
    QCheckBox* neighbours_[9] = {};
    QButtonGroup* neighbourhood_;
    QComboBox* combo_;
    QPushButton* delete_;
};

}  // namespace tessera::ui
