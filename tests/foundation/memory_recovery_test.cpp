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

TEST(MemoryRecovery, WithoutRecovererThereIsNothingToTrim) {
    ASSERT_EQ(SetMemoryRecoverer(nullptr), nullptr);
    CountingAttempt attempt(1);
    EXPECT_FALSE(RecoverMemory(attempt));
    EXPECT_EQ(attempt.attempts, 0);
}

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

TEST(MemoryRecovery, FactorStopsDoublingAtItsLargestValue) {
    FakeRecoverer games({{EGameTrimClass::NamedOrKept, 1, 0xFFFFFFFFu}});
    CountingAttempt never(-1);
    EXPECT_FALSE(RecoverMemory(never));
    ASSERT_EQ(games.log.size(), 34u);  // class 0 once, class 1 at 1, 2, ..., 2^31, class 2 once
    EXPECT_EQ(games.log[32], "1x2147483648");
    EXPECT_EQ(games.log[33], "2x1");
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

TEST(GuardedRowHeapAlloc, UsesTheApplicationHeap) {
    const uint32_t chunksBefore = TheBlockHeap().ChunksInUse();
    void* block = GuardedRowHeapAlloc(100);
    EXPECT_EQ(CBlockHeap::BlockSize(block), 448u);  // 420 bytes + header, rounded up to 16
    TheBlockHeap().Free(block);
    EXPECT_EQ(TheBlockHeap().ChunksInUse(), chunksBefore);
}

TEST(GuardedGlobalAlloc, RefusedMemoryCutsThePatternCacheThenRecovers) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer aborts on impossible allocation sizes instead of failing them";
#else
    Log order;
    auto previous = SetPatternCacheLimiter([&] { order.push_back("cache"); });
    {
        FakeRecoverer games({{EGameTrimClass::UnnamedUndisplayed, 1}});
        EXPECT_EQ(GuardedGlobalAlloc(size_t{1} << 60), nullptr);
        order.insert(order.end(), games.log.begin(), games.log.end());
    }
    SetPatternCacheLimiter(previous);
    EXPECT_EQ(order, (Log{"cache", "0x1", "0x2", "1x1", "2x1"}));
#endif
}

TEST(GuardedGlobalAlloc, GivesChunkMemory) {
    bool limiterRan = false;
    auto previous = SetPatternCacheLimiter([&] { limiterRan = true; });
    void* memory = GuardedGlobalAlloc(4096);
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(memory) % 16, 0u);
    EXPECT_FALSE(limiterRan);
    GlobalRelease(memory);
    SetPatternCacheLimiter(previous);
}

TEST(Evaluators, PoolAttemptsReportSuccessAndKeepTheirResult) {
    CNearPool near(1, 24);
    CEvalNearPoolAlloc first(near);
    EXPECT_TRUE(first.Attempt());
    EXPECT_NE(first.Result(), nullptr);
    CEvalNearPoolAlloc second(near);
    EXPECT_FALSE(second.Attempt());
    EXPECT_EQ(second.Result(), nullptr);
    near.Give(first.Result());
    EXPECT_TRUE(second.Attempt());
    EXPECT_EQ(second.Result(), first.Result());

    CFarPool far(8, 40, "Evaluated");
    CEvalFarPoolAlloc fromFar(far);
    EXPECT_TRUE(fromFar.Attempt());
    EXPECT_EQ(far.FreeElements(), 7u);
    far.Free(fromFar.Result());

    CBlockHeap heap(4096, 4096);
    CEvalRowHeapAlloc tooBig(1020, heap);  // 4100 bytes: more than a chunk holds
    EXPECT_FALSE(tooBig.Attempt());
    CEvalRowHeapAlloc fits(1000, heap);
    EXPECT_TRUE(fits.Attempt());
    EXPECT_EQ(CBlockHeap::BlockSize(fits.Result()), 4048u);
    heap.Free(fits.Result());
}

TEST(NearPool, ExhaustionAndReuse) {
    CNearPool pool(32, 40);
    EXPECT_EQ(pool.SlotSize(), 48u);
    std::vector<uint8_t*> slots;
    for (int i = 0; i < 32; ++i) {
        auto* s = static_cast<uint8_t*>(pool.Take());
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(s) % 16, 0u);
        std::memset(s, i, 48);
        slots.push_back(s);
    }
    EXPECT_EQ(pool.Take(), nullptr);
    EXPECT_EQ(pool.FreeCount(), 0u);
    for (int i = 0; i < 32; ++i)  // disjoint: no slot overwrote another
        for (int b = 0; b < 48; ++b) ASSERT_EQ(slots[i][b], i);
    pool.Give(slots[7]);
    EXPECT_EQ(pool.Take(), slots[7]);
    EXPECT_EQ(pool.Take(), nullptr);
    for (uint8_t* s : slots) pool.Give(s);
    EXPECT_EQ(pool.FreeCount(), 32u);
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
