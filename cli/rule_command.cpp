// tessera-cli rule TEXT...: reads each text as the rules dialog reads a typed text (a rule name
// first, else a rule in any form the readers take) and prints the rule's code, notation and name.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/rule_command.h"

#include "cli/commands.h"
#include "cli/rule_option.h"
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
    // Every text is read before anything is printed: one that is no rule is a usage error.
    std::vector<RuleCode> codes;
    for (const std::string& text : args) {
        std::string problem;
        const std::optional<RuleCode> code = ReadRuleArgument(text, problem);
        if (!code) {
            std::cerr << "tessera-cli rule: " << problem << "\nusage: tessera-cli rule TEXT...\n";
            return kExitUsage;
        }
        codes.push_back(*code);
    }
    for (const RuleCode code : codes) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
        std::cout << "code=" << hex << " rule=" << FormatRule(code) << " name=" << DisplayName(GetRule(code))
                  << "\n";
    }
    return kExitOk;
}

}  // namespace tessera::cli
