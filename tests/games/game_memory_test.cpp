#include <gtest/gtest.h>

#include <vector>

#include "foundation/block_heap.h"
#include "game_support.h"
#include "games/game_registry.h"
#include "support/error_of.h"

namespace tessera::test {
namespace {

// Makes the application's heap full: no further chunk may be taken and every free byte of the chunks
// in use is handed out to filler blocks, until the test ends. A small hole (about 4 KB) can be left for
// small allocations.
class FullHeap {
public:
    explicit FullHeap(bool leaveSmallHole = false)
        : heap_(TheBlockHeap()), maximum_(uint64_t(heap_.MaximumChunks()) * heap_.ChunkSize()) {
        heap_.SetMaximum(uint64_t(heap_.ChunksInUse()) * heap_.ChunkSize());
        void* hole = nullptr;
        for (size_t size : {size_t(65536), size_t(4096), size_t(256), size_t(16)}) {
            while (void* block = heap_.Allocate(size)) {
                if (size == 4096 && !hole) {
                    hole = block;
                } else {
                    fillers_.push_back(block);
                }
            }
        }
        if (hole && leaveSmallHole) {
            heap_.Free(hole);
        } else if (hole) {
            fillers_.push_back(hole);
        }
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

TEST_F(GameMemoryTest, FullHeapTrimsKeptGenerationsInsteadOfFailing) {
    UniverseRef start = Owned(MakeUniverse(RPentomino()));
    std::vector<Cells> direct = GrowDirectly(*start, 260);
    CGame& game = games.NewGame(*start);
    for (int i = 0; i < 250; ++i) ASSERT_EQ(game.StepForward(nullptr), 0);
    // Every generation stored again, so that there is plenty to give back.
    for (int32_t g = 1; g < 250; ++g) ASSERT_NE(game.GetGeneration(g), nullptr);
    ASSERT_EQ(game.Generations().Count(), 251);
    {
        FullHeap full;
        for (int i = 0; i < 10; ++i) ASSERT_EQ(game.StepForward(nullptr), 0);
        EXPECT_LT(game.Generations().Count(), 200);
        EXPECT_EQ(CellsOf(game.Current()), direct[260]);
    }
    for (int32_t g : {1, 49, 50, 77, 199, 257}) EXPECT_EQ(CellsOf(*game.GetGeneration(g)), direct[g]) << g;
}

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
    UniverseRef row = Owned(MakeUniverse({}));
    for (int32_t x = 0; x < 2000; ++x) row->SetCell(x, 0);
    CGame& game = games.NewGame(*row);
    game.Current().Consolidate();
    FakeGameWindow window(&game);
    window.floating = Owned(MakeUniverse(Glider()));
    window.floating->Consolidate();
    Cells before = CellsOf(game.Current());
    FullHeap full(true);
    EXPECT_EQ(MessageIdOf([&] { (void)game.StepForward(&window); }), msg::OutOfMemory);
    EXPECT_EQ(game.Generation(), 0);
    EXPECT_EQ(game.Generations().Count(), 1);
    EXPECT_EQ(game.FloatingObjectCopy(), nullptr);
    EXPECT_EQ(game.MaxPopulation(), 0u);
    EXPECT_EQ(game.PreviousGeneration(), nullptr);
    EXPECT_EQ(CellsOf(game.Current()), before);
    ASSERT_GE(window.listener.calls.size(), 2u);
    EXPECT_EQ(window.listener.calls.front(), "begin");  // growth had started
    EXPECT_EQ(window.listener.calls.back(), "end");     // and the window heard it end
}

}  // namespace
}  // namespace tessera::test
