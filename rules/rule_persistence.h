#pragma once
// The user's named rules in the "Rules" section of the configuration file, one key per rule: the name
// and the rule's notation (Life=23/3). Built-in and anonymous rules are never written.
#include <string>

#include "config/param_section.h"
#include "rules/rule_registry.h"

namespace tessera {

inline constexpr const char* kRulesSection = "Rules";

// Names the rule of each entry; an entry whose name is taken is ignored, one whose value the lexer
// rejects is skipped.
class CRuleReader : public CParamReader {
public:
    void OnEntry(const std::string& key, const std::string& value) override;
};

// The named, non-built-in rules in name order.
class CRuleWriter : public CParamWriter {
public:
    CRuleWriter() : rules_(false, false) {}
    bool Next() override;
    std::string Key() override;
    std::string Value() override;

private:
    CRuleIterator rules_;
    bool started_ = false;
};

// Reads the section into the application's rule registry (once, at start-up).
void LoadRules();
// Rewrites the section from the registry; false when the file could not be written (it is then unchanged).
bool SaveRules();

}  // namespace tessera
