// Fuzz target: rule notation as typed by the user or found after "RULE", "#r" and "rule =".
// Any text gives a rule code or a syntax error; a code with at least one survival or birth digit prints
// as notation that reads back as the same code (a rule with neither prints as "/" or "//", which read as
// no rule).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "rules/rule_notation.h"
#include "text/lex.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tessera::fuzz::UseScratchConfiguration();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tessera;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RuleCode code = 0;
    try {
        code = ParseRuleText(text);
    } catch (const CSyntaxException&) {
        return 0;
    }
    if ((code & 0x3FFFF) == 0) return 0;  // no survival or birth digit
    const std::string printed = FormatRule(code);
    if (ParseRuleText(printed) != code) std::abort();

    // Embedded in a line as the readers meet it, the rule stops where the notation ends.
    CLex lex("RULE " + printed + " ENDPATTERN\n");
    lex.ExpectKeyword("RULE");
    if (ParseRule(lex) != code || !lex.AcceptKeyword("ENDPATTERN")) std::abort();
    return 0;
}
