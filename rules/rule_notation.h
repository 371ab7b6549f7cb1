#pragma once
// The text notation of rule codes: survival digits, "/", birth digits, and optionally "/" and the
// counted neighbour digits 1-8 in reading order (1 is the upper-left neighbour, 8 the lower-right).
// "B3/S23", "S23/B3" and "23/3" all read as the same rule; printing is always survival first.
#include <string>
#include <string_view>

#include "rules/rule_code.h"

namespace tessera {

class CLex;

// The RuleCode bit of each neighbour digit 1-8 (index 0 unused): the digits run over the window from its
// highest bit down, skipping the centre.
inline constexpr int kNeighbourDigitBit[9] = {
    0,
    kNeighbourhoodShift + 8,
    kNeighbourhoodShift + 7,
    kNeighbourhoodShift + 6,
    kNeighbourhoodShift + 5,
    kNeighbourhoodShift + 3,
    kNeighbourhoodShift + 2,
    kNeighbourhoodShift + 1,
    kNeighbourhoodShift + 0,
};

// Reads a rule at the lexer's position and leaves the lexer on the first token the rule did not use,
// in its previous word mode. Text that does not fit the notation ends the rule; it is not an error.
RuleCode ParseRule(CLex& lex);

// A rule from a whole text; a CSyntaxException from the lexer passes to the caller.
RuleCode ParseRuleText(std::string_view text);

std::string FormatRule(RuleCode code);

}  // namespace tessera
