// Whole rule texts: the program's own notation reads as the notation reader reads it, other programs'
// forms are taken, and anything else is refused with its reason.
#include <gtest/gtest.h>

#include <random>

#include "rules/rule_notation.h"
#include "rules/rule_text.h"
#include "rules_fixture.h"

using namespace tessera;

namespace {
class RuleTextTest : public tessera::test::RulesTest {};
}  // namespace

TEST_F(RuleTextTest, OwnNotationReadsAsTheNotationReaderWhenItIsTheWholeText) {
    // Random texts of the notation's characters, and printed codes read back.
    std::mt19937 random(5);
    const std::string alphabet = "0123456789BS/ ";
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 10, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        if (const std::optional<RuleCode> own = ReadOwnRuleNotation(text)) {
            EXPECT_EQ(ParseRuleText(text), *own) << text;
        }
        const RuleCode moore = (random() & 0x3FDFF) | kNeighbourhoodMask;  // never birth on 0
        const CRuleTextReading back = ReadRuleText(FormatRule(moore));
        EXPECT_TRUE(back.IsRule());
        EXPECT_EQ(moore, back.code);
    }
    EXPECT_FALSE(ReadOwnRuleNotation("23/3x").has_value());
    EXPECT_EQ(HexagonalNeighbourhood(), FindNeighbourhood("Hex")->Code());
    EXPECT_EQ(VonNeumannNeighbourhood(), FindNeighbourhood("von Neumann")->Code());
}

TEST_F(RuleTextTest, TextsThatAreNotWhollyARuleAreRefusedWithTheirReason) {
    using P = ERuleTextProblem;
    const std::pair<const char*, P> cases[] = {
        {"B3/S23garbage", P::NotARule},
        {"23/3 x", P::NotARule},
        {"!23/3", P::NotARule},
        {"23/3\n5", P::NotARule},
        {"B3/S23/2457H", P::NotARule},
        {"Conwy", P::UnknownName},
        {"LifeHistory", P::UnknownName},
        {"B2ce/S12", P::NotTotalistic},
        {"B3/S23-a", P::NotTotalistic},
        {"/2/3", P::MoreThanTwoStates},
        {"345/2/4", P::MoreThanTwoStates},
        {"B2/S/C3", P::MoreThanTwoStates},
        {"B3/S23:T100,100", P::BoundedPlane},
        {"b3/s23:P50,50", P::BoundedPlane},
        {"B03/S23", P::BirthOnZero},
    };
    for (const auto& [text, problem] : cases) {
        const CRuleTextReading reading = ReadRuleText(text);
        EXPECT_EQ(problem, reading.problem) << text;
        EXPECT_NE(0, RuleProblemMessage(reading.problem));
    }
    EXPECT_EQ(kConwayRuleCode, ReadRuleText(" conway ").code);  // a name, as the rules dialog takes it
}
