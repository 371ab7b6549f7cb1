#include "rules/rule_registry.h"

#include <memory>

#include "config/parameters.h"
#include "foundation/errors.h"
#include "rules/rule_notation.h"

namespace tessera {
namespace {

// Bits that no rule code carries: the centre cell as a neighbour and everything above the neighbourhood.
constexpr RuleCode kInvalidCodeBits = ~(kSurvivalMask | kBirthMask | kNeighbourhoodMask);

void CheckCode(RuleCode code) {
    if (code & kInvalidCodeBits) throw CErrorException(msg::UnexpectedError, "invalid rule code");
}

// A name that compares equal to the empty name (nothing but blanks) stands for no name at all.
bool IsNoName(std::string_view name) { return CompareNames(name, "") == 0; }

CName AnonymousName(RuleCode code) { return CName("~" + FormatRule(code)); }

struct CBuiltInNeighbourhood {
    const char* name;
    const char* notation;
};
constexpr CBuiltInNeighbourhood kBuiltInNeighbourhoods[] = {
    {"Conway", "//12345678"},
    {"vonNeumann", "//2457"},
    {"Hex", "//124578"},
};

struct CBuiltInRule {
    const char* name;
    const char* notation;
};
constexpr CBuiltInRule kBuiltInRules[] = {
    {"Conway", "23/3"},
    {"High Life", "23/36"},
    {"Three Four", "34/34"},
    {"Day & Night", "B3678/S34678"},
};

std::unique_ptr<CRuleRegistry>& RegistrySlot() {
    static std::unique_ptr<CRuleRegistry> registry;
    return registry;
}

}  // namespace

CRuleRegistry::CRuleRegistry() {
    for (const CBuiltInNeighbourhood& n : kBuiltInNeighbourhoods)
        AddNeighbourhood(n.name, ParseRuleText(n.notation));
    for (const CBuiltInRule& r : kBuiltInRules) {
        const RuleCode code = ParseRuleText(r.notation);
        DefineRule(r.name, code);
        GetRule(code).isBuiltIn_ = true;
    }
}

CRule* CRuleRegistry::FindRuleByCode(RuleCode code) {
    if (cachedRule_ && cachedCode_ == code) return cachedRule_;
    const auto found = byCode_.find(code);
    if (found == byCode_.end()) return nullptr;
    cachedCode_ = code;
    cachedRule_ = found->second;
    return found->second;
}

CRule& CRuleRegistry::GetRule(RuleCode code) {
    if (CRule* rule = FindRuleByCode(code)) {
        if (rule->useStamp_ != useCounter_) rule->useStamp_ = ++useCounter_;
        return *rule;
    }
    CheckCode(code);
    auto created = std::make_unique<CRule>(AnonymousName(code), code);
    created->useStamp_ = ++useCounter_;  // the newest stamp: never the one evicted below
    CRule* rule = Insert(created.release());
    ++anonymousCount_;
    TrimAnonymousRules();
    return *rule;
}

CRule* CRuleRegistry::FindRuleByName(std::string_view name) const {
    if (CRule* rule = rules_.Find(CName(std::string(name)))) return rule;
    return rules_.Find(CName("~" + std::string(name)));
}

bool CRuleRegistry::DefineRule(std::string_view name, RuleCode code) {
    if (IsNoName(name)) {
        // Defining no name for a code leaves (or makes) its rule anonymous.
        if (CRule* rule = FindRuleByCode(code)) return RenameRule(*rule, name);
        GetRule(code);
        return true;
    }
    // "~" starts the names of anonymous rules only.
    if (name[0] == '~' || FindRuleByName(name)) return false;
    if (CRule* rule = FindRuleByCode(code)) return RenameRule(*rule, name);
    CheckCode(code);
    Insert(new CRule(CName(std::string(name)), code));
    return true;
}

bool CRuleRegistry::RenameRule(CRule& rule, std::string_view name) {
    const bool toAnonymous = IsNoName(name);
    if (!toAnonymous && (name[0] == '~' || FindRuleByName(name))) return false;
    const bool wasAnonymous = rule.IsAnonymous();
    rules_.Remove(&rule);
    CName oldName = rule.key;
    rule.key = toAnonymous ? AnonymousName(rule.Code()) : CName(std::string(name));
    if (rules_.Insert(&rule)) {
        // Another rule already holds the anonymous name of this code: keep the old name.
        rule.key = std::move(oldName);
        rules_.Insert(&rule);
        return false;
    }
    // The count follows the names, so that the limit holds for the rules that really are anonymous.
    if (wasAnonymous && !rule.IsAnonymous()) --anonymousCount_;
    if (!wasAnonymous && rule.IsAnonymous()) ++anonymousCount_;
    return true;
}

void CRuleRegistry::TrimAnonymousRules() {
    if (anonymousCount_ == 0 || anonymousCount_ <= AnonymousLimit()) return;
    CRule* oldest = nullptr;
    for (CRule* rule = rules_.First(); rule; rule = rules_.Next(rule)) {
        if (rule->IsAnonymous() && (!oldest || rule->useStamp_ < oldest->useStamp_)) oldest = rule;
    }
    if (oldest) Destroy(oldest);
}

uint32_t CRuleRegistry::AnonymousLimit() {
    if (!anonymousLimit_) anonymousLimit_ = params::AnonymousRules.GetUInt();
    return *anonymousLimit_;
}

CNeighbourhood* CRuleRegistry::FindNeighbourhood(std::string_view name) const {
    return neighbourhoods_.Find(CName(std::string(name)));
}

bool CRuleRegistry::AddNeighbourhood(std::string_view name, RuleCode code) {
    auto neighbourhood = std::make_unique<CNeighbourhood>(CName(std::string(name)), code);
    if (neighbourhoods_.Insert(neighbourhood.get())) return false;
    static_cast<void>(neighbourhood.release());  // the dictionary owns it now
    return true;
}

CRule* CRuleRegistry::Insert(CRule* rule) {
    if (rules_.Insert(rule)) {
        delete rule;
        throw CErrorException(msg::UnexpectedError, "duplicate rule name");
    }
    byCode_[rule->Code()] = rule;
    return rule;
}

void CRuleRegistry::Destroy(CRule* rule) {
    rules_.Remove(rule);
    byCode_.erase(rule->Code());
    if (cachedRule_ == rule) cachedRule_ = nullptr;
    if (rule->IsAnonymous()) --anonymousCount_;
    delete rule;
}

CRuleRegistry& TheRuleRegistry() {
    auto& slot = RegistrySlot();
    if (!slot) slot = std::make_unique<CRuleRegistry>();
    return *slot;
}

void ResetRuleRegistry() {
    auto& slot = RegistrySlot();
    slot.reset();
    slot = std::make_unique<CRuleRegistry>();
}

CRuleIterator::CRuleIterator(const CRuleRegistry& registry, bool includeAnonymous, bool includeBuiltIn)
    : includeAnonymous_(includeAnonymous),
      includeBuiltIn_(includeBuiltIn),
      current_(FirstPassingFrom(registry.Rules().First())) {}

CRule* CRuleIterator::FirstPassingFrom(CRule* rule) const {
    while (rule && ((rule->IsAnonymous() && !includeAnonymous_) || (rule->IsBuiltIn() && !includeBuiltIn_)))
        rule = CDictScalar<CRule, CName>::Next(rule);
    return rule;
}

CRule* CRuleIterator::Next() {
    if (current_) current_ = FirstPassingFrom(CDictScalar<CRule, CName>::Next(current_));
    return current_;
}

}  // namespace tessera
