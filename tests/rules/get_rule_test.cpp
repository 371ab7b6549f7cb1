#include <gtest/gtest.h>

#include "rules/rules.h"

using namespace tessera;

TEST(GetRule, OneRulePerCodeWithItsTable) {
    CRule& a = GetRule(kConwayRuleCode);
    CRule& b = GetRule(0x07BC900C);
    EXPECT_NE(&a, &b);
    EXPECT_EQ(&a, &GetRule(kConwayRuleCode));
    EXPECT_EQ(a.Code(), kConwayRuleCode);
    EXPECT_EQ(b.Table(), BuildTransitionTable(0x07BC900C));
    EXPECT_EQ(DefaultRuleCode(), kConwayRuleCode);
}
