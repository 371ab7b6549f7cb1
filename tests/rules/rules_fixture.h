#pragma once
// A fresh rule registry over a temporary configuration file for each test.
#include "rules/rule_registry.h"
#include "support/temp_folder.h"

namespace tessera::test {

class RulesTest : public TempConfigTest {
protected:
    void SetUp() override {
        TempConfigTest::SetUp();
        ResetRuleRegistry();
    }
    void TearDown() override {
        ResetRuleRegistry();
        TempConfigTest::TearDown();
    }

    // Names of the rules in dictionary order.
    static std::vector<std::string> RuleNames() {
        std::vector<std::string> names;
        for (CRuleIterator it(true, true); it.Current(); it.Next())
            names.push_back(it.Current()->Name().Text());
        return names;
    }
};

}  // namespace tessera::test
