#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game_support.h"
#include "games/game_collection.h"
#include "games/game_registry.h"

namespace tessera::test {
namespace {

class GameCollectionTest : public GameTestBase {};

TEST_F(GameCollectionTest, CopyGameTakesStartModifiedGenerationsAndTheChosenOne) {
    UniverseRef start = Owned(MakeUniverse(RPentomino()));
    CGame& source = games.NewGame(*start);
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
    EXPECT_EQ(&copy.Current(), &copy.Last());
    EXPECT_EQ(copy.Originator(), "someone");
    EXPECT_EQ(copy.Description(), "");
    EXPECT_EQ(copy.Name().Text(), "Rpent-1");
    EXPECT_TRUE(copy.FindStoredGeneration(12)->IsModified());
    EXPECT_FALSE(copy.Current().IsModified());
    // Every generation of the copy regrows like the source's, edits included.
    for (int32_t g : {3, 5, 11, 12, 13, 29, 30}) {
        ASSERT_EQ(CellsOf(*copy.GetGeneration(g)), CellsOf(*source.GetGeneration(g))) << g;
    }
    // Growing the copy on follows the source as long as the source had no later edits.
    for (int i = 0; i < 9; ++i) ASSERT_EQ(copy.StepForward(nullptr), 0);
    EXPECT_EQ(CellsOf(copy.Current()), CellsOf(*source.GetGeneration(39)));
    // The copies are independent universes.
    EXPECT_NE(copy.GetGeneration(5), source.GetGeneration(5));
}

TEST_F(GameCollectionTest, CopyAtGenerationZeroAndOfUnnamedGames) {
    CGame& source = games.NewGame(*MakeUniverse(Glider()));
    for (int i = 0; i < 10; ++i) source.StepForward(nullptr);
    CGame& copy = games.CopyGame(source, 0);
    EXPECT_EQ(StoredGenerations(copy), (std::vector<int32_t>{0}));
    EXPECT_FALSE(copy.IsNamed());
    EXPECT_EQ(copy.Name().Text(), "#" + std::to_string(copy.Serial()));
    EXPECT_EQ(copy.SignatureRing().Base(), 0);
    CGame& later = games.CopyGame(source, 7);
    EXPECT_EQ(later.SignatureRing().Base(), 7);
    EXPECT_EQ(later.SignatureRing().Count(), 0u);
}

TEST_F(GameCollectionTest, NamesClashIgnoringCaseAndBlanks) {
    CGame& a = games.NewGame();
    CGame& b = games.NewGame();
    EXPECT_EQ(a.Name().Text(), "#0");
    EXPECT_EQ(b.Name().Text(), "#1");
    EXPECT_EQ(a.Title(true), "game 0");
    ASSERT_TRUE(a.SetName("von Neumann"));
    EXPECT_EQ(a.Title(true), "game 0  \"von Neumann\" ");
    EXPECT_EQ(a.Title(false), "0  \"von Neumann\" ");
    EXPECT_FALSE(b.SetName("VonNeumann"));
    EXPECT_EQ(b.Name().Text(), "#1");
    EXPECT_EQ(games.FindGameByName("vonneumann"), &a);
    EXPECT_EQ(games.FindGameByName("#1"), &b);
    // Renaming a game to a spelling of its own name is no clash.
    EXPECT_TRUE(a.SetName("VON NEUMANN"));
    EXPECT_EQ(games.FindGameByName("von neumann"), &a);
    // A "#" name or an empty one makes the game unnamed again.
    EXPECT_TRUE(a.SetName("#99"));
    EXPECT_EQ(a.Name().Text(), "#0");
    EXPECT_FALSE(a.IsNamed());
    EXPECT_EQ(games.FindGameByName("von Neumann"), nullptr);
    EXPECT_TRUE(b.SetName("von Neumann"));
}

TEST_F(GameCollectionTest, UniqueNamesTakeTheFirstFreeSuffix) {
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
    EXPECT_EQ(third.Name().Text(), "Glider-2");  // proposing changes no game
    CName empty;
    EXPECT_FALSE(games.MakeUniqueName(empty));
    EXPECT_TRUE(empty.IsEmpty());
}

TEST_F(GameCollectionTest, UniqueNameGivesUpAfterNineHundredNinetyNineSuffixes) {
    CGame& base = games.NewGame();
    ASSERT_TRUE(base.SetName("X"));
    for (int i = 1; i <= 999; ++i) ASSERT_TRUE(games.NewGame().SetName("X-" + std::to_string(i)));
    CGame& late = games.NewGame();
    EXPECT_FALSE(late.SetUniqueName("X"));
    EXPECT_FALSE(late.IsNamed());
    CName proposal("X");
    EXPECT_FALSE(games.MakeUniqueName(proposal));
}

TEST_F(GameCollectionTest, DefaultFileNameKeepsLettersAndDigitsUpToTheFirstDot) {
    CGame& game = games.NewGame();
    ASSERT_TRUE(game.SetName("My glider-gun 2.v1"));
    EXPECT_EQ(game.DefaultFileName(), "Myglidergun2.LIF");
    ASSERT_TRUE(game.SetName(std::string(200, 'a')));
    EXPECT_EQ(game.DefaultFileName(), std::string(127, 'a') + ".LIF");
    ASSERT_TRUE(game.SetName("--"));
    EXPECT_EQ(game.DefaultFileName(), "");
}

TEST_F(GameCollectionTest, NextPreviousAndLastFollowSerialNumbers) {
    std::vector<CGame*> made;
    for (int i = 0; i < 5; ++i) made.push_back(&games.NewGame());
    ASSERT_TRUE(made[3]->SetName("aaa"));  // name order differs from serial order
    games.DestroyGame(*made[2]);
    EXPECT_EQ(games.NextGame(*made[1]), made[3]);
    EXPECT_EQ(games.PreviousGame(*made[3]), made[1]);
    EXPECT_EQ(games.PreviousGame(*made[0]), nullptr);
    EXPECT_EQ(games.NextGame(*made[4]), nullptr);
    EXPECT_EQ(games.LastCreatedGame(), made[4]);
    EXPECT_EQ(games.FindGameBySerial(2), nullptr);
    EXPECT_EQ(games.FindGameBySerial(3), made[3]);
    EXPECT_EQ(games.FindGameByName("#2"), nullptr);
    // Serial numbers never repeat.
    EXPECT_EQ(games.NewGame().Serial(), 5u);
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
    CGame& a = games.NewGame();
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
    (void)a;
    games.DeleteAllOtherGames(c);
    EXPECT_EQ(games.Count(), 1u);
    // Deleting the only game leaves a new empty one to show.
    CGame& fresh = games.GameToShowAfterDeleting(c);
    EXPECT_NE(&fresh, &c);
    EXPECT_EQ(fresh.Generations().Count(), 1);
    games.DestroyGame(c);
    EXPECT_EQ(games.Count(), 1u);
    games.DeleteAllGames();
    EXPECT_EQ(games.Count(), 0u);
    EXPECT_EQ(games.FindGameByName("c"), nullptr);
}

TEST_F(GameCollectionTest, AttachingWindowsStampsDisplayOrder) {
    CGame& a = games.NewGame();
    CGame& b = games.NewGame();
    FakeGameWindow wa(&a), wb(&b);
    a.AttachWindow(wa);
    b.AttachWindow(wb);
    a.DetachWindow();
    a.AttachWindow(wa);
    EXPECT_EQ(a.PreviousDisplayStamp(), 0u);
    EXPECT_EQ(a.DisplayStamp(), 2u);
    EXPECT_EQ(b.DisplayStamp(), 1u);
    EXPECT_EQ(games.DisplayCounter(), 3u);
    a.DetachWindow();
    b.DetachWindow();
}

TEST_F(GameCollectionTest, CollectionListsGamesInNameOrderWithinTheRange) {
    CGame& zed = games.NewGame(*MakeUniverse(Glider()));
    CGame& unnamed = games.NewGame(*MakeUniverse(Blinker()));
    CGame& alpha = games.NewGame(*MakeUniverse(RPentomino()));
    CGame& mid = games.NewGame();
    ASSERT_TRUE(zed.SetName("zed"));
    ASSERT_TRUE(alpha.SetName("Alpha"));
    ASSERT_TRUE(mid.SetName("mid"));
    for (int i = 0; i < 3; ++i) alpha.StepForward(nullptr);
    alpha.ResetToGeneration(1);

    CGameCollection all(games, CGameCollection::kStart, false);
    ASSERT_EQ(all.Count(), 4);
    // "#1" sorts before letters.
    EXPECT_EQ(all.Name(1), "#1");
    EXPECT_EQ(all.Name(2), "Alpha");
    EXPECT_EQ(all.Name(4), "zed");
    EXPECT_EQ(all.Name(5), "");
    EXPECT_EQ(all.Universe(0), nullptr);
    EXPECT_EQ(all.Universe(1), &unnamed.First());
    EXPECT_EQ(all.IndexOf("MID"), 3);
    EXPECT_EQ(all.IndexOf("nobody"), 0);

    CGameCollection named(games, CGameCollection::kCurrent, true);
    EXPECT_EQ(named.Count(), 3);
    EXPECT_EQ(named.Universe(1), &alpha.Current());
    EXPECT_EQ(named.Universe(1)->Generation(), 1);
    CGameCollection last(games, CGameCollection::kLast, true);
    EXPECT_EQ(last.Universe(1)->Generation(), 3);
    // Serials 1 and 2 only: the unnamed game and Alpha.
    all.SetRange(1, 3);
    EXPECT_EQ(all.Count(), 2);
    EXPECT_EQ(all.Name(2), "Alpha");
    EXPECT_EQ(all.IndexOf("zed"), 0);
}

}  // namespace
}  // namespace tessera::test
