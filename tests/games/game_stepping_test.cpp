#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "game_support.h"

namespace tessera::test {
namespace {

class GameSteppingTest : public GameTestBase {};

TEST_F(GameSteppingTest, RefusalLeavesTheGameUnchanged) {
    // An empty universe has nothing to grow; one too close to the coordinate limit is too big.
    CGame& empty = games.NewGame();
    CGame& big = games.NewGame(*MakeUniverse({{2147483644, 0}, {2147483643, 0}, {2147483642, 0}}));
    for (auto [game, refusal] : {std::pair{&empty, msg::NothingToGrow}, {&big, msg::GameTooBig}}) {
        EXPECT_EQ(game->StepForward(nullptr), refusal);
        EXPECT_EQ(game->Generation(), 0);
        EXPECT_EQ(game->Generations().Count(), 1);
    }
}

TEST_F(GameSteppingTest, StoredNextGenerationIsRegrownOnlyForAWindowAndAnEditedOneNever) {
    CGame& game = games.NewGame(*MakeUniverse(RPentomino()));
    for (int i = 0; i < 5; ++i) game.StepForward(nullptr);
    ASSERT_TRUE(game.NoteModified(game.Current()));
    game.Current().SetCell(30, 30);
    game.ResetToGeneration(2);
    CUniverse* stored3 = game.FindStoredGeneration(3);
    ASSERT_EQ(game.StepForward(nullptr), 0);
    EXPECT_EQ(&game.Current(), stored3);  // no growth

    // With a display context the step is grown again so the window sees its births and deaths.
    FakeGameWindow window(&game);
    CUniverse* stored4 = game.FindStoredGeneration(4);
    ASSERT_EQ(game.StepForward(&window), 0);
    EXPECT_NE(&game.Current(), stored4);
    EXPECT_EQ(window.listener.calls, ExpectedCalls(CellsOf(*stored3), CellsOf(game.Current())));
    EXPECT_EQ(StoredGenerations(game), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(game.PreviousGeneration(), stored3);

    // The edited generation 5 is taken as it is: nothing is grown, so the window shows it afresh.
    window.listener.calls.clear();
    ASSERT_EQ(game.StepForward(&window), 0);
    EXPECT_TRUE(game.Current().IsAlive(30, 30));
    EXPECT_TRUE(window.listener.calls.empty());
    EXPECT_EQ(window.changedTo, (std::vector<int32_t>{5}));
}

TEST_F(GameSteppingTest, StepBackAndResetAcrossTrimmedGaps) {
    CGame& game = games.NewGame(*MakeUniverse(RPentomino()));
    for (int i = 0; i < 154; ++i) ASSERT_EQ(game.StepForward(nullptr), 0);
    ASSERT_EQ(StoredGenerations(game), (std::vector<int32_t>{0, 50, 100, 150, 152, 153, 154}));
    FakeGameWindow window(&game);
    for (int i = 0; i < 3; ++i) game.StepBack(&window);
    // Generation 151 is not stored: the third step back has nowhere to go.
    EXPECT_EQ(window.changedTo, (std::vector<int32_t>{153, 152}));
    EXPECT_EQ(game.Generation(), 152);

    // Resetting goes to the nearest stored generation at or below; only generation 0 re-arms autostop.
    game.SetAutostopFired(true);
    const std::pair<int32_t, int32_t> resets[] = {{149, 100}, {154, 154}, {100000, 154}, {7, 0}};
    for (const auto& [to, at] : resets) {
        game.ResetToGeneration(to);
        EXPECT_EQ(game.Generation(), at) << to;
        EXPECT_TRUE(game.AutostopFired()) << to;
    }

    // GetGeneration fills a gap in order and answers the stored generation itself when there is one.
    CUniverse* g120 = game.GetGeneration(120);
    EXPECT_EQ(game.FindStoredGeneration(120), g120);
    EXPECT_EQ(game.GetGeneration(120, game.FindStoredGeneration(100)), g120);
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
