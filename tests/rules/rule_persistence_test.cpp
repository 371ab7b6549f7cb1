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
    // Life renames the built-in Conway rule; once Conway is free, its name can be given to another
    // built-in code. The file below shows the rest: the second name for /2 renames the first, a taken name
    // is ignored, and what is not a rule at all reads as code 0. The section is deleted and written anew,
    // so it moves to the end of the file.
    EXPECT_EQ(FindRuleByName("Life")->Code(), kConwayRuleCode);
    EXPECT_EQ(FindRuleByName("Conway")->Code(), 0x07BC3018u);
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

    ResetRuleRegistry();
    LoadRules();
    EXPECT_EQ(UserRules(), before);
    ASSERT_TRUE(SaveRules());
    EXPECT_EQ(ReadIni(), file);
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
    // Named without OK: kept for the run but not yet in the file.
    EXPECT_EQ(ReadIni().find("Seeds"), std::string::npos);

    ASSERT_TRUE(dialog.TakeText("Maze"));
    dialog.Delete();
    EXPECT_TRUE(FindRuleByName("12345/3")->IsAnonymous());

    EXPECT_TRUE(dialog.Ok());
    EXPECT_EQ(ReadIni(), "[Rules]\nSeeds=/2\n");
}

}  // namespace tessera::test
