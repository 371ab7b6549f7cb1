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

TEST_F(RulesTest, BuiltInNeighbourhoodsAndRules) {
    EXPECT_EQ(FindNeighbourhood("Conway")->Code(), 0x07BC0000u);
    EXPECT_EQ(FindNeighbourhood("von Neumann")->Code(), 0x02A80000u);
    EXPECT_EQ(FindNeighbourhood("HEX")->Code(), 0x06AC0000u);
    EXPECT_EQ(FindNeighbourhood("Moore"), nullptr);
    EXPECT_FALSE(TheRuleRegistry().AddNeighbourhood("vonneumann", 0));

    EXPECT_EQ(RuleNames(), (std::vector<std::string>{"Conway", "Day & Night", "High Life", "Three Four"}));
    const std::pair<const char*, RuleCode> builtIns[] = {{"conway", kConwayRuleCode},
                                                         {"highlife", kHighLife},
                                                         {"three four", kThreeFour},
                                                         {"Day&Night", kDayAndNight}};
    for (auto [name, code] : builtIns) {
        CRule* rule = FindRuleByName(name);
        ASSERT_NE(rule, nullptr) << name;
        EXPECT_EQ(rule->Code(), code);
        EXPECT_TRUE(rule->IsBuiltIn());
        EXPECT_FALSE(rule->IsAnonymous());
        EXPECT_EQ(rule->Table(), BuildTransitionTable(code));
        EXPECT_EQ(FindRuleByCode(code), rule);
        EXPECT_EQ(&GetRule(code), rule);
    }
    EXPECT_EQ(TheRuleRegistry().AnonymousCount(), 0u);
}

TEST_F(RulesTest, GetRuleStampsAndCreatesAnonymousRules) {
    CRule& conway = GetRule(kConwayRuleCode);
    const uint32_t stamp = conway.UseStamp();
    EXPECT_EQ(GetRule(kConwayRuleCode).UseStamp(), stamp);  // already the newest
    GetRule(kHighLife);
    EXPECT_GT(GetRule(kConwayRuleCode).UseStamp(), stamp);

    const RuleCode seeds = ParseRuleText("/2");
    EXPECT_EQ(FindRuleByCode(seeds), nullptr);
    CRule& anonymous = GetRule(seeds);
    EXPECT_EQ(anonymous.Name().Text(), "~/2");
    EXPECT_TRUE(anonymous.IsAnonymous());
    EXPECT_FALSE(anonymous.IsBuiltIn());
    EXPECT_EQ(DisplayName(anonymous), "/2");
    EXPECT_EQ(DisplayName(conway), "Conway");
    EXPECT_EQ(anonymous.Table(), BuildTransitionTable(seeds));
    EXPECT_EQ(TheRuleRegistry().AnonymousCount(), 1u);
    EXPECT_EQ(&GetRule(seeds), &anonymous);

    // The notation finds the anonymous rule by name, ignoring blanks.
    EXPECT_EQ(FindRuleByName("/2"), &anonymous);
    EXPECT_EQ(FindRuleByName(" / 2"), &anonymous);
    EXPECT_EQ(FindRuleByName("23/36"), nullptr);  // High Life holds that code under its own name

    EXPECT_THROW(GetRule(kConwayRuleCode | (1u << 22)), CErrorException);
    EXPECT_THROW(GetRule(kConwayRuleCode | (1u << 27)), CErrorException);
}

TEST_F(RulesTest, DefineAndRenameKeepOneRulePerCode) {
    // Naming a built-in rule's code renames that rule, which stays built in.
    EXPECT_TRUE(DefineRule("Life", kConwayRuleCode));
    CRule* life = FindRuleByName("LIFE");
    ASSERT_NE(life, nullptr);
    EXPECT_EQ(life->Code(), kConwayRuleCode);
    EXPECT_TRUE(life->IsBuiltIn());
    EXPECT_EQ(FindRuleByName("Conway"), nullptr);
    EXPECT_EQ(FindRuleByCode(kConwayRuleCode), life);

    // Taken names, also as "~" + name, are refused and change nothing.
    EXPECT_FALSE(DefineRule("high life", 0x07BC0008));
    EXPECT_FALSE(DefineRule("Life", kHighLife));
    GetRule(ParseRuleText("1/1"));
    EXPECT_FALSE(DefineRule("1/1", kThreeFour));
    EXPECT_FALSE(RenameRule(*FindRuleByName("Three Four"), "highLife"));
    EXPECT_EQ(FindRuleByName("Three Four")->Code(), kThreeFour);
    // "~" starts only the names the registry gives anonymous rules.
    EXPECT_FALSE(DefineRule("~x", 0x07BC0010));
    EXPECT_FALSE(RenameRule(*life, "~x"));

    // A new code with a new name makes a named rule.
    const RuleCode seeds = ParseRuleText("/2");
    EXPECT_TRUE(DefineRule("Seeds", seeds));
    CRule* named = FindRuleByName("seeds");
    ASSERT_NE(named, nullptr);
    EXPECT_FALSE(named->IsAnonymous());
    EXPECT_FALSE(named->IsBuiltIn());
    EXPECT_EQ(named->Table(), BuildTransitionTable(seeds));

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
    EXPECT_TRUE(DefineRule("", seeds));
    EXPECT_TRUE(named->IsAnonymous());
    EXPECT_TRUE(DefineRule("", 0x07BC0010));
    EXPECT_EQ(FindRuleByName("4/")->Code(), 0x07BC0010u);
    EXPECT_EQ(TheRuleRegistry().AnonymousCount(), 3u);
    RenameRule(*FindRuleByName("4/"), "Four");
    EXPECT_EQ(TheRuleRegistry().AnonymousCount(), 2u);
    EXPECT_EQ(RuleNames(), (std::vector<std::string>{"Conway", "Day & Night", "Four", "High Life",
                                                     "Three Four", "~/2", "~1/1"}));
}

// Eviction against a small model: stamps advance on every change of the rule handed out, and beyond
// the limit the anonymous rule with the oldest stamp goes.
TEST_F(RulesTest, AnonymousRulesAreEvictedLeastRecentlyUsedFirst) {
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
            if (anonymous.size() > 8) {
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
    // Named and built-in rules are never evicted.
    EXPECT_EQ(RuleNames().size(), 8u + 5u);
    EXPECT_NE(FindRuleByName("Kept"), nullptr);
}

TEST_F(RulesTest, TheCacheNeverHoldsAnEvictedRule) {
    GetRule(OtherCode(1));
    for (int i = 2; i <= 8; ++i) GetRule(OtherCode(i));
    EXPECT_NE(FindRuleByCode(OtherCode(1)), nullptr);  // cached now, and the oldest
    GetRule(OtherCode(9));
    EXPECT_EQ(FindRuleByCode(OtherCode(1)), nullptr);
    EXPECT_EQ(FindRuleByName("0/1"), nullptr);
    EXPECT_NE(FindRuleByName("1/1"), nullptr);
    EXPECT_EQ(TheRuleRegistry().AnonymousCount(), 8u);
}

// The count of anonymous rules follows renaming, so naming rules neither shrinks the room left for
// anonymous ones nor lets a rule just handed out be evicted.
TEST_F(RulesTest, NamingAnonymousRulesFreesTheirPlaces) {
    for (int i = 1; i <= 8; ++i)
        ASSERT_TRUE(DefineRule("Named" + std::to_string(i), GetRule(OtherCode(i)).Code()));
    EXPECT_EQ(TheRuleRegistry().AnonymousCount(), 0u);
    for (int i = 11; i <= 30; ++i) {
        CRule& rule = GetRule(OtherCode(i));
        ASSERT_EQ(FindRuleByCode(OtherCode(i)), &rule);
        ASSERT_EQ(rule.Code(), OtherCode(i));
    }
    EXPECT_EQ(TheRuleRegistry().AnonymousCount(), 8u);
    int anonymous = 0;
    for (CRuleIterator it(true, false); CRule* r = it.Current(); it.Next()) anonymous += r->IsAnonymous();
    EXPECT_EQ(anonymous, 8);
    for (int i = 1; i <= 8; ++i) EXPECT_NE(FindRuleByName("named" + std::to_string(i)), nullptr);

    // Unnaming counts again.
    EXPECT_TRUE(RenameRule(*FindRuleByName("Named1"), ""));
    EXPECT_EQ(TheRuleRegistry().AnonymousCount(), 9u);
    GetRule(OtherCode(40));
    EXPECT_EQ(TheRuleRegistry().AnonymousCount(), 9u);  // one evicted, one added
}

TEST_F(RulesTest, TheLimitComesFromTheParameter) {
    WriteParameter("AnonymousRules", "2");
    ResetRuleRegistry();
    for (int i = 1; i <= 5; ++i) GetRule(OtherCode(i));
    EXPECT_EQ(TheRuleRegistry().AnonymousLimit(), 2u);
    EXPECT_EQ(RuleNames(), (std::vector<std::string>{"Conway", "Day & Night", "High Life", "Three Four",
                                                     "~02/1", "~2/1"}));
    // Read once: a later change of the file does not move the limit of this registry.
    WriteParameter("AnonymousRules", "4");
    GetRule(OtherCode(6));
    EXPECT_EQ(TheRuleRegistry().AnonymousCount(), 2u);
}

TEST_F(RulesTest, IteratorFilters) {
    DefineRule("Seeds", ParseRuleText("/2"));
    GetRule(OtherCode(3));
    auto names = [](bool anonymous, bool builtIn) {
        std::vector<std::string> out;
        for (CRuleIterator it(anonymous, builtIn); CRule* r = it.Current(); it.Next())
            out.push_back(r->Name().Text());
        return out;
    };
    EXPECT_EQ(names(false, false), (std::vector<std::string>{"Seeds"}));
    EXPECT_EQ(names(true, false), (std::vector<std::string>{"Seeds", "~01/1"}));
    EXPECT_EQ(names(false, true),
              (std::vector<std::string>{"Conway", "Day & Night", "High Life", "Seeds", "Three Four"}));
    CRuleIterator it(false, false);
    EXPECT_EQ(it.Next(), nullptr);
    EXPECT_EQ(it.Next(), nullptr);
}

TEST_F(RulesTest, DefaultRule) {
    EXPECT_EQ(DefaultRuleCode(), kConwayRuleCode);
    WriteParameter("DefaultRule", "B36/S23");
    EXPECT_EQ(DefaultRuleCode(), kHighLife);

    WriteIni("");
    ResetAllParameters();
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
