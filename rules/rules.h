#pragma once
// Growth rules: one CRule object per rule code in use, each with its precomputed transition table.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/name.h"
#include "rules/rule_code.h"

namespace tessera {

class CRule {
public:
    CRule(CName name, RuleCode code) : name_(std::move(name)), code_(code), table_(BuildTransitionTable(code)) {}

    const CName& Name() const { return name_; }
    RuleCode Code() const { return code_; }
    const TransitionTable& Table() const { return table_; }

private:
    CName name_;
    RuleCode code_;
    TransitionTable table_;
};

// The rule object for a code, created on first use; the reference stays valid while the rule is in use.
CRule& GetRule(RuleCode code);

// The rule code given to universes made without a rule of their own.
RuleCode DefaultRuleCode();

}  // namespace tessera
