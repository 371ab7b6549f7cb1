#include <gtest/gtest.h>

#include <random>

#include "rules/rule_notation.h"
#include "rules/rule_persistence.h"
#include "rules/rules_dialog_model.h"
#include "rules/rules_fixture.h"

namespace tessera::test {

namespace {

// The named, non-built-in rules as (name, code).
std::vector<std::pair<std::string, RuleCode>> UserRules() {
    std::vector<std::pair<std::string, RuleCode>> out;
    for (CRuleIterator it(false, false); CRule* r = it.Current(); it.Next())
        out.emplace_back(r->Name().Text(), r->Code());
    return out;
}

}  // namespace

TEST_F(RulesTest, LoadingNamesRulesAndSavingWritesOnlyUserRules) {
    WriteIni(
        "; settings\n[Parameters]\nGridPitch=8\n"
        "[Rules]\nLife=23/3\nseeds=/2\nBad=xyz\nSeeds Too=B2\nConway=34/34\nHigh Life=1/1\nMaze=12345/3\n"
        "[Preload]\nlib=x.lfl\n");
    LoadRules();
    // Life renames the built-in Conway rule; the second name for /2 renames the first; once Conway is
    // free, its name can be given to another code; a taken name is ignored.
    EXPECT_EQ(FindRuleByName("Life")->Code(), kConwayRuleCode);
    EXPECT_EQ(FindRuleByName("Seeds"), nullptr);
    EXPECT_EQ(FindRuleByName("seedstoo")->Code(), ParseRuleText("/2"));
    EXPECT_EQ(FindRuleByName("Conway")->Code(), 0x07BC3018u);
    EXPECT_EQ(FindRuleByName("High Life")->Code(), 0x07BC900Cu);
    EXPECT_EQ(FindRuleByCode(ParseRuleText("1/1")), nullptr);
    EXPECT_EQ(FindRuleByName("Bad")->Code(), 0u);  // not a rule at all: the grammar reads code 0

    // The section is deleted and written anew, so it moves to the end of the file.
    ASSERT_TRUE(SaveRules());
    EXPECT_EQ(ReadIni(),
              "; settings\n[Parameters]\nGridPitch=8\n"
              "[Preload]\nlib=x.lfl\n"
              "[Rules]\nBad=//\nMaze=12345/3\nSeeds Too=/2\n");
}

TEST_F(RulesTest, SavedRulesLoadBackUnchanged) {
    std::mt19937 rng(5);
    for (int i = 0; i < 40; ++i) {
        RuleCode code = (rng() & 0x3FDFF) | ((rng() << 18) & kNeighbourhoodMask);
        if ((code & 0x3FFFF) == 0) continue;
        DefineRule("Rule " + std::to_string(rng() % 1000) + (i % 2 ? "x" : "Y"), code);
    }
    GetRule(ParseRuleText("5/5"));  // anonymous: not saved
    const auto before = UserRules();
    ASSERT_GT(before.size(), 20u);
    ASSERT_TRUE(SaveRules());
    const std::string file = ReadIni();
    EXPECT_EQ(file.find("5/5"), std::string::npos);
    EXPECT_EQ(file.find("Conway"), std::string::npos);

    ResetRuleRegistry();
    LoadRules();
    EXPECT_EQ(UserRules(), before);
    ASSERT_TRUE(SaveRules());
    EXPECT_EQ(ReadIni(), file);
}

TEST_F(RulesTest, SavingWithNoUserRulesRemovesTheSection) {
    WriteIni("[Rules]\nLife=23/3\n[Other]\na=1\n");
    LoadRules();
    EXPECT_TRUE(SaveRules());
    EXPECT_EQ(ReadIni().find("Life"), std::string::npos);
    EXPECT_NE(ReadIni().find("[Other]\na=1"), std::string::npos);
}

TEST_F(RulesTest, DialogShowsTheCurrentCode) {
    const RuleCode seeds = ParseRuleText("/2");
    CRulesDialogModel dialog(seeds);  // opening makes the code's rule
    EXPECT_EQ(FindRuleByName("/2")->Code(), seeds);
    EXPECT_TRUE(dialog.CanDelete());
    EXPECT_EQ(dialog.Text(), "/2");
    for (int n = 0; n <= 8; ++n) EXPECT_FALSE(dialog.SurvivalBox(n));
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(dialog.BirthBox(n), n == 2);
    for (int d = 1; d <= 8; ++d) EXPECT_TRUE(dialog.NeighbourBox(d));
    EXPECT_EQ(dialog.Neighbourhood(), NeighbourhoodChoice::Conway);

    dialog.ToggleSurvival(0);
    dialog.ToggleSurvival(3);
    dialog.ToggleBirth(2);
    dialog.ToggleBirth(3);
    EXPECT_EQ(dialog.Code(), ParseRuleText("03/3"));
    dialog.ChooseNeighbourhood(NeighbourhoodChoice::VonNeumann);
    EXPECT_EQ(dialog.Text(), "03/3/2457");
    EXPECT_EQ(dialog.Neighbourhood(), NeighbourhoodChoice::VonNeumann);
    dialog.ToggleNeighbour(1);  // upper-left
    EXPECT_TRUE(dialog.NeighbourBox(1));
    EXPECT_EQ(dialog.Neighbourhood(), NeighbourhoodChoice::Other);
    dialog.ChooseNeighbourhood(NeighbourhoodChoice::Hex);
    EXPECT_EQ(dialog.Text(), "03/3/124578");
    dialog.ChooseNeighbourhood(NeighbourhoodChoice::Other);
    EXPECT_EQ(dialog.Code(), ParseRuleText("03/3/"));
    EXPECT_EQ(dialog.Text(), "03/3/");
    EXPECT_FALSE(dialog.CanDelete());
    // Boxes the dialog does not have change nothing.
    dialog.ToggleBirth(0);
    dialog.ToggleNeighbour(9);
    dialog.ToggleSurvival(-1);
    EXPECT_EQ(dialog.Code(), ParseRuleText("03/3/"));
}

TEST_F(RulesTest, DialogListPlacesAnUnknownCodeAmongTheAnonymousRules) {
    GetRule(ParseRuleText("1/1"));
    GetRule(ParseRuleText("5/5"));
    CRulesDialogModel dialog(kConwayRuleCode);
    RuleList list = dialog.List();
    const std::vector<RuleListItem> known = {{"Conway", kConwayRuleCode},   {"Day & Night", 0x07BF91D8},
                                             {"High Life", 0x07BC900C},     {"Three Four", 0x07BC3018},
                                             {"1/1", ParseRuleText("1/1")}, {"5/5", ParseRuleText("5/5")}};
    EXPECT_EQ(list.items, known);
    EXPECT_EQ(list.selected, 0u);

    ASSERT_TRUE(dialog.TakeText("3/3"));
    list = dialog.List();
    ASSERT_EQ(list.items.size(), known.size() + 1);
    EXPECT_EQ(list.selected, 5u);
    EXPECT_EQ(list.items[5], (RuleListItem{"3/3", ParseRuleText("3/3")}));

    ASSERT_TRUE(dialog.TakeText("8/8"));  // after every anonymous rule
    EXPECT_EQ(dialog.List().selected, known.size());
    dialog.Pick(known[3]);
    EXPECT_EQ(dialog.Code(), 0x07BC3018u);
    EXPECT_EQ(dialog.List().selected, 3u);
}

TEST_F(RulesTest, DialogTypedTextNameDeleteAndOk) {
    WriteIni("[Rules]\nMaze=12345/3\n");
    LoadRules();
    CRulesDialogModel dialog(kConwayRuleCode);
    ASSERT_TRUE(dialog.TakeText("high life"));  // a name first
    EXPECT_EQ(dialog.Code(), 0x07BC900Cu);
    ASSERT_TRUE(dialog.TakeText("B2/S"));  // else notation
    EXPECT_EQ(dialog.Code(), ParseRuleText("/2"));

    EXPECT_TRUE(dialog.Name("Seeds"));
    EXPECT_FALSE(dialog.Name("maze"));  // taken: nothing changes
    EXPECT_EQ(FindRuleByName("Seeds")->Code(), ParseRuleText("/2"));
    // Named without OK: kept for the run but not yet in the file.
    EXPECT_EQ(ReadIni().find("Seeds"), std::string::npos);

    ASSERT_TRUE(dialog.TakeText("Maze"));
    dialog.Delete();
    EXPECT_EQ(FindRuleByName("Maze"), nullptr);
    EXPECT_TRUE(FindRuleByName("12345/3")->IsAnonymous());

    EXPECT_TRUE(dialog.Ok());
    EXPECT_EQ(ReadIni(), "[Rules]\nSeeds=/2\n");
}

}  // namespace tessera::test
