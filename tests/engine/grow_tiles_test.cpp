// Growth on bit tiles against the row sweep: random soups under random rules and neighbourhoods (birth
// on 0 included), grown side by side for many generations with the tiles carried from step to step,
// must agree on every generation's cells, totals, signature and listener calls. Edits between steps
// and soups placed across tile borders and near the coordinate limits are part of the mix. Generations
// grown without a listener have no rows until read: some are read at once, the rest only after
// several more steps, in random order. Rows computed on tiles are stored four at a time with wide
// instructions (where the processor has them), checked against storing them one at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

#include "engine/grow_listener.h"
#include "engine/tile_row_store.h"
#include "foundation/block_heap.h"
#include "foundation/messages.h"
#include "support/recording_listener.h"
#include "support/reference_life.h"

namespace tessera::test {
namespace {

// Asked before a step, a generation on tiles sums its signature on the tiles; the sweep's sum is the
// reference.
void ExpectSignatureFromTiles(CGrowableUniverse& rows, CGrowableUniverse& tiles) {
    SetGrowthEngine(EGrowthEngine::Tiles);
    const uint32_t fromTiles = tiles.GetSignature();
    SetGrowthEngine(EGrowthEngine::Rows);
    EXPECT_EQ(fromTiles, rows.GetSignature());
}

// Totals that a generation on tiles answers without making its rows.
void ExpectSameTotals(CGrowableUniverse& rows, CGrowableUniverse& tiles) {
    EXPECT_EQ(tiles.Generation(), rows.Generation());
    EXPECT_EQ(tiles.Population(), rows.Population());
    EXPECT_EQ(tiles.RowCount(), rows.RowCount());
    EXPECT_EQ(tiles.GetBounds(), rows.GetBounds());
    EXPECT_EQ(tiles.CheckGrowable(), rows.CheckGrowable());
}

void ExpectSameGeneration(CGrowableUniverse& rows, CGrowableUniverse& tiles) {
    ExpectSameTotals(rows, tiles);
    // The reference signature comes from the sweep, which cannot sum a generation beyond the limits.
    SetGrowthEngine(EGrowthEngine::Rows);
    if (rows.Population() == 0 || rows.CheckGrowable() == 0) {
        EXPECT_EQ(tiles.GetSignature(), rows.GetSignature());
    }
    EXPECT_EQ(tiles.MaxRowPopulation(), rows.MaxRowPopulation());
    EXPECT_EQ(CellsOf(tiles), CellsOf(rows));
    EXPECT_TRUE(tiles.HoldsRows());
}

// Grows both chains for up to `generations` steps (stopping early when a rule fills the plane or
// growth is refused), changing the rule now and then when asked; answers the number of steps taken.
int GrowSideBySide(std::mt19937& rng, const Cells& start, RuleCode rule, int generations, bool newRules) {
    std::vector<GrowablePtr> rowChain, tileChain;  // generations not compared yet
    auto rows = MakeUniverse(start, rule);
    auto tiles = MakeUniverse(start, rule);
    std::uniform_int_distribution<int> pick(0, 9);
    int steps = 0;
    int lazySteps = 0;
    for (; steps < generations && rows->CheckGrowable() == 0 && rows->Population() < 20000; ++steps) {
        const int choice = pick(rng);
        if (choice == 0) {
            // An edit between steps: the tiles of the edited generation must not be used.
            const CLPoint p = *std::next(start.begin(), static_cast<long>(rng() % start.size()));
            rows->SetCell(p.x + 1, p.y);
            tiles->SetCell(p.x + 1, p.y);
        }
        if (choice == 1) ExpectSignatureFromTiles(*rows, *tiles);
        if (newRules && choice == 8 && rng() % 4 == 0) {
            // A new rule for the generation: what its tiles learnt about settled places is void.
            const RuleCode next = RandomRule(rng, true);
            rows->SetRuleCode(next);
            tiles->SetRuleCode(next);
        }
        const bool listening = choice < 5;
        RecordingListener heardRows, heardTiles;
        auto nextRows = rows->Grow(listening ? &heardRows : nullptr, nullptr);
        auto nextTiles = tiles->GrowWithTiles(listening ? &heardTiles : nullptr);
        EXPECT_EQ(heardTiles.calls, heardRows.calls) << "step " << steps;
        lazySteps += !nextTiles->HoldsRows();
        ExpectSameTotals(*nextRows, *nextTiles);
        if (choice == 9) ExpectSameGeneration(*rows, *tiles);  // read after its tiles moved on
        if (choice < 7) {
            rowChain.push_back(std::move(rows));
            tileChain.push_back(std::move(tiles));
        }
        if (::testing::Test::HasFailure()) return steps;
        rows = std::move(nextRows);
        tiles = std::move(nextTiles);
    }
    rowChain.push_back(std::move(rows));
    tileChain.push_back(std::move(tiles));
    std::vector<size_t> order(rowChain.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::shuffle(order.begin(), order.end(), rng);
    for (size_t i : order) {
        SCOPED_TRACE("generation " + std::to_string(rowChain[i]->Generation()));
        ExpectSameGeneration(*rowChain[i], *tileChain[i]);
    }
    EXPECT_TRUE(steps < 10 || lazySteps > 0) << "no generation was left without rows";
    return steps;
}

TEST(GrowTiles, RandomRulesAndPlacesAgreeWithTheRowSweep) {
    std::mt19937 rng(15015);
    const int32_t lefts[] = {0, -64, 61, -2147483600, 2147483570, 1000003};
    const int32_t tops[] = {0, -32, 29, -2147483610, 2147483580, -777777};
    int totalSteps = 0;
    for (int round = 0; round < 60 && !HasFailure(); ++round) {
        const RuleCode rule = round % 4 == 0 ? kConwayRuleCode : RandomRule(rng, true);
        const int32_t left = lefts[round % 6], top = tops[(round / 6) % 6];
        const int size = 6 + static_cast<int>(rng() % 40);
        const Cells soup = RandomSoup(rng, left, top, size, size, 0.2 + 0.1 * (round % 4));
        if (soup.empty()) continue;
        SCOPED_TRACE("round " + std::to_string(round) + " rule " + std::to_string(rule));
        totalSteps += GrowSideBySide(rng, soup, rule, 40, true);
    }
    EXPECT_GT(totalSteps, 600) << "too few generations compared to mean much";
}

// Ash: still lifes and blinkers left alone for long stretches, where tiles sleep and are dropped.
TEST(GrowTiles, LongConwayRunAgreesWithTheRowSweep) {
    std::mt19937 rng(4242);
    const Cells soup = RandomSoup(rng, -100, -50, 200, 120, 0.35);
    EXPECT_EQ(GrowSideBySide(rng, soup, kConwayRuleCode, 400, false), 400);
}

// Gliders fired from afar into blocks and blinkers, whose tiles sleep until the gliders reach them.
TEST(GrowTiles, GlidersWakeSettledTiles) {
    std::mt19937 rng(777);
    Cells start;
    for (int i = 0; i < 150; ++i)
        start.merge(CellsFromPicture(i % 2 ? "OO\nOO" : "OOO", static_cast<int32_t>(rng() % 48 * 8),
                                     static_cast<int32_t>(rng() % 12 * 8)));
    for (int32_t g = 0; g < 16; ++g) {
        const bool east = g % 2 == 0;
        const int32_t x = (east ? -40 : 424) + static_cast<int32_t>(rng() % 200) * (east ? -1 : 1);
        start.merge(CellsFromPicture(east ? ".O.\n..O\nOOO" : ".O.\nO..\nOOO", x, g * 6 - 120));
    }
    auto rows = MakeUniverse(start), tiles = MakeUniverse(start);
    for (int step = 1; step <= 1000 && !HasFailure(); ++step) {
        rows = rows->Grow(nullptr, nullptr);
        tiles = tiles->GrowWithTiles(nullptr);
        if (step % 25 == 0) ExpectSameGeneration(*rows, *tiles);
    }
}

// Sums kept on tiles must go stale whenever cells they read change. Under a neighbourhood blind to the
// cells below, a tile stays as it is while the tile under it changes, which its sum also reads.
TEST(GrowTiles, KeptSignaturesFollowTheCellsTheyRead) {
    constexpr RuleCode kAboveAndBeside = RuleCode{0x1E8} << kNeighbourhoodShift;
    constexpr RuleCode rule =
        (RuleCode{0b1110} << kSurvivalShift) | (RuleCode{0b100} << kBirthShift) | kAboveAndBeside;
    std::mt19937 rng(31);
    const Cells soup = RandomSoup(rng, -20, 10, 150, 40, 0.3);
    auto rows = MakeUniverse(soup, rule), tiles = MakeUniverse(soup, rule);
    for (int step = 0; step < 80 && !HasFailure(); ++step) {
        SCOPED_TRACE(step);
        ExpectSignatureFromTiles(*rows, *tiles);
        rows = rows->Grow(nullptr, nullptr);
        tiles = tiles->GrowWithTiles(nullptr);
    }
}

// A generation without rows refuses growth for a row over the limit exactly as one with rows does,
// and makes no rows when the population, the width or the bands of 32 rows rule such a row out.
TEST(GrowTiles, RowLimitWithoutRows) {
    constexpr RuleCode kSurviveOnTwo = (1u << 2) | kNeighbourhoodMask;
    Cells longRow, fewPerBand;
    for (int32_t x = 0; x < 31000; ++x) longRow.insert({x, 0});
    for (int32_t i = 0; i < 31; ++i) {
        for (int32_t x = 0; x < 1000; ++x) fewPerBand.insert({1000 * i + x, 3 * i});
    }
    for (const Cells* cells : {&longRow, &fewPerBand}) {
        auto grown = MakeUniverse(*cells, kSurviveOnTwo)->GrowWithTiles(nullptr);
        auto reference = MakeUniverse(*cells, kSurviveOnTwo)->Grow(nullptr, nullptr);
        ASSERT_GT(grown->Population(), 30000u);
        const bool refused = cells == &longRow;
        EXPECT_EQ(grown->CheckGrowable(), refused ? msg::GameTooBig : 0);
        EXPECT_EQ(reference->CheckGrowable(), refused ? msg::GameTooBig : 0);
        EXPECT_EQ(grown->HoldsRows(), refused) << "rows are made only to find the longest";
        EXPECT_EQ(CellsOf(*grown), CellsOf(*reference));
    }
}

TEST(GrowTiles, ExhaustedHeapFailsCleanlyAndKeepsTheSource) {
    ASSERT_EQ(TheBlockHeap().ChunksInUse(), 0u) << "the test needs an idle heap";
    std::mt19937 rng(9);
    auto source = MakeUniverse(RandomSoup(rng, 0, 0, 400, 400, 0.3));
    source->Consolidate();
    const Cells before = CellsOf(*source);
    TheBlockHeap().SetMaximum(uint64_t{TheBlockHeap().ChunksInUse()} * TheBlockHeap().ChunkSize());
    RecordingListener heard;
    EXPECT_THROW(source->GrowWithTiles(&heard), CMemoryException);
    TheBlockHeap().SetMaximum(CBlockHeap::kDefaultMaximum);
    ASSERT_FALSE(heard.calls.empty());
    EXPECT_EQ(heard.calls.back(), "end");
    EXPECT_EQ(heard.ended, source.get());
    EXPECT_EQ(CellsOf(*source), before);
    auto grown = source->GrowWithTiles(nullptr);
    EXPECT_EQ(CellsOf(*grown), ReferenceStep(before, kConwayRuleCode));
}

// Random rows and spans: the same rows stored and the same summaries.
TEST(TileRowStore, WideAndOneByOneAgree) {
    std::mt19937_64 rng(77);
    for (int trial = 0; trial < 500; ++trial) {
        std::array<uint64_t, 32> next{}, wide{}, single{};
        for (int r = 0; r < 32; ++r) {
            // Sparse, dense, equal and empty rows alike.
            const uint64_t mask = rng() % 4 == 0 ? 0 : rng();
            wide[r] = single[r] = rng() & rng();
            next[r] = rng() % 3 == 0 ? wide[r] : rng() & mask;
        }
        const int first = static_cast<int>(rng() % 8) * 4;
        const int end = first + 4 + static_cast<int>(rng() % ((32 - first) / 4)) * 4;
        const CStoredRows a = StoreTileRows(next.data(), wide.data(), first, end);
        const CStoredRows b = StoreTileRowsOneByOne(next.data(), single.data(), first, end);
        ASSERT_EQ(wide, single) << "trial " << trial;
        EXPECT_EQ(a.changed, b.changed);
        EXPECT_EQ(a.occupied, b.occupied);
        EXPECT_EQ(a.changedColumns, b.changedColumns);
        EXPECT_EQ(a.populationChange, b.populationChange);
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace tessera::test
