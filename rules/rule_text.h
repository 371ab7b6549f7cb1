#pragma once
// Reading a whole rule text as people and other programs write it: a known rule name, the program's
// own notation (survival/birth[/neighbours], "B" and "S" letters), the letters in either case and
// either order with or without the slash, a side left out ("B234": no survivals), and the suffixes
// "H" (hexagonal neighbourhood) and "V" (von Neumann). A text that is not entirely one rule is refused
// with the reason, never read as the rule of its first characters.
#include <optional>
#include <string_view>

#include "rules/rule_code.h"

namespace tessera {

enum class ERuleTextProblem {
    None,
    NotARule,           // not a rule in any form the program reads (trailing text included)
    UnknownName,        // a word that names no rule
    NotTotalistic,      // births or survivals that depend on where the neighbours are ("B2ce/S12")
    MoreThanTwoStates,  // a rule of three or more cell states ("/2/3", "B2/S/C3")
    BoundedPlane,       // a bounded or wrapped plane (":T100,100", ":P50,50")
    BirthOnZero,        // births on 0 neighbours, which would fill the empty plane
};

struct CRuleTextReading {
    RuleCode code = 0;
    ERuleTextProblem problem = ERuleTextProblem::None;
    bool IsRule() const { return problem == ERuleTextProblem::None; }
};

// Names are looked up first (as the rules dialog takes a typed text), then the notations.
CRuleTextReading ReadRuleText(std::string_view text);

// The program's own notation (exactly as ParseRule reads it) when it is the whole text.
[[nodiscard]] std::optional<RuleCode> ReadOwnRuleNotation(std::string_view text);

// The message number that explains a problem to the user (0 for none).
int RuleProblemMessage(ERuleTextProblem problem);

// The counted neighbours of the hexagonal and von Neumann suffixes, by neighbour digit.
RuleCode HexagonalNeighbourhood();
RuleCode VonNeumannNeighbourhood();

}  // namespace tessera
