#include "rules/rules.h"

namespace tessera {
namespace {

std::vector<std::unique_ptr<CRule>>& Rules() {
    static std::vector<std::unique_ptr<CRule>> rules;
    return rules;
}

}  // namespace

CRule& GetRule(RuleCode code) {
    for (auto& rule : Rules())
        if (rule->Code() == code) return *rule;
    Rules().push_back(std::make_unique<CRule>(CName(), code));
    return *Rules().back();
}

RuleCode DefaultRuleCode() { return kConwayRuleCode; }

}  // namespace tessera
