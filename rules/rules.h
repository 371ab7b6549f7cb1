#pragma once
// Growth rules: one CRule per rule code in use, held by name in the application's rule dictionary,
// each with the transition table that growth runs on. Rules named by the user or built in keep their
// names; others are anonymous ("~" followed by their notation) and the least recently used of them are
// evicted beyond the AnonymousRules limit. The functions here act on the application-wide registry
// (see rules/rule_registry.h).
#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/dict.h"
#include "foundation/name.h"
#include "rules/rule_code.h"

namespace tessera {

class CRule : public CDictScalarNode<CRule, CName> {
public:
    CRule(CName name, RuleCode code);

    const CName& Name() const { return key; }
    RuleCode Code() const { return code_; }
    const TransitionTable& Table() const { return table_; }
    uint32_t UseStamp() const { return useStamp_; }
    bool IsBuiltIn() const { return isBuiltIn_; }
    bool IsAnonymous() const { return !key.Text().empty() && key.Text()[0] == '~'; }

private:
    friend class CRuleRegistry;
    RuleCode code_;
    TransitionTable table_;
    uint32_t useStamp_ = 0;
    bool isBuiltIn_ = false;
};
using CGrowthRule = CRule;

// A named set of counted neighbour positions (only the neighbourhood bits of code are used).
class CNeighbourhood : public CDictScalarNode<CNeighbourhood, CName> {
public:
    CNeighbourhood(CName name, RuleCode code)
        : CDictScalarNode(std::move(name)), code_(code & kNeighbourhoodMask) {}
    const CName& Name() const { return key; }
    RuleCode Code() const { return code_; }

private:
    RuleCode code_;
};

// The rule of a code, created as an anonymous rule when none holds it; stamps it as used. The reference
// stays valid until the rule is evicted, which never happens to the most recently used rule.
CRule& GetRule(RuleCode code);
CRule* FindRuleByCode(RuleCode code);
// The rule of that name, or else the anonymous rule "~" + name (so a rule's notation finds it).
CRule* FindRuleByName(std::string_view name);
// Names the rule of a code (creating it when needed); false when the name is taken.
bool DefineRule(std::string_view name, RuleCode code);
// Gives the rule a new name, or with an empty name makes it anonymous again; false when the name is taken.
bool RenameRule(CRule& rule, std::string_view name);
void TrimAnonymousRules();
CNeighbourhood* FindNeighbourhood(std::string_view name);

// The name shown to the user: an anonymous rule shows its notation.
std::string DisplayName(const CRule& rule);

// The rule code given to universes made without a rule of their own (parameter "DefaultRule").
RuleCode DefaultRuleCode();
// Changes the "DefaultRule" parameter and saves it when parameters are saved automatically; false when
// the configuration file could not be written.
bool SetDefaultRule(RuleCode code);

}  // namespace tessera
