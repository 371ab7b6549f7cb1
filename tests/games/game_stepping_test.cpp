#include <gtest/gtest.h>

#include <vector>

#include "foundation/errors.h"
#include "game_support.h"
#include "games/game_registry.h"

namespace tessera::test {
namespace {

class GameSteppingTest : public GameTestBase {};

TEST_F(GameSteppingTest, RefusalLeavesTheGameUnchanged) {
    CGame& game = games.NewGame();
    EXPECT_EQ(game.StepForward(nullptr), msg::NothingToGrow);
    EXPECT_EQ(game.Generation(), 0);
    EXPECT_EQ(game.Generations().Count(), 1);
    EXPECT_EQ(game.MinPopulation(), 0u);
    // A universe too close to the coordinate limit is refused as too big.
    UniverseRef edge = Owned(MakeUniverse({{2147483644, 0}, {2147483643, 0}, {2147483642, 0}}));
    CGame& big = games.NewGame(*edge);
    EXPECT_EQ(big.StepForward(nullptr), msg::GameTooBig);
    EXPECT_EQ(big.Generations().Count(), 1);
}

TEST_F(GameSteppingTest, StoredNextGenerationIsTakenWithoutContextAndRegrownWithOne) {
    CGame& game = games.NewGame(*MakeUniverse(RPentomino()));
    for (int i = 0; i < 5; ++i) game.StepForward(nullptr);
    game.ResetToGeneration(3);
    ASSERT_EQ(game.Generation(), 3);
    CUniverse* stored4 = game.FindStoredGeneration(4);
    ASSERT_NE(stored4, nullptr);
    Cells cells4 = CellsOf(*stored4);
    ASSERT_EQ(game.StepForward(nullptr), 0);
    EXPECT_EQ(&game.Current(), stored4);  // no growth

    // With a display context the step is grown again so the window sees its births and deaths.
    FakeGameWindow window(&game);
    CUniverse* stored5 = game.FindStoredGeneration(5);
    ASSERT_EQ(game.StepForward(&window), 0);
    EXPECT_EQ(game.Generation(), 5);
    EXPECT_NE(&game.Current(), stored5);
    EXPECT_EQ(window.listener.calls, ExpectedCalls(cells4, CellsOf(game.Current())));
    EXPECT_EQ(StoredGenerations(game), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(game.PreviousGeneration(), game.FindStoredGeneration(4));
    EXPECT_EQ(CellsOf(*game.FindStoredGeneration(4)), cells4);
}

TEST_F(GameSteppingTest, EditedNextGenerationIsNeverRegrownAway) {
    CGame& game = games.NewGame(*MakeUniverse(RPentomino()));
    for (int i = 0; i < 3; ++i) game.StepForward(nullptr);
    ASSERT_TRUE(game.NoteModified(game.Current()));
    game.Current().SetCell(30, 30);
    game.ResetToGeneration(2);
    FakeGameWindow window(&game);
    ASSERT_EQ(game.StepForward(&window), 0);
    EXPECT_EQ(game.Generation(), 3);
    EXPECT_TRUE(game.Current().IsAlive(30, 30));
    EXPECT_TRUE(game.Current().IsModified());
    // Nothing was grown, so the window is told to show the generation afresh.
    EXPECT_TRUE(window.listener.calls.empty());
    EXPECT_EQ(window.changedTo, (std::vector<int32_t>{3}));
}

TEST_F(GameSteppingTest, StepBackAndResetAcrossTrimmedGaps) {
    CGame& game = games.NewGame(*MakeUniverse(RPentomino()));
    for (int i = 0; i < 154; ++i) ASSERT_EQ(game.StepForward(nullptr), 0);
    ASSERT_EQ(StoredGenerations(game), (std::vector<int32_t>{0, 50, 100, 150, 152, 153, 154}));
    FakeGameWindow window(&game);
    game.StepBack(&window);
    EXPECT_EQ(game.Generation(), 153);
    EXPECT_EQ(window.changes, 1);
    game.StepBack(&window);
    EXPECT_EQ(game.Generation(), 152);
    // Generation 151 is not stored: stepping back has nowhere to go.
    game.StepBack(&window);
    EXPECT_EQ(game.Generation(), 152);
    EXPECT_EQ(window.changes, 2);

    // Resetting goes to the nearest stored generation at or below and looks for repeats afresh; only
    // generation 0 re-arms autostop.
    game.SetAutostopFired(true);
    const std::pair<int32_t, int32_t> resets[] = {{149, 100}, {154, 154}, {100000, 154}, {7, 0}};
    for (const auto& [to, at] : resets) {
        game.ResetToGeneration(to);
        EXPECT_EQ(game.Generation(), at) << to;
        EXPECT_TRUE(game.AutostopFired()) << to;
        EXPECT_EQ(game.SignatureRing().Base(), at) << "repeats are looked for afresh";
        EXPECT_EQ(game.SignatureRing().Count(), 0u);
    }
    game.ResetToGeneration(0);
    EXPECT_FALSE(game.AutostopFired());
    EXPECT_EQ(game.PreviousGeneration(), nullptr);

    // GetGeneration fills a gap in order and answers the stored generation itself when there is one.
    CUniverse* g120 = game.GetGeneration(120);
    ASSERT_NE(g120, nullptr);
    EXPECT_EQ(g120->Generation(), 120);
    EXPECT_EQ(game.GetGeneration(120, game.FindStoredGeneration(100)), g120);
    EXPECT_EQ(game.FindStoredGeneration(120), g120);
    EXPECT_EQ(game.FindStoredGeneration(121), nullptr);
    EXPECT_EQ(game.GetGeneration(-1), nullptr);
}

TEST(SignatureRingTest, AddRestartAndCutBackAgreeWithAPlainList) {
    CSignatureRing ring(5);
    std::vector<uint32_t> model;  // signatures of generations base...
    int32_t base = 10;
    ring.Restart(base);
    for (uint32_t i = 0; i < 23; ++i) {
        ring.Add(1000 + i);
        model.push_back(1000 + i);
        if (model.size() > 5) {
            model.erase(model.begin());
            ++base;
        }
        ASSERT_EQ(ring.Base(), base);
        ASSERT_EQ(ring.Count(), model.size());
        for (size_t k = 0; k < model.size(); ++k) ASSERT_EQ(ring.At(base + int32_t(k)), model[k]);
        ASSERT_FALSE(ring.Holds(base + int64_t(model.size())));
        ASSERT_FALSE(ring.Holds(base - 1));
    }
    ring.CutBack(base + 2);
    EXPECT_EQ(ring.Count(), 2u);
    EXPECT_EQ(ring.At(base + 1), model[1]);
    ring.CutBack(base + 4);  // never grows the ring
    EXPECT_EQ(ring.Count(), 2u);
    ring.CutBack(base - 3);
    EXPECT_EQ(ring.Count(), 0u);
    EXPECT_EQ(ring.Base(), base - 3);
}

}  // namespace
}  // namespace tessera::test
