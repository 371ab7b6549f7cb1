#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game_support.h"

namespace tessera::test {
namespace {

class GameCollectionTest : public GameTestBase {};

TEST_F(GameCollectionTest, CopyGameTakesStartModifiedGenerationsAndTheChosenOne) {
    CGame& source = games.NewGame(*MakeUniverse(RPentomino()));
    source.SetOriginator("someone");
    source.SetDescription("a description");
    ASSERT_TRUE(source.SetName("Rpent"));
    for (int i = 0; i < 60; ++i) {
        source.StepForward(nullptr);
        if (source.Generation() == 5 || source.Generation() == 12 || source.Generation() == 40) {
            ASSERT_TRUE(source.NoteModified(source.Current()));
            source.Current().SetCell(-20 - source.Generation(), 0);
        }
    }
    CGame& copy = games.CopyGame(source, 30);
    EXPECT_EQ(StoredGenerations(copy), (std::vector<int32_t>{0, 5, 12, 30}));
    EXPECT_EQ(copy.Generation(), 30);
    EXPECT_EQ(copy.Originator(), "someone");
    EXPECT_EQ(copy.Description(), "");
    EXPECT_EQ(copy.Name().Text(), "Rpent-1");
    EXPECT_TRUE(copy.FindStoredGeneration(12)->IsModified());
    // Every generation of the copy regrows like the source's, edits included.
    for (int32_t g : {3, 5, 11, 12, 13, 29, 30})
        ASSERT_EQ(CellsOf(*copy.GetGeneration(g)), CellsOf(*source.GetGeneration(g))) << g;
    // Growing the copy on follows the source as long as the source had no later edits.
    for (int i = 0; i < 9; ++i) ASSERT_EQ(copy.StepForward(nullptr), 0);
    EXPECT_EQ(CellsOf(copy.Current()), CellsOf(*source.GetGeneration(39)));
}

TEST_F(GameCollectionTest, UniqueNamesTakeTheFirstFreeSuffixAndGiveTheDefaultFileName) {
    CGame& glider = games.NewGame();
    CGame& glider1 = games.NewGame();
    CGame& third = games.NewGame();
    ASSERT_TRUE(glider.SetName("Glider"));
    ASSERT_TRUE(glider1.SetName("Glider-1"));
    EXPECT_TRUE(third.SetUniqueName("Glider"));
    EXPECT_EQ(third.Name().Text(), "Glider-2");
    CName proposal("Glider");
    EXPECT_TRUE(games.MakeUniqueName(proposal));
    EXPECT_EQ(proposal.Text(), "Glider-3");
    CName empty;
    EXPECT_FALSE(games.MakeUniqueName(empty));
    EXPECT_TRUE(empty.IsEmpty());
    // The default file name keeps letters and digits up to the first dot, 127 at most.
    ASSERT_TRUE(third.SetName("My glider-gun 2.v1"));
    EXPECT_EQ(third.DefaultFileName(), "Myglidergun2.LIF");
    ASSERT_TRUE(third.SetName(std::string(200, 'a')));
    EXPECT_EQ(third.DefaultFileName(), std::string(127, 'a') + ".LIF");
    ASSERT_TRUE(third.SetName("--"));
    EXPECT_EQ(third.DefaultFileName(), "");
}

TEST_F(GameCollectionTest, PruningSparesNamedKeptDisplayedAndExceptedGames) {
    std::vector<CGame*> made;
    for (int i = 0; i < 16; ++i) made.push_back(&games.NewGame());
    ASSERT_TRUE(made[1]->SetName("named"));
    made[2]->SetKept(true);
    FakeGameWindow window(made[3]);
    made[3]->AttachWindow(window);
    // Serials 0..5 are older than the last ten games (serial + 10 < 16).
    games.PruneUnnamedGames(made[4]);
    std::vector<uint32_t> left;
    games.ForEachGame([&](const CGame& g) { left.push_back(g.Serial()); });
    EXPECT_EQ(left, (std::vector<uint32_t>{1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    made[3]->DetachWindow();
}

TEST_F(GameCollectionTest, DeleteCommands) {
    games.NewGame();
    CGame& b = games.NewGame();
    CGame& c = games.NewGame();
    ASSERT_TRUE(c.SetName("c"));
    CGame& d = games.NewGame();
    d.SetKept(true);
    CGame& e = games.NewGame();
    EXPECT_EQ(&games.GameToShowAfterDeleting(b), &c);
    EXPECT_EQ(&games.GameToShowAfterDeleting(e), &d);
    games.DeleteUnnamedUnkeptGames(b);
    std::vector<uint32_t> left;
    games.ForEachGame([&](const CGame& g) { left.push_back(g.Serial()); });
    EXPECT_EQ(left, (std::vector<uint32_t>{b.Serial(), c.Serial(), d.Serial()}));
    games.DeleteAllOtherGames(c);
    EXPECT_EQ(games.Count(), 1u);
    // Deleting the only game leaves a new empty one to show.
    CGame& fresh = games.GameToShowAfterDeleting(c);
    EXPECT_NE(&fresh, &c);
    games.DestroyGame(c);
    EXPECT_EQ(games.FindGameByName("c"), nullptr);
}

}  // namespace
}  // namespace tessera::test
