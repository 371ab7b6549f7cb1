#include "rules/rules.h"

#include "config/parameters.h"
#include "rules/rule_notation.h"
#include "rules/rule_registry.h"

namespace tessera {

CRule::CRule(CName name, RuleCode code)
    : CDictScalarNode(std::move(name)), code_(code), table_(BuildTransitionTable(code)) {}

CRule& GetRule(RuleCode code) { return TheRuleRegistry().GetRule(code); }
CRule* FindRuleByCode(RuleCode code) { return TheRuleRegistry().FindRuleByCode(code); }
CRule* FindRuleByName(std::string_view name) { return TheRuleRegistry().FindRuleByName(name); }
bool DefineRule(std::string_view name, RuleCode code) { return TheRuleRegistry().DefineRule(name, code); }
bool RenameRule(CRule& rule, std::string_view name) { return TheRuleRegistry().RenameRule(rule, name); }
void TrimAnonymousRules() { TheRuleRegistry().TrimAnonymousRules(); }
CNeighbourhood* FindNeighbourhood(std::string_view name) { return TheRuleRegistry().FindNeighbourhood(name); }

std::string DisplayName(const CRule& rule) {
    const std::string& name = rule.Name().Text();
    return rule.IsAnonymous() ? name.substr(1) : name;
}

RuleCode DefaultRuleCode() { return ParseRuleText(params::DefaultRule.GetText()); }

bool SetDefaultRule(RuleCode code) {
    params::DefaultRule.Set(FormatRule(code));  // a rule's text is always a valid value
    return SaveAllParametersIfAuto();
}

}  // namespace tessera
