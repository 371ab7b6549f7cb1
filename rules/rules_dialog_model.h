#pragma once
// What the rules dialog does to the rule dictionary, without any window: it works on one current
// rule code, shows it as check boxes, neighbourhood choices and a list of the known rules, and names,
// unnames and finally saves rules. A front end mirrors these states in its controls.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rules/rule_code.h"

namespace tessera {

enum class ENeighbourhoodChoice { Conway, VonNeumann, Hex, Other };

struct CRuleListItem {
    std::string text;
    RuleCode code;
    friend bool operator==(const CRuleListItem&, const CRuleListItem&) = default;
};

struct CRuleList {
    std::vector<CRuleListItem> items;
    size_t selected = 0;  // the item of the current code
};

class CRulesDialogModel {
public:
    // Makes sure the code has a rule, freshly stamped as used.
    explicit CRulesDialogModel(RuleCode code);

    RuleCode Code() const { return code_; }
    // The text of the combo box's edit field.
    std::string Text() const;
    // "Delete" is enabled when a rule holds the current code.
    bool CanDelete() const;

    bool SurvivalBox(int count) const;   // 0..8
    bool BirthBox(int count) const;      // 1..8
    bool NeighbourBox(int digit) const;  // 1..8, reading order around the centre
    ENeighbourhoodChoice Neighbourhood() const;
    // Every rule under its display name in dictionary order, and the current code's text when no rule
    // holds it.
    CRuleList List() const;

    void ToggleSurvival(int count);
    void ToggleBirth(int count);
    void ToggleNeighbour(int digit);
    // A named neighbourhood replaces the code's neighbourhood; Other clears it.
    void ChooseNeighbourhood(ENeighbourhoodChoice choice);
    void Pick(const CRuleListItem& item) { code_ = item.code; }
    // A typed text: a rule name, else rule notation. False (the dialog beeps) when the text cannot be
    // read; the code is then unchanged.
    bool TakeText(std::string_view text);
    // "Name...": false when the name is taken (nothing changes).
    bool Name(std::string_view name);
    // "Delete": the current code's rule loses its name.
    void Delete();
    // OK: the code gets its rule and the named rules are saved; false when the file could not be written.
    bool Ok();

private:
    RuleCode code_;
    std::optional<RuleCode> conway_, vonNeumann_, hex_;
};

}  // namespace tessera
