// The row heap blocks of growth results. Output rows can hold more cells than their three source rows
// together; growth must still keep every row inside the block it was reserved in. Growth that runs out
// of row-heap memory part way: the failure reaches the caller, the listener ends with the source, and
// every block and universe object taken for the partial result is given back.
#include <gtest/gtest.h>

#include "foundation/block_heap.h"
#include "foundation/far_pool.h"
#include "support/cells.h"
#include "support/recording_listener.h"
#include "support/reference_life.h"

namespace tessera::test {
namespace {

// Born on 3, every cell survives, all eight neighbours.
constexpr RuleCode kKeepAllBornOnThree = 0x1FFu | (1u << 12) | kNeighbourhoodMask;

const CFarPool* PoolNamed(const std::string& name) {
    for (CFarPool* pool = AllFarPools().First(); pool; pool = pool->Next())
        if (pool->Name() == name) return pool;
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

// Bands of two rows: every other column in the lower row, every fourth in the upper one. Each gap of
// the lower row has three neighbours and is born, so that row comes out with four cells for every
// three of the band.
Cells CombBands(int bands, int32_t width) {
    Cells cells;
    for (int band = 0; band < bands; ++band) {
        const int32_t y = 4 * band;
        for (int32_t x = 0; x < width; x += 2) cells.insert({x, y + 1});
        for (int32_t x = 2; x < width; x += 4) cells.insert({x, y});
    }
    return cells;
}

// Combs: 45 bands of width 404 hold over 10000 cells, so the result's blocks take 30000 words; the full
// row of the 42nd band is reserved just before the end of the first block. Lone cells under birth on 0
// with no counted neighbour: every window holding a live cell counts 0, so each cell dies and its eight
// neighbours are born, three output cells per source cell in the rows above and below (blocks sized as
// for birth on 1). The sweep sizes its blocks up front; tiles make the rows when they are read.
TEST(GrowRowRoom, FilledRowsStayInsideTheirBlocks) {
    constexpr RuleCode kBornOnZeroAlone = 1u << 9;
    Cells lone;
    for (int32_t x = 0; x < 400; x += 4) lone.insert({x, 0});
    const std::pair<Cells, RuleCode> cases[] = {{CombBands(1, 404), kKeepAllBornOnThree},
                                                {CombBands(45, 404), kKeepAllBornOnThree},
                                                {lone, kBornOnZeroAlone}};
    for (const bool sweep : {true, false})
        for (const auto& [cells, rule] : cases) {
            SCOPED_TRACE(std::to_string(cells.size()) + (sweep ? " cells, sweep" : " cells, tiles"));
            auto u = MakeUniverse(cells, rule);
            auto grown = sweep ? u->Grow(nullptr, nullptr) : u->Grow(nullptr);
            EXPECT_EQ(CellsOf(*grown), ReferenceStep(cells, rule));
            EXPECT_EQ(grown->MaxRowPopulation(), rule == kBornOnZeroAlone ? 300u : 403u);
            uint64_t rowWords = 0;
            for (const CRow* row = grown->FirstRow(); row; row = row->next) rowWords += RowWords(row->count);
            EXPECT_LE(rowWords, uint64_t{grown->RowHeapBlockCount()} * grown->RowHeapDefaultCapacity())
                << "the rows take more words than their blocks hold";
            if (sweep && rule == kBornOnZeroAlone) {
                EXPECT_EQ(grown->RowHeapDefaultCapacity(), 10u * 100 + kRowOverheadWords);
            }
        }
}

TEST(GrowMemory, ExhaustionPartWayPropagatesAndLeaksNothing) {
    ASSERT_EQ(TheBlockHeap().ChunksInUse(), 0u) << "the test needs an idle heap";
    constexpr size_t kChunk = 140000;  // one 30000-word result block per chunk
    SmallChunkHeap heap(kChunk);
    {
        std::mt19937 rng(71);
        auto source = MakeUniverse(RandomSoup(rng, 0, 0, 300, 300, 0.4), kKeepAllBornOnThree);
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
