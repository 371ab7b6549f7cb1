#pragma once
// CRuleRegistry: the rule and neighbourhood dictionaries with their use counter, anonymous-rule count
// and lookup cache. The application has one (TheRuleRegistry); tests replace it with a fresh one.
#include <optional>
#include <string_view>
#include <unordered_map>

#include "rules/rules.h"

namespace tessera {

class CRuleRegistry {
public:
    // Starts with the built-in neighbourhoods ("Conway", "vonNeumann", "Hex") and rules ("Conway",
    // "High Life", "Three Four", "Day & Night").
    CRuleRegistry();
    CRuleRegistry(const CRuleRegistry&) = delete;
    CRuleRegistry& operator=(const CRuleRegistry&) = delete;

    CRule& GetRule(RuleCode code);
    CRule* FindRuleByCode(RuleCode code);
    CRule* FindRuleByName(std::string_view name) const;
    bool DefineRule(std::string_view name, RuleCode code);
    bool RenameRule(CRule& rule, std::string_view name);
    // Evicts the least recently used anonymous rule when there are more than the limit.
    void TrimAnonymousRules();

    CNeighbourhood* FindNeighbourhood(std::string_view name) const;
    // False, adding nothing, when the name is taken.
    bool AddNeighbourhood(std::string_view name, RuleCode code);

    const CDictScalar<CRule, CName>& Rules() const { return rules_; }
    const CDictScalar<CNeighbourhood, CName>& Neighbourhoods() const { return neighbourhoods_; }
    uint32_t AnonymousCount() const { return anonymousCount_; }
    // The "AnonymousRules" parameter, read on first need and kept for the registry's life.
    uint32_t AnonymousLimit();

private:
    CRule* Insert(CRule* rule);
    void Destroy(CRule* rule);

    CDictScalar<CRule, CName> rules_;
    CDictScalar<CNeighbourhood, CName> neighbourhoods_;
    uint32_t useCounter_ = 1;      // above 0, the stamp of a rule never handed out
    uint32_t anonymousCount_ = 0;  // rules whose name begins with "~"
    std::optional<uint32_t> anonymousLimit_;
    std::unordered_map<RuleCode, CRule*> byCode_;  // one rule per code, so a lookup need not walk them all
    RuleCode cachedCode_ = 0;
    CRule* cachedRule_ = nullptr;
};

// The application's registry, created on first use.
CRuleRegistry& TheRuleRegistry();
// Replaces the application's registry by a fresh one (built-ins only). Every rule reference handed out
// before becomes invalid: for tests and start-up only.
void ResetRuleRegistry();

// The rules of a registry in name order, filtered: anonymous rules only when includeAnonymous, built-in
// rules only when includeBuiltIn. It stands on the first rule that passes from the start.
class CRuleIterator {
public:
    CRuleIterator(bool includeAnonymous, bool includeBuiltIn)
        : CRuleIterator(TheRuleRegistry(), includeAnonymous, includeBuiltIn) {}
    CRuleIterator(const CRuleRegistry& registry, bool includeAnonymous, bool includeBuiltIn);

    CRule* Current() const { return current_; }
    // Moves to the next rule that passes; none at the end.
    CRule* Next();

private:
    CRule* FirstPassingFrom(CRule* rule) const;

    bool includeAnonymous_;
    bool includeBuiltIn_;
    CRule* current_;
};

}  // namespace tessera
