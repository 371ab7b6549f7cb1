#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "foundation/errors.h"
#include "rules/rule_notation.h"
#include "rules/rules_fixture.h"

namespace tessera::test {

namespace {

constexpr RuleCode kHighLife = 0x07BC900C;
constexpr RuleCode kThreeFour = 0x07BC3018;
constexpr RuleCode kDayAndNight = 0x07BF91D8;

// A code that no built-in rule holds: survival on the bits of i, birth on 1.
RuleCode OtherCode(int i) { return kNeighbourhoodMask | 0x400 | static_cast<RuleCode>(i & 0x1FF); }

}  // namespace

TEST_F(RulesTest, DefineAndRenameKeepOneRulePerCode) {
    // Naming a built-in rule's code renames that rule, which stays built in (the rules' loading test).
    EXPECT_TRUE(DefineRule("Life", kConwayRuleCode));
    CRule* life = FindRuleByCode(kConwayRuleCode);

    // Taken names, also as "~" + name, are refused and change nothing.
    EXPECT_FALSE(DefineRule("high life", 0x07BC0008));
    GetRule(ParseRuleText("1/1"));
    EXPECT_FALSE(DefineRule("1/1", kThreeFour));
    EXPECT_FALSE(RenameRule(*FindRuleByName("Three Four"), "highLife"));  // the names below show it kept
    // "~" starts only the names the registry gives anonymous rules.
    EXPECT_FALSE(DefineRule("~x", 0x07BC0010));
    EXPECT_FALSE(RenameRule(*life, "~x"));

    // A new code with a new name makes a named rule.
    const RuleCode seeds = ParseRuleText("/2");
    EXPECT_TRUE(DefineRule("Seeds", seeds));
    CRule* named = FindRuleByName("seeds");

    // An empty name makes a rule anonymous again, under its notation.
    EXPECT_TRUE(RenameRule(*life, ""));
    EXPECT_EQ(life->Name().Text(), "~23/3");
    EXPECT_EQ(DisplayName(*life), "23/3");
    EXPECT_TRUE(life->IsBuiltIn());
    EXPECT_EQ(FindRuleByName("23/3"), life);
    EXPECT_TRUE(RenameRule(*life, "Conway"));
    // A name of blanks only is no name: it unnames, or defines an anonymous rule.
    EXPECT_TRUE(RenameRule(*named, "   "));
    EXPECT_EQ(named->Name().Text(), "~/2");
    EXPECT_TRUE(DefineRule("Seeds", seeds));
    EXPECT_TRUE(DefineRule("", seeds));  // "~/2" below
    EXPECT_TRUE(DefineRule("", 0x07BC0010));
    EXPECT_EQ(TheRuleRegistry().AnonymousCount(), 3u);
    RenameRule(*FindRuleByName("4/"), "Four");
    EXPECT_EQ(TheRuleRegistry().AnonymousCount(), 2u);
    EXPECT_EQ(RuleNames(), (std::vector<std::string>{"Conway", "Day & Night", "Four", "High Life",
                                                     "Three Four", "~/2", "~1/1"}));
}

// Eviction against a small model: stamps advance on every change of the rule handed out, and beyond
// the limit the parameter sets the anonymous rule with the oldest stamp goes.
TEST_F(RulesTest, AnonymousRulesAreEvictedLeastRecentlyUsedFirst) {
    constexpr size_t kLimit = 5;
    WriteParameter("AnonymousRules", std::to_string(kLimit));
    ResetRuleRegistry();
    std::mt19937 rng(99);
    ASSERT_TRUE(DefineRule("Kept", OtherCode(0)));
    // The model starts from the registry's stamps after its built-ins.
    std::map<RuleCode, uint32_t> stamps;  // every rule of the model
    std::set<RuleCode> anonymous;
    for (CRuleIterator it(true, true); CRule* r = it.Current(); it.Next()) stamps[r->Code()] = r->UseStamp();
    uint32_t counter = GetRule(kConwayRuleCode).UseStamp();
    stamps[kConwayRuleCode] = counter;

    for (int step = 0; step < 3000; ++step) {
        const RuleCode code = OtherCode(static_cast<int>(rng() % 24));
        CRule& rule = GetRule(code);
        ASSERT_EQ(rule.Code(), code);
        if (auto it = stamps.find(code); it != stamps.end()) {
            if (it->second != counter) it->second = ++counter;
        } else {
            stamps[code] = ++counter;
            anonymous.insert(code);
            if (anonymous.size() > kLimit) {
                RuleCode oldest =
                    *std::min_element(anonymous.begin(), anonymous.end(),
                                      [&](RuleCode a, RuleCode b) { return stamps[a] < stamps[b]; });
                anonymous.erase(oldest);
                stamps.erase(oldest);
            }
        }
        ASSERT_EQ(rule.UseStamp(), counter);
        std::set<RuleCode> actual;
        for (CRuleIterator it(true, false); CRule* r = it.Current(); it.Next()) {
            if (r->IsAnonymous()) actual.insert(r->Code());
            ASSERT_EQ(r->UseStamp(), stamps[r->Code()]);
        }
        ASSERT_EQ(actual, anonymous) << "step " << step;
        ASSERT_EQ(TheRuleRegistry().AnonymousCount(), anonymous.size());
    }
    // Named and built-in rules are never evicted: the four built-in ones and "Kept".
    EXPECT_EQ(RuleNames().size(), kLimit + 5u);
    // The limit is read once: a later change of the file does not move the limit of this registry.
    WriteParameter("AnonymousRules", "8");
    GetRule(OtherCode(30));
    EXPECT_EQ(TheRuleRegistry().AnonymousCount(), kLimit);
}

TEST_F(RulesTest, DefaultRule) {
    EXPECT_EQ(DefaultRuleCode(), kConwayRuleCode);
    WriteParameter("DefaultRule", "B36/S23");
    EXPECT_EQ(DefaultRuleCode(), kHighLife);
    EXPECT_TRUE(SetDefaultRule(kDayAndNight));
    EXPECT_EQ(DefaultRuleCode(), kDayAndNight);
    EXPECT_NE(ReadIni().find("DefaultRule=34678/3678"), std::string::npos);

    WriteIni("[Parameters]\nAutoSaveConfig=0\n");
    ResetAllParameters();
    EXPECT_TRUE(SetDefaultRule(kThreeFour));
    EXPECT_EQ(DefaultRuleCode(), kThreeFour);
    EXPECT_EQ(ReadIni().find("DefaultRule"), std::string::npos);
}

}  // namespace tessera::test
