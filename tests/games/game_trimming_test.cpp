#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "game_support.h"
#include "games/game_registry.h"

namespace tessera::test {
namespace {

class GameTrimmingTest : public GameTestBase {};

// The stored generations a pass with spacing 50 leaves, worked out from the policy's outcome rather
// than its steps: every multiple of 50 up to the window, then the window [cur − w, cur].
std::vector<int32_t> ExpectedAfterPass(int32_t cur, int32_t window) {
    std::vector<int32_t> expected;
    int32_t low = std::max(cur - window, 0);
    for (int32_t g = 0; g < low; g += 50) expected.push_back(g);
    for (int32_t g = low; g <= cur; ++g) expected.push_back(g);
    return expected;
}

TEST_F(GameTrimmingTest, UndisplayedGameKeepsEveryFiftiethAndTheLastThree) {
    CGame& game = games.NewGame(*MakeUniverse(RPentomino()));
    // Passes run on the first step and then every 51 steps.
    for (int32_t cur = 1; cur <= 1 + 51 * 7; ++cur) {
        ASSERT_EQ(game.StepForward(nullptr), 0);
        if ((cur - 1) % 51 == 0) {
            ASSERT_EQ(StoredGenerations(game), ExpectedAfterPass(cur, 2)) << cur;
        }
    }
    EXPECT_EQ(game.TrimCountdown(), 50);
}

// With the current generation behind the last one there are two recent windows, [cur − W, cur] and
// [L − W, L]; the marks between them are taken from the walk, so a generation kept for another reason
// (here one in use) moves the following marks.
TEST_F(GameTrimmingTest, PassKeepsBothWindowsWhenTheCurrentIsBehindTheLast) {
    CGame& game = games.NewGame(*MakeUniverse(RPentomino()));
    for (int i = 0; i < 200; ++i) ASSERT_EQ(game.StepForward(nullptr), 0);
    auto storeAll = [&] {
        for (int32_t g = 1; g < 200; ++g) ASSERT_NE(game.GetGeneration(g), nullptr);
        ASSERT_EQ(game.Generations().Count(), 201);
        game.ResetToGeneration(100);
        ASSERT_EQ(game.Generation(), 100);
    };
    storeAll();
    EXPECT_TRUE(game.TrimPass(50, 1));
    EXPECT_EQ(StoredGenerations(game), (std::vector<int32_t>{0, 50, 98, 99, 100, 150, 198, 199, 200}));
    EXPECT_FALSE(game.TrimPass(50, 1));  // a second pass finds nothing more

    storeAll();
    CUniverseUse held(*game.FindStoredGeneration(120));
    EXPECT_TRUE(game.TrimPass(50, 1));
    EXPECT_EQ(StoredGenerations(game), (std::vector<int32_t>{0, 50, 98, 99, 100, 120, 198, 199, 200}));

    // A stride of 2 thins the windows as well, but cur − 1, cur and the last generation always stay.
    storeAll();
    EXPECT_TRUE(game.TrimPass(100, 2));
    EXPECT_EQ(StoredGenerations(game), (std::vector<int32_t>{0, 98, 99, 100, 120, 198, 200}));
    for (int32_t g : {1, 97, 101, 150, 197, 199}) EXPECT_EQ(game.FindStoredGeneration(g), nullptr) << g;
}

TEST_F(GameTrimmingTest, RegrownGenerationsMatchDirectGrowth) {
    UniverseRef start = Owned(MakeUniverse(RPentomino()));
    const int kLast = 400;
    std::vector<Cells> direct = GrowDirectly(*start, kLast);
    CGame& game = games.NewGame(*start);
    for (int i = 0; i < kLast; ++i) ASSERT_EQ(game.StepForward(nullptr), 0);
    std::mt19937 random(1234);
    std::uniform_int_distribution<int32_t> pick(0, kLast);
    for (int i = 0; i < 60; ++i) {
        int32_t n = pick(random);
        CUniverse* u = game.GetGeneration(n, i % 2 ? &game.First() : nullptr);
        ASSERT_NE(u, nullptr);
        ASSERT_EQ(u->Generation(), n);
        ASSERT_EQ(CellsOf(*u), direct[n]) << "generation " << n;
    }
    std::vector<int32_t> stored = StoredGenerations(game);
    EXPECT_TRUE(std::is_sorted(stored.begin(), stored.end()));
    EXPECT_EQ(std::adjacent_find(stored.begin(), stored.end()), stored.end());
    // Going back over trimmed stretches and forward again reproduces the same cells.
    game.ResetToGeneration(123);
    EXPECT_LE(game.Generation(), 123);
    while (game.Generation() < 300) {
        ASSERT_EQ(game.StepForward(nullptr), 0);
        ASSERT_EQ(CellsOf(game.Current()), direct[game.Generation()]);
    }
}

TEST_F(GameTrimmingTest, ModifiedAndHeldGenerationsSurviveTrimming) {
    CGame& game = games.NewGame(*MakeUniverse(RPentomino()));
    for (int i = 0; i < 37; ++i) game.StepForward(nullptr);
    // An edit of the last generation marks it modified.
    ASSERT_TRUE(game.NoteModified(game.Last()));
    game.Last().SetCell(40, 40);
    CUniverse* held = game.GetGeneration(21);
    held->Acquire();
    for (int i = 0; i < 200; ++i) ASSERT_EQ(game.StepForward(nullptr), 0);
    EXPECT_EQ(game.TrimGenerations(2), ETrimOutcome::Freed);
    std::vector<int32_t> stored = StoredGenerations(game);
    EXPECT_NE(std::find(stored.begin(), stored.end(), 37), stored.end());
    EXPECT_NE(std::find(stored.begin(), stored.end(), 21), stored.end());
    EXPECT_TRUE(game.FindStoredGeneration(37)->IsModified());
    EXPECT_TRUE(game.FindStoredGeneration(37)->IsAlive(40, 40));
    held->Release();
    // Generation 38 regrows from the edited 37, not from the original history.
    UniverseRef edited = Owned(game.FindStoredGeneration(37)->Clone());
    UniverseRef expected = Owned(edited->Grow(nullptr));
    EXPECT_EQ(CellsOf(*game.GetGeneration(38)), CellsOf(*expected));
}

}  // namespace
}  // namespace tessera::test
