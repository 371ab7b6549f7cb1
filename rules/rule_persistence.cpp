#include "rules/rule_persistence.h"

#include "text/lex.h"
#include "rules/rule_notation.h"

namespace tessera {

void CRuleReader::OnEntry(const std::string& key, const std::string& value) {
    RuleCode code = 0;
    try {
        CLex lex(value);
        code = ParseRule(lex);
    } catch (const CSyntaxException&) {
        return;
    }
    DefineRule(key, code);  // a name already in use keeps its rule
}

bool CRuleWriter::Next() {
    if (started_) rules_.Next();
    started_ = true;
    return rules_.Current() != nullptr;
}

std::string CRuleWriter::Key() { return rules_.Current()->Name().Text(); }

std::string CRuleWriter::Value() { return FormatRule(rules_.Current()->Code()); }

void LoadRules() {
    CRuleReader reader;
    ReadSection(kRulesSection, "", reader);
}

bool SaveRules() {
    CRuleWriter writer;
    return WriteSection(kRulesSection, writer);
}

}  // namespace tessera
