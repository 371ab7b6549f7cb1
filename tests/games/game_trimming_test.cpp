// Trimming the stored generations of a game: the policy, regrowth, and giving memory back when the
// heap is full.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "foundation/block_heap.h"
#include "game_support.h"
#include "support/error_of.h"

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

    // Trimming harder doubles the spacing and the stride: the stride thins the windows as well, but
    // cur − 1, cur and the last generation always stay. More is to be had while the spacing is below
    // the last generation.
    storeAll();
    EXPECT_EQ(game.TrimGenerations(2), ETrimOutcome::Freed);
    EXPECT_EQ(StoredGenerations(game), (std::vector<int32_t>{0, 98, 99, 100, 120, 198, 200}));
    EXPECT_EQ(game.TrimGenerations(2), ETrimOutcome::MoreWithLargerFactor);
    EXPECT_EQ(game.TrimGenerations(8), ETrimOutcome::NothingMore);
}

TEST_F(GameTrimmingTest, RegrownGenerationsMatchDirectGrowth) {
    const int kLast = 400;
    const std::vector<Cells> direct = ReferenceHistory(RPentomino(), kLast);
    CGame& game = games.NewGame(*MakeUniverse(RPentomino()));
    for (int i = 0; i < kLast; ++i) ASSERT_EQ(game.StepForward(nullptr), 0);
    std::mt19937 random(1234);
    std::uniform_int_distribution<int32_t> pick(0, kLast);
    for (int i = 0; i < 60; ++i) {
        int32_t n = pick(random);
        CUniverse* u = game.GetGeneration(n, i % 2 ? &game.First() : nullptr);
        ASSERT_TRUE(u && u->Generation() == n) << n;
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

// Makes the application's heap full: no further chunk may be taken and every free byte of the chunks
// in use is handed out to filler blocks, until the test ends. A small hole (about 4 KB) can be left for
// small allocations.
class FullHeap {
public:
    explicit FullHeap(bool leaveSmallHole = false)
        : heap_(TheBlockHeap()), maximum_(uint64_t(heap_.MaximumChunks()) * heap_.ChunkSize()) {
        heap_.SetMaximum(uint64_t(heap_.ChunksInUse()) * heap_.ChunkSize());
        void* hole = leaveSmallHole ? heap_.Allocate(4096) : nullptr;
        for (size_t size : {size_t(65536), size_t(4096), size_t(256), size_t(16)}) {
            while (void* block = heap_.Allocate(size)) fillers_.push_back(block);
        }
        if (hole) heap_.Free(hole);
    }
    ~FullHeap() {
        for (void* block : fillers_) heap_.Free(block);
        heap_.SetMaximum(maximum_);
    }

private:
    CBlockHeap& heap_;
    uint64_t maximum_;
    std::vector<void*> fillers_;
};

class GameMemoryTest : public GameTestBase {
protected:
    CGameMemoryRecovery recovery{games};
};

TEST_F(GameMemoryTest, LessPreciousGamesGiveBackFirst) {
    CGame& spare = games.NewGame(*MakeUniverse(RPentomino()));
    CGame& named = games.NewGame(*MakeUniverse(RPentomino()));
    ASSERT_TRUE(named.SetName("keep me longer"));
    for (CGame* game : {&spare, &named}) {
        for (int i = 0; i < 120; ++i) game->StepForward(nullptr);
        for (int32_t g = 1; g < 120; ++g) game->GetGeneration(g);
    }
    CGame& grower = games.NewGame(*MakeUniverse(RPentomino()));
    FullHeap full;
    ASSERT_EQ(grower.StepForward(nullptr), 0);
    EXPECT_LT(spare.Generations().Count(), 121);
    EXPECT_EQ(named.Generations().Count(), 121);
}

TEST_F(GameMemoryTest, StepThatCannotGetMemoryFailsAndLeavesTheGameAsItWas) {
    // A row of 2000 cells needs a 32 KB block for its next generation; the floating glider's copy fits
    // into the small hole.
    const Cells row = CellsFromPicture(std::string(2000, '*'));
    CGame& game = games.NewGame(*MakeUniverse(row));
    game.Current().Consolidate();
    FakeGameWindow window(&game);
    window.floating = Owned(MakeUniverse(Glider()));
    window.floating->Consolidate();
    FullHeap full(true);
    EXPECT_EQ(MessageIdOf([&] { (void)game.StepForward(&window); }), msg::OutOfMemory);
    EXPECT_EQ(game.Generations().Count(), 1);
    EXPECT_EQ(game.FloatingObjectCopy(), nullptr);
    EXPECT_EQ(game.MaxPopulation(), 0u);
    EXPECT_EQ(game.PreviousGeneration(), nullptr);
    EXPECT_EQ(CellsOf(game.Current()), row);
    ASSERT_GE(window.listener.calls.size(), 2u);
    EXPECT_EQ(window.listener.calls.front(), "begin");  // growth had started
    EXPECT_EQ(window.listener.calls.back(), "end");     // and the window heard it end
}

}  // namespace
}  // namespace tessera::test
