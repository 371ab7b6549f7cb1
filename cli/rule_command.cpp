// tessera-cli rule TEXT...: reads each text as the rules dialog reads a typed text (a rule name
// first, else rule notation) and prints the rule's code, notation and name.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/rule_command.h"

#include "cli/commands.h"
#include "text/syntax_exception.h"
#include "rules/rule_notation.h"
#include "rules/rule_persistence.h"
#include "rules/rules.h"

namespace tessera::cli {

int RunRuleCommand(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::cerr << "usage: tessera-cli rule TEXT...\n";
        return kExitUsage;
    }
    LoadRules();
    for (const std::string& text : args) {
        RuleCode code = 0;
        if (const CRule* named = FindRuleByName(text)) {
            code = named->Code();
        } else {
            try {
                code = ParseRuleText(text);
            } catch (const CSyntaxException& e) {
                std::cerr << "tessera-cli rule: cannot read the rule '" << text << "': " << e.what() << "\n";
                return kExitFailed;
            }
        }
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
        std::cout << "code=" << hex << " rule=" << FormatRule(code) << " name=" << DisplayName(GetRule(code))
                  << "\n";
    }
    return kExitOk;
}

}  // namespace tessera::cli
