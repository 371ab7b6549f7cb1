#pragma once
// A rule given on the command line: a rule name or a whole rule text in any form the readers take.
#include <optional>
#include <string>

#include "rules/rule_code.h"

namespace tessera::cli {

// The rule, or none with problem set to the text quoted and the reason it is refused.
[[nodiscard]] std::optional<RuleCode> ReadRuleArgument(const std::string& text, std::string& problem);

}  // namespace tessera::cli
