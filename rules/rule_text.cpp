#include "rules/rule_text.h"

#include <algorithm>
#include <optional>
#include <string>

#include "foundation/messages.h"
#include "rules/rule_notation.h"
#include "rules/rules.h"
#include "text/lex.h"

namespace tessera {
namespace {

using Problem = ERuleTextProblem;

constexpr std::string_view kBlanks = " \t\r\n";
// Characters no rule text holds: line breaks would let the tokenizer read further lines, and a line
// that starts with '!' or '|' is a comment to it.
constexpr std::string_view kNeverInRules("\r\n!|\0", 5);
// The letters of the non-totalistic notations, which name where the counted neighbours stand.
constexpr std::string_view kPlacementLetters = "cekainyqjrtwz";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string_view Trim(std::string_view text) {
    const size_t begin = text.find_first_not_of(kBlanks);
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

RuleCode NeighbourhoodOfDigits(std::string_view digits) {
    RuleCode code = 0;
    for (char d : digits) code |= RuleCode{1} << kNeighbourDigitBit[d - '0'];
    return code;
}

// "b3/s23" reads as "B3/S23": only the side letters change case.
std::string FoldSideLetters(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == 'b' || c == 's') c = Upper(c);
    return out;
}

// "B3S23" and "S23B3" stand for "B3/S23" and "S23/B3".
std::string WithSlashBetweenSides(std::string text) {
    if (text.find('/') != std::string::npos) return text;
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos || (text[first] != 'B' && text[first] != 'S')) return text;
    const size_t other = text.find(text[first] == 'B' ? 'S' : 'B', first + 1);
    if (other != std::string::npos) text.insert(other, 1, '/');
    return text;
}

// A birth list led by the letter B that holds a 0.
bool BirthListHoldsZero(std::string_view folded) {
    for (size_t at = folded.find('B'); at != std::string_view::npos; at = folded.find('B', at + 1)) {
        for (size_t i = at + 1; i < folded.size() && (IsDigit(folded[i]) || folded[i] == ' '); ++i)
            if (folded[i] == '0') return true;
    }
    return false;
}

// The states notation of multi-state rules ("/2/3", "345/2/4", "12/34/21") has the number of states
// as its third part, where the program's own notation lists the counted neighbours. A third part that
// is no neighbour list (digits out of order, 0 or 9), or one single neighbour under counts that one
// neighbour can never reach, is a number of states.
bool ThirdPartCountsStates(std::string_view folded, RuleCode code) {
    const size_t second = folded.find('/', folded.find('/') + 1);
    std::string digits;
    for (char c : folded.substr(second + 1))
        if (IsDigit(c)) digits += c;
    if (digits.empty()) return false;  // a neighbour part naming none is written as "23/3/"
    for (size_t i = 0; i < digits.size(); ++i)
        if (digits[i] == '0' || digits[i] == '9' || (i > 0 && digits[i] <= digits[i - 1])) return true;
    if (digits.size() > 1) return false;
    for (int n = 2; n <= 8; ++n)
        if (Survives(code, n) || IsBorn(code, n)) return true;
    return false;
}

bool HasPlacementLetters(std::string_view text) {
    for (size_t i = 1; i < text.size(); ++i) {
        const bool afterCount =
            IsDigit(text[i - 1]) || (text[i - 1] == '-' && i >= 2 && IsDigit(text[i - 2]));
        if (afterCount && kPlacementLetters.find(text[i]) != std::string_view::npos) return true;
    }
    return false;
}

// A third part that counts states: "B2/S/C3", "2/3/4".
bool HasStatesPart(std::string_view text) {
    const size_t first = text.find('/');
    if (first == std::string_view::npos) return false;
    const size_t second = text.find('/', first + 1);
    if (second == std::string_view::npos) return false;
    const std::string_view third = Trim(text.substr(second + 1));
    return !third.empty() && (IsDigit(third[0]) || Upper(third[0]) == 'C' || Upper(third[0]) == 'G');
}

bool LooksLikeName(std::string_view text) {
    if (text.empty() || !IsLetter(text[0])) return false;
    for (char c : text)
        if (IsDigit(c) || c == '/') return false;
    return true;
}

CRuleTextReading Refused(Problem problem) { return {0, problem}; }

CRuleTextReading ReadNotation(std::string_view text) {
    if (text.find_first_of(kNeverInRules) != std::string_view::npos) return Refused(Problem::NotARule);
    std::string body(text);
    RuleCode suffix = 0;
    if (body.size() >= 2 && (IsDigit(body[body.size() - 2]) || body[body.size() - 2] == '/')) {
        const char last = Upper(body.back());
        if (last == 'H') suffix = HexagonalNeighbourhood();
        if (last == 'V') suffix = VonNeumannNeighbourhood();
        if (suffix != 0) body.pop_back();
    }
    const std::string folded = WithSlashBetweenSides(FoldSideLetters(body));
    const size_t slashes = static_cast<size_t>(std::count(folded.begin(), folded.end(), '/'));
    if (const std::optional<RuleCode> own = ReadOwnRuleNotation(folded)) {
        RuleCode code = *own;
        if (suffix != 0) {
            if (slashes >= 2) return Refused(Problem::NotARule);  // a suffix and a neighbour list
            code = WithNeighbourhoodOf(code, suffix);
        }
        if (BirthListHoldsZero(folded)) return Refused(Problem::BirthOnZero);
        if (slashes >= 2 && ThirdPartCountsStates(folded, code)) return Refused(Problem::MoreThanTwoStates);
        return {code, Problem::None};
    }
    if (HasStatesPart(text)) return Refused(Problem::MoreThanTwoStates);
    if (HasPlacementLetters(text)) return Refused(Problem::NotTotalistic);
    return Refused(LooksLikeName(text) ? Problem::UnknownName : Problem::NotARule);
}

}  // namespace

std::optional<RuleCode> ReadOwnRuleNotation(std::string_view text) {
    if (text.find_first_of(kNeverInRules) != std::string_view::npos) return std::nullopt;
    try {
        CLex lex(text);
        const RuleCode code = ParseRule(lex);
        if (lex.Kind() != TokEndOfFile) return std::nullopt;
        return code;
    } catch (const CSyntaxException&) {
        return std::nullopt;
    }
}

RuleCode HexagonalNeighbourhood() { return NeighbourhoodOfDigits("124578"); }
RuleCode VonNeumannNeighbourhood() { return NeighbourhoodOfDigits("2457"); }

CRuleTextReading ReadRuleText(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    if (!trimmed.empty())
        if (const CRule* named = FindRuleByName(trimmed)) return {named->Code(), Problem::None};
    if (const size_t colon = trimmed.find(':'); colon != std::string_view::npos) {
        CRuleTextReading plane = ReadNotation(Trim(trimmed.substr(0, colon)));
        if (plane.IsRule()) plane = Refused(Problem::BoundedPlane);
        return plane;
    }
    return ReadNotation(trimmed);
}

int RuleProblemMessage(ERuleTextProblem problem) {
    switch (problem) {
        case Problem::None:
            return 0;
        case Problem::NotARule:
            return msg::RuleTextNotARule;
        case Problem::UnknownName:
            return msg::RuleTextUnknownName;
        case Problem::NotTotalistic:
            return msg::RuleTextNotTotalistic;
        case Problem::MoreThanTwoStates:
            return msg::RuleTextManyStates;
        case Problem::BoundedPlane:
            return msg::RuleTextBoundedPlane;
        case Problem::BirthOnZero:
            return msg::RuleTextBirthOnZero;
    }
    return msg::RuleTextNotARule;
}

}  // namespace tessera
