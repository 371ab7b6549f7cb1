#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/block_heap.h"
#include "foundation/errors.h"
#include "foundation/far_pool.h"
#include "foundation/global_memory.h"
#include "foundation/memory_recovery.h"
#include "foundation/near_pool.h"

namespace tessera::test {

namespace {

// A stand-in for the games: each game has a class and a number of generations it can give back; a
// trim with factor f gives back min(f, left) of them, answering "more with a larger factor" while the
// factor is below `needsFactor`. Giving back a generation frees one heap block when the game holds
// blocks. Every call is logged.
struct FakeGame {
    EGameTrimClass gameClass;
    int generations;
    uint32_t needsFactor = 1;
    std::vector<void*> blocks = {};
};

class FakeRecoverer : public CMemoryRecoverer {
public:
    explicit FakeRecoverer(std::vector<FakeGame> games, CBlockHeap* heap = nullptr)
        : games(std::move(games)), heap_(heap) {
        previous_ = SetMemoryRecoverer(this);
    }
    ~FakeRecoverer() override { SetMemoryRecoverer(previous_); }

    void TrimGamesOfClass(EGameTrimClass gameClass, uint32_t factor,
                          const std::function<bool(ETrimOutcome)>& afterEachGame) override {
        log.push_back(std::to_string(static_cast<int>(gameClass)) + "x" + std::to_string(factor));
        for (FakeGame& game : games) {
            if (game.gameClass != gameClass) continue;
            ETrimOutcome outcome = ETrimOutcome::NothingMore;
            if (game.generations > 0 && factor < game.needsFactor) {
                outcome = ETrimOutcome::MoreWithLargerFactor;
            } else if (game.generations > 0) {
                outcome = ETrimOutcome::Freed;
                for (uint32_t i = 0; i < factor && game.generations > 0; ++i) {
                    --game.generations;
                    if (heap_ && !game.blocks.empty()) {
                        heap_->Free(game.blocks.back());
                        game.blocks.pop_back();
                    }
                }
            }
            if (afterEachGame(outcome)) return;
        }
    }

    std::vector<FakeGame> games;
    std::vector<std::string> log;

private:
    CBlockHeap* heap_;
    CMemoryRecoverer* previous_;
};

// Succeeds on the n-th attempt.
class CountingAttempt : public CEvaluator {
public:
    explicit CountingAttempt(int succeedOn) : succeedOn_(succeedOn) {}
    bool Attempt() override { return ++attempts == succeedOn_; }
    int attempts = 0;

private:
    int succeedOn_;
};

using Log = std::vector<std::string>;

}  // namespace

TEST(MemoryRecovery, PassesRunClassByClassWithDoublingFactors) {
    FakeRecoverer games({{EGameTrimClass::Displayed, 3},
                         {EGameTrimClass::UnnamedUndisplayed, 1},
                         {EGameTrimClass::NamedOrKept, 2, 4}});
    CountingAttempt never(-1);
    EXPECT_FALSE(RecoverMemory(never));
    // Class 0: one generation at factor 1, then nothing more. Class 1: waits for factor 4. Class 2:
    // 1 at factor 1, 2 at factor 2, then nothing more.
    EXPECT_EQ(games.log, (Log{"0x1", "0x2", "1x1", "1x2", "1x4", "1x8", "2x1", "2x2", "2x4"}));
    EXPECT_EQ(never.attempts, 4);  // once after every trim that freed something
    for (const FakeGame& g : games.games) EXPECT_EQ(g.generations, 0);
}

TEST(MemoryRecovery, StopsAsSoonAsTheAttemptSucceeds) {
    FakeRecoverer games({{EGameTrimClass::UnnamedUndisplayed, 5},
                         {EGameTrimClass::UnnamedUndisplayed, 5},
                         {EGameTrimClass::Displayed, 5}});
    CountingAttempt third(3);
    EXPECT_TRUE(RecoverMemory(third));
    EXPECT_EQ(games.log, (Log{"0x1", "0x2"}));
    EXPECT_EQ(games.games[0].generations, 2);  // 1 then 2 given back
    EXPECT_EQ(games.games[1].generations, 4);  // untouched after the success
    EXPECT_EQ(games.games[2].generations, 5);
}

TEST(MemoryRecovery, NestedRecoveryAnswersFalse) {
    struct Nested : CEvaluator {
        bool Attempt() override {
            CountingAttempt inner(1);
            nestedResult = RecoverMemory(inner);
            return true;
        }
        bool nestedResult = true;
    } attempt;
    FakeRecoverer games({{EGameTrimClass::UnnamedUndisplayed, 1}});
    EXPECT_TRUE(RecoverMemory(attempt));
    EXPECT_FALSE(attempt.nestedResult);
}

// With the default configuration the heap holds 134 chunks; the 135th chunk request runs recovery.
TEST(GuardedRowHeapAlloc, ChunkCapRunsRecoveryThenFails) {
    CBlockHeap heap;
    ASSERT_EQ(heap.MaximumChunks(), 134u);
    const uint32_t cellsFillingAChunk = (499984 - 16 - 20) / 4;  // 4n + 20 bytes plus the header
    std::vector<void*> blocks;
    for (int i = 0; i < 134; ++i) blocks.push_back(GuardedRowHeapAlloc(heap, cellsFillingAChunk));
    EXPECT_EQ(heap.ChunksInUse(), 134u);
    EXPECT_TRUE(heap.FreeBlocks().empty());

    {  // Games that hold nothing on this heap: recovery runs, cannot help, the allocation fails.
        FakeRecoverer games({{EGameTrimClass::UnnamedUndisplayed, 2}, {EGameTrimClass::Displayed, 1}});
        try {
            GuardedRowHeapAlloc(heap, 10);
            FAIL() << "allocation beyond the cap succeeded";
        } catch (const CMemoryException& e) {
            EXPECT_EQ(e.MessageId(), msg::OutOfMemory);
        }
        EXPECT_EQ(games.log, (Log{"0x1", "0x2", "0x4", "1x1", "2x1", "2x2"}));
        EXPECT_EQ(heap.ChunksInUse(), 134u);
    }
    {  // A game that gives back blocks: the first freed block releases a chunk and the retry succeeds.
        FakeRecoverer games({{EGameTrimClass::NamedOrKept, 3}}, &heap);
        games.games[0].blocks.assign(blocks.end() - 3, blocks.end());
        blocks.resize(blocks.size() - 3);
        void* block = GuardedRowHeapAlloc(heap, 10);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(CBlockHeap::BlockSize(block), 80u);  // 4 x 10 + 20 bytes plus the header, rounded up
        EXPECT_EQ(games.log, (Log{"0x1", "1x1"}));
        EXPECT_EQ(games.games[0].generations, 2);
        EXPECT_EQ(heap.ChunksInUse(), 134u);
        heap.Free(block);
        for (void* b : games.games[0].blocks) heap.Free(b);
    }
    for (void* b : blocks) heap.Free(b);
    EXPECT_EQ(heap.ChunksInUse(), 0u);
}

TEST(NearPool, ForeignSlotsAreRefused) {
    CNearPool pool(4, 16);
    void* slot = pool.Take();
    int outside = 0;
    EXPECT_THROW(pool.Give(&outside), CErrorException);
    EXPECT_THROW(pool.Give(static_cast<uint8_t*>(slot) + 8), CErrorException);
    EXPECT_EQ(pool.FreeCount(), 3u);
    pool.Give(slot);
    EXPECT_THROW(pool.Give(slot), CErrorException);  // every slot is already free
    pool.Give(nullptr);
    EXPECT_EQ(pool.FreeCount(), 4u);
}

}  // namespace tessera::test
