#include "cli/rule_option.h"

#include "foundation/messages.h"
#include "rules/rule_text.h"

namespace tessera::cli {

std::optional<RuleCode> ReadRuleArgument(const std::string& text, std::string& problem) {
    const CRuleTextReading reading = ReadRuleText(text);
    // An empty text reads as the empty rule in the notation, but on a command line it is a slip.
    const bool blank = text.find_first_not_of(" \t") == std::string::npos;
    if (reading.IsRule() && !blank) return reading.code;
    const int reason = blank ? msg::RuleTextNotARule : RuleProblemMessage(reading.problem);
    problem = "'" + text + "' cannot be used: " + std::string(MessageText(reason));
    return std::nullopt;
}

}  // namespace tessera::cli
