// Growth that runs out of row-heap memory part way: the failure reaches the caller, the listener ends
// with the source, and every block and universe object taken for the partial result is given back.
#include <gtest/gtest.h>

#include "foundation/block_heap.h"
#include "foundation/far_pool.h"
#include "support/cells.h"
#include "support/recording_listener.h"

namespace tessera::test {
namespace {

const CFarPool* PoolNamed(const std::string& name) {
    for (CFarPool* pool = AllFarPools().First(); pool; pool = pool->Next()) {
        if (pool->Name() == name) return pool;
    }
    return nullptr;
}

// Small chunks for the test, the defaults again afterwards (both only while no chunk is in use).
class SmallChunkHeap {
public:
    explicit SmallChunkHeap(size_t chunkSize) {
        TheBlockHeap().Configure(chunkSize, CBlockHeap::kDefaultMaximum, 0);
    }
    ~SmallChunkHeap() {
        TheBlockHeap().Configure(CBlockHeap::kDefaultChunkSize, CBlockHeap::kDefaultMaximum, 0);
    }
};

TEST(GrowMemory, ExhaustionPartWayPropagatesAndLeaksNothing) {
    ASSERT_EQ(TheBlockHeap().ChunksInUse(), 0u) << "the test needs an idle heap";
    constexpr size_t kChunk = 140000;  // one 30000-word result block per chunk
    SmallChunkHeap heap(kChunk);
    {
        std::mt19937 rng(71);
        const RuleCode keepAllBornOnThree = 0x1FFu | (1u << 12) | kNeighbourhoodMask;
        auto source = MakeUniverse(RandomSoup(rng, 0, 0, 300, 300, 0.4), keepAllBornOnThree);
        source->Consolidate();
        auto reference = source->Grow(nullptr, nullptr);  // the sweep writes its rows at once
        ASSERT_GE(reference->RowHeapBlockCount(), 2u) << "the result must need several blocks";
        const Cells expected = CellsOf(*reference);
        reference.reset();

        const CFarPool* universes = PoolNamed("CGrowableUniverse");
        ASSERT_NE(universes, nullptr);
        auto universesInUse = [&] { return universes->TotalElements() - universes->FreeElements(); };
        const uint32_t chunksForSource = TheBlockHeap().ChunksInUse();
        bool failedPartWay = false, succeeded = false;
        for (uint32_t extra = 0; extra <= 6 && !succeeded; ++extra) {
            TheBlockHeap().SetMaximum(uint64_t{chunksForSource + extra} * kChunk);
            const CMemoryFigures before = TheBlockHeap().GetFigures();
            const size_t universesBefore = universesInUse();
            RecordingListener listener;
            try {
                auto grown = source->Grow(&listener);
                succeeded = true;
                EXPECT_EQ(listener.ended, grown.get());
                EXPECT_EQ(CellsOf(*grown), expected);
            } catch (const CMemoryException& e) {
                EXPECT_EQ(e.MessageId(), 1019);
                ASSERT_FALSE(listener.calls.empty());
                EXPECT_EQ(listener.calls.back(), "end");
                EXPECT_EQ(listener.ended, source.get());
                EXPECT_EQ(source->UseCount(), 0);
                EXPECT_EQ(TheBlockHeap().GetFigures(), before) << "every block of the partial result is back";
                EXPECT_EQ(universesInUse(), universesBefore);
                failedPartWay |= std::any_of(listener.calls.begin(), listener.calls.end(),
                                             [](const std::string& c) { return c.rfind("row ", 0) == 0; });
            }
        }
        EXPECT_TRUE(failedPartWay);
        EXPECT_TRUE(succeeded);
        TheBlockHeap().SetMaximum(CBlockHeap::kDefaultMaximum);
    }
    EXPECT_EQ(TheBlockHeap().ChunksInUse(), 0u);
}

}  // namespace
}  // namespace tessera::test
