#include "rules/rules_dialog_model.h"

#include "rules/rule_notation.h"
#include "rules/rule_persistence.h"
#include "rules/rules.h"
#include "text/syntax_exception.h"

namespace tessera {
namespace {

std::optional<RuleCode> NeighbourhoodCode(std::string_view name) {
    if (const CNeighbourhood* n = FindNeighbourhood(name)) return n->Code();
    return std::nullopt;
}

// The boxes the dialog has: survival on 0 to 8, birth on 1 to 8 (never on 0), neighbours 1 to 8.
bool IsSurvivalBox(int count) { return count >= 0 && count <= 8; }
bool IsBirthBox(int count) { return count >= 1 && count <= 8; }
bool IsNeighbourBox(int digit) { return digit >= 1 && digit <= 8; }

}  // namespace

CRulesDialogModel::CRulesDialogModel(RuleCode code)
    : code_(code),
      conway_(NeighbourhoodCode("Conway")),
      vonNeumann_(NeighbourhoodCode("von Neumann")),
      hex_(NeighbourhoodCode("Hex")) {
    GetRule(code);
}

std::string CRulesDialogModel::Text() const { return FormatRule(code_); }

bool CRulesDialogModel::CanDelete() const { return FindRuleByCode(code_) != nullptr; }

bool CRulesDialogModel::SurvivalBox(int count) const {
    return IsSurvivalBox(count) && Survives(code_, count);
}
bool CRulesDialogModel::BirthBox(int count) const { return IsBirthBox(count) && IsBorn(code_, count); }
bool CRulesDialogModel::NeighbourBox(int digit) const {
    return IsNeighbourBox(digit) && ((code_ >> kNeighbourDigitBit[digit]) & 1);
}

ENeighbourhoodChoice CRulesDialogModel::Neighbourhood() const {
    const RuleCode bits = code_ & kNeighbourhoodMask;
    if (conway_ && bits == *conway_) return ENeighbourhoodChoice::Conway;
    if (vonNeumann_ && bits == *vonNeumann_) return ENeighbourhoodChoice::VonNeumann;
    if (hex_ && bits == *hex_) return ENeighbourhoodChoice::Hex;
    return ENeighbourhoodChoice::Other;
}

CRuleList CRulesDialogModel::List() const {
    CRuleList list;
    std::optional<size_t> selected;
    for (CRuleIterator it(true, true); CRule* rule = it.Current(); it.Next()) {
        if (rule->Code() == code_) selected = list.items.size();
        list.items.push_back({DisplayName(*rule), rule->Code()});
    }
    if (!selected) {
        // The current code's text goes before the first anonymous rule that sorts after it.
        const std::string text = FormatRule(code_);
        size_t at = list.items.size();
        size_t index = 0;
        for (CRuleIterator it(true, true); CRule* rule = it.Current(); it.Next(), ++index) {
            if (rule->IsAnonymous() && list.items[index].text.compare(text) > 0) {
                at = index;
                break;
            }
        }
        list.items.insert(list.items.begin() + static_cast<std::ptrdiff_t>(at), {text, code_});
        selected = at;
    }
    list.selected = *selected;
    return list;
}

void CRulesDialogModel::ToggleSurvival(int count) {
    if (IsSurvivalBox(count)) code_ ^= RuleCode{1} << (kSurvivalShift + count);
}
void CRulesDialogModel::ToggleBirth(int count) {
    if (IsBirthBox(count)) code_ ^= RuleCode{1} << (kBirthShift + count);
}
void CRulesDialogModel::ToggleNeighbour(int digit) {
    if (IsNeighbourBox(digit)) code_ ^= RuleCode{1} << kNeighbourDigitBit[digit];
}

void CRulesDialogModel::ChooseNeighbourhood(ENeighbourhoodChoice choice) {
    std::optional<RuleCode> bits;
    switch (choice) {
        case ENeighbourhoodChoice::Conway:
            bits = conway_;
            break;
        case ENeighbourhoodChoice::VonNeumann:
            bits = vonNeumann_;
            break;
        case ENeighbourhoodChoice::Hex:
            bits = hex_;
            break;
        case ENeighbourhoodChoice::Other:
            bits = 0;
            break;
    }
    if (bits) code_ = WithNeighbourhoodOf(code_, *bits);
}

bool CRulesDialogModel::TakeText(std::string_view text) {
    if (const CRule* rule = FindRuleByName(text)) {
        code_ = rule->Code();
        return true;
    }
    try {
        code_ = ParseRuleText(text);
    } catch (const CSyntaxException&) {
        return false;
    }
    return true;
}

bool CRulesDialogModel::Name(std::string_view name) { return DefineRule(name, code_); }

void CRulesDialogModel::Delete() {
    if (CRule* rule = FindRuleByCode(code_)) RenameRule(*rule, "");
}

bool CRulesDialogModel::Ok() {
    GetRule(code_);
    return SaveRules();
}

}  // namespace tessera
