#include <gtest/gtest.h>

#include "format_test_support.h"
#include "rules/rule_notation.h"
#include "rules/rules.h"

namespace tessera::test {

using GameFormatTest = GameTextTest;

TEST_F(GameFormatTest, MalformedFilesAreSyntaxErrorsAtTheirLine) {
    EXPECT_EQ(1, SyntaxErrorLine("GAME GENERATION 2\nENDPATTERN\nENDGAME\n"));
    EXPECT_EQ(4, SyntaxErrorLine("GAME\nGENERATION 1\nENDPATTERN\nGENERATION 1\nENDPATTERN\nENDGAME\n"));
    EXPECT_EQ(3, SyntaxErrorLine("GAME\nGENERATION 1\n0 0;\nENDPATTERN\nENDGAME\n"));
    // Run counts below one would never end.
    EXPECT_EQ(4, SyntaxErrorLine("GAME\nGENERATION 1\n0,0\n:-3;\nENDPATTERN\nENDGAME\n"));
    // The header keywords must come in their order.
    EXPECT_EQ(3, SyntaxErrorLine("GAME\n MINPOP 1 AT 1\n MAXPOP 2 AT 2\nENDGAME\n"));
    // Truncated files.
    EXPECT_EQ(3, SyntaxErrorLine("GAME\nGENERATION 1\n0,0:3 4"));
    EXPECT_EQ(2, SyntaxErrorLine("GAME\nGENERATION 1\n"));
    EXPECT_EQ(1, SyntaxErrorLine("GAME \"x\" AGE"));

    EXPECT_EQ(std::pair(1321, 3),
              LimitOf([&] { Read("GAME\nGENERATION 1\n0,0:2147483647;\nENDPATTERN\n"); }));
    EXPECT_EQ(1322, LimitOf([&] { Read("GAME\nGENERATION 1\n0,2147483640:10;\nENDPATTERN\n"); }).first);
    EXPECT_EQ(0u, games.Count());
}

TEST_F(GameFormatTest, WrittenGamesReadBackWithTheirGenerations) {
    std::mt19937 random(31337);
    for (int round = 0; round < 8; ++round) {
        games.Reset();
        auto start = MakeUniverse(RandomSoup(random, -10, -10, 20, 20, 0.40),
                                  ParseRuleText(round % 2 ? "23/3" : "23/36"));
        CGame& game = games.NewGame(*start);
        // Names may hold the characters that delimit them in the file, one kind at a time.
        const std::string name = (round % 2 ? "The \"round\" " : "[round] ") + std::to_string(round);
        ASSERT_TRUE(game.SetName(CName(name)));
        const int steps = 20 + random() % 140;
        for (int i = 0; i < steps; ++i) {
            if (game.StepForward(nullptr) != 0) break;
            if (random() % 25 == 0) {
                // An edited generation cannot be regrown: the file keeps it as NOTRIM.
                CUniverse& last = game.Last();
                ASSERT_TRUE(game.NoteModified(last));
                last.SetCell(static_cast<int32_t>(random() % 30), static_cast<int32_t>(random() % 30));
            }
        }
        if (round % 3 == 1) game.ResetToGeneration(game.Generation() / 2);
        if (round % 3 == 2) game.ResetToGeneration(0);

        const std::string text = Written(game);
        // The name is taken by the original: the user is asked for another one.
        dialogs.clashes.clear();
        dialogs.otherNames = {"Copy " + std::to_string(round)};
        CGame* copy = Read(text);
        ASSERT_NE(nullptr, copy) << text;
        EXPECT_EQ((std::vector<std::string>{name}), dialogs.clashes);
        EXPECT_EQ("Copy " + std::to_string(round), copy->Name().Text());
        // Written: the start, every modified, the current and the last generation.
        std::vector<int32_t> expected;
        for (CUniverse* u = game.Generations().First(); u; u = u->Next())
            if (u == &game.First() || u->IsModified() || u == &game.Current() || u == &game.Last())
                expected.push_back(u->Generation());
        std::vector<int32_t> numbers;
        for (CUniverse* u = copy->Generations().First(); u; u = u->Next()) {
            numbers.push_back(u->Generation());
            CUniverse* original = game.FindStoredGeneration(u->Generation());
            ASSERT_NE(nullptr, original);
            EXPECT_EQ(CellsOf(*original), CellsOf(*u)) << "generation " << u->Generation();
            EXPECT_EQ(original->GetRuleCode(), u->GetRuleCode());
            if (u != &copy->First()) {
                EXPECT_EQ(original->IsModified(), u->IsModified());
            }
        }
        EXPECT_EQ(expected, numbers);
        // With the start current no block says CURRENT, and the last one becomes current.
        EXPECT_EQ(game.Generation() == 0 ? game.Last().Generation() : game.Generation(), copy->Generation());
        EXPECT_EQ(game.MaxPopulation(), copy->MaxPopulation());
        EXPECT_EQ(game.MinPopulationGeneration(), copy->MinPopulationGeneration());
        // Written again, the copy gives the same text below its date and name lines (when the start was
        // current, the copy's current is its last block, which then says so). Descriptions are the game
        // file test's.
        if (game.Generation() == 0) continue;
        const auto originalLines = LinesOf(Written(game)), copyLines = LinesOf(Written(*copy));
        ASSERT_EQ(originalLines.size(), copyLines.size());
        for (size_t i = 2; i < originalLines.size(); ++i)
            ASSERT_EQ(originalLines[i], copyLines[i]) << "line " << i;
    }
}

TEST_F(GameFormatTest, GameTextLayout) {
    auto start = MakeUniverse({{0, 0}, {1, 0}, {2, 0}}, DefaultRuleCode());
    CGame& game = games.NewGame(*start);
    game.StepForward(nullptr);
    game.StepForward(nullptr);
    game.SetDescription("A blinker.");
    const std::string text = Written(game);
    EXPECT_EQ(0u, text.rfind("! Written by Tessera at ", 0));
    EXPECT_EQ(
        text.substr(text.find('\n') + 1),
        "GAME\n AGE 2\n MAXPOP 3 AT 1\n MINPOP 3 AT 1\nD A blinker.\nGENERATION 1\nMAXROWPOP 3\n0,0:3;\n"
        "ENDPATTERN\nGENERATION 3 CURRENT\nMAXROWPOP 3\n0,0:3;\nENDPATTERN\nENDGAME\n");
}

// A name read from an XLife "#N" line may hold both characters that delimit names in a game file.
TEST_F(GameFormatTest, NameWithBothDelimitersIsWrittenWithAnApostrophe) {
    CGame* game = Read("#N both \" and ]\n#P 0 0\n**\n");
    ASSERT_NE(nullptr, game);
    EXPECT_EQ("both \" and ]", game->Name().Text());
    const std::string text = Written(*game);
    games.DestroyGame(*game);
    CGame* reread = Read(text);
    ASSERT_NE(nullptr, reread);
    EXPECT_EQ("both ' and ]", reread->Name().Text());
    EXPECT_EQ(2u, reread->Population());
}

}  // namespace tessera::test
