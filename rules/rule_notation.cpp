#include "rules/rule_notation.h"

#include "text/lex.h"

namespace tessera {
namespace {

enum class EListKind { Survival, Birth, Neighbours };

// A run of digit characters; 9 is never a count, 0 is a count only for survival.
RuleCode ReadDigitList(CLex& lex, EListKind kind) {
    RuleCode bits = 0;
    while (lex.Kind() >= '0' && lex.Kind() <= '9') {
        const int digit = lex.Kind() - '0';
        lex.NextToken();
        if (digit == 9 || (digit == 0 && kind != EListKind::Survival)) continue;
        switch (kind) {
            case EListKind::Survival:
                bits |= RuleCode{1} << (kSurvivalShift + digit);
                break;
            case EListKind::Birth:
                bits |= RuleCode{1} << (kBirthShift + digit);
                break;
            case EListKind::Neighbours:
                bits |= RuleCode{1} << kNeighbourDigitBit[digit];
                break;
        }
    }
    return bits;
}

void AppendDigits(std::string& out, RuleCode bits) {
    for (int n = 0; n <= 8; ++n)
        if ((bits >> n) & 1) out += static_cast<char>('0' + n);
}

}  // namespace

RuleCode ParseRule(CLex& lex) {
    const bool previousWordMode = lex.SetWordMode(false);
    RuleCode code = 0;
    if (lex.AcceptChar('B')) {
        code |= ReadDigitList(lex, EListKind::Birth);
    } else {
        lex.AcceptChar('S');
        code |= ReadDigitList(lex, EListKind::Survival);
    }
    bool neighboursGiven = false;
    if (lex.AcceptChar('/')) {
        if (lex.AcceptChar('S')) {
            code |= ReadDigitList(lex, EListKind::Survival);
        } else {
            lex.AcceptChar('B');
            code |= ReadDigitList(lex, EListKind::Birth);
        }
        if (lex.AcceptChar('/')) {
            code |= ReadDigitList(lex, EListKind::Neighbours);
            neighboursGiven = true;
        }
    }
    // Without a neighbour part every neighbour counts. A neighbour part that names none is kept as
    // written, so that a rule with no counted neighbours reads back as printed ("23/3/").
    if (code != 0 && !neighboursGiven) code |= kNeighbourhoodMask;
    lex.SetWordMode(previousWordMode);
    return code;
}

RuleCode ParseRuleText(std::string_view text) {
    CLex lex(text);
    return ParseRule(lex);
}

std::string FormatRule(RuleCode code) {
    std::string out;
    AppendDigits(out, (code >> kSurvivalShift) & kCountsMask);
    out += '/';
    AppendDigits(out, (code >> kBirthShift) & kCountsMask);
    if ((code & kNeighbourhoodMask) != kNeighbourhoodMask) {
        out += '/';
        for (int digit = 1; digit <= 8; ++digit)
            if ((code >> kNeighbourDigitBit[digit]) & 1) out += static_cast<char>('0' + digit);
    }
    return out;
}

}  // namespace tessera
