// Growth against a plain column-by-column sweep written from the steps of the algorithm: the same
// rows and windows visited, the same listener calls in the same order, the same signature and cells.
// Layouts probe the places where reading 64 columns at a time could go wrong: coordinates at the
// limits, negative ones, cells on and around multiples of 64, and long gaps within and between rows.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/grow_listener.h"
#include "foundation/block_heap.h"
#include "support/recording_listener.h"
#include "support/reference_life.h"

namespace tessera::test {
namespace {

struct PlainSweep {
    std::vector<std::string> calls;
    Cells next;
    uint32_t signature = 0;
    uint64_t windows = 0;
    uint64_t rows = 0;
};

// One generation, column by column: w starts at 0 in each output row; an empty window jumps to the
// smallest unread cell of the three rows, otherwise the next column follows.
PlainSweep PlainGrow(const Cells& cells, const TransitionTable& table) {
    std::map<int64_t, std::vector<int64_t>> rows;
    for (const CLPoint& p : cells) rows[p.y].push_back(p.x);  // ascending x within each row
    const std::vector<int64_t> none;
    auto rowAt = [&](int64_t y) -> const std::vector<int64_t>& {
        auto it = rows.find(y);
        return it == rows.end() ? none : it->second;
    };
    constexpr int64_t kEnd = INT64_MAX;
    PlainSweep out;
    if (rows.empty()) return out;
    out.calls.push_back("begin");
    int64_t y = rows.begin()->first - 1;
    for (;;) {
        const std::vector<int64_t>* three[3] = {&rowAt(y - 1), &rowAt(y), &rowAt(y + 1)};
        size_t position[3] = {0, 0, 0};
        auto valueAt = [&](int i) {
            return position[i] < three[i]->size() ? (*three[i])[position[i]] : kEnd;
        };
        out.calls.push_back("row " + std::to_string(y));
        ++out.rows;
        uint32_t w = 0;
        int64_t x = 0;
        for (;;) {
            if (w == 0) {
                x = std::min({valueAt(0), valueAt(1), valueAt(2)});
                if (x == kEnd) break;
            } else {
                ++x;
            }
            const uint32_t weights[3] = {64, 8, 1};
            for (int i = 0; i < 3; ++i) {
                if (valueAt(i) == x) {
                    ++position[i];
                    w += weights[i];
                }
            }
            out.signature += w;
            if (w & 16) out.signature += w;
            ++out.windows;
            const uint32_t e = table[w];
            const int32_t cell = static_cast<int32_t>(x - 1);
            if (e & kNextAlive) {
                out.next.insert({cell, static_cast<int32_t>(y)});
                if (e & kBorn) out.calls.push_back("born " + std::to_string(cell));
            } else if (e & kDied) {
                out.calls.push_back("died " + std::to_string(cell));
            }
            w = e & kWindowMask;
        }
        out.calls.push_back("rowend");
        if (rows.count(y) || rows.count(y + 1)) {
            ++y;
            continue;
        }
        auto following = rows.upper_bound(y + 1);
        if (following == rows.end()) break;
        y = following->first - 1;
    }
    out.calls.push_back("end");
    return out;
}

// Cells of one row at x0 + the running sum of gaps picked from a list that straddles the 62 and 64
// columns one mask holds, and jumps far beyond them.
void AddRun(Cells& cells, std::mt19937& rng, int64_t x0, int32_t y, int count, int64_t maxX) {
    static constexpr int64_t kGaps[] = {1,  1,  1,  2,  2,   3,   4,   60,  61,  62,
                                        63, 64, 65, 66, 126, 127, 128, 129, 5000};
    int64_t x = x0;
    for (int i = 0; i < count && x <= maxX; ++i) {
        cells.insert({static_cast<int32_t>(x), y});
        x += kGaps[rng() % std::size(kGaps)];
    }
}

// A few bands of rows near an anchor; rows within a band are adjacent or one apart, bands far apart.
Cells Layout(std::mt19937& rng, int64_t anchorX, int64_t anchorY) {
    constexpr int64_t kMinX = -2147483646, kMaxX = 2147483643;  // the cells growth still accepts
    Cells cells;
    int64_t y = anchorY;
    for (int band = 0; band < 3; ++band) {
        for (int row = 0; row < 4; ++row) {
            if (y < kMinX || y > kMaxX) break;
            int64_t x0 = anchorX + static_cast<int64_t>(rng() % 130) - 65;
            x0 = std::clamp<int64_t>(x0, kMinX, kMaxX);
            AddRun(cells, rng, x0, static_cast<int32_t>(y), 2 + static_cast<int>(rng() % 40), kMaxX);
            y += 1 + static_cast<int64_t>(rng() % 2);
        }
        y += static_cast<int64_t>(rng() % 3) == 0 ? 2 : 1000000;
    }
    return cells;
}

void ExpectSameAsPlainSweep(const Cells& cells, RuleCode rule) {
    auto u = MakeUniverse(cells, rule);
    ASSERT_EQ(u->CheckGrowable(), 0);
    const PlainSweep plain = PlainGrow(cells, BuildTransitionTable(rule));
    RecordingListener listener;
    CGrowStatistics statistics;
    auto grown = u->Grow(&listener, &statistics);
    EXPECT_EQ(listener.calls, plain.calls);
    EXPECT_EQ(CellsOf(*grown), plain.next);
    EXPECT_EQ(u->KnownSignature(), plain.signature);
    EXPECT_EQ(statistics.windowsVisited, plain.windows);
    EXPECT_EQ(statistics.rowsVisited, plain.rows);
    // The quiet sweep visits the same windows.
    CGrowStatistics quiet;
    auto again = u->Grow(nullptr, &quiet);
    EXPECT_EQ(CellsOf(*again), plain.next);
    EXPECT_EQ(u->KnownSignature(), plain.signature);
    EXPECT_EQ(quiet.windowsVisited, plain.windows);
}

// Every fifth trial is a dense soup across several mask boundaries.
TEST(GrowSweep, MatchesThePlainSweepOverRandomRulesAndLayouts) {
    const int64_t anchors[] = {
        0,          -1,          64,         -64,         62,     64 * 1000, -64 * 1001 + 1,
        2147483643, -2147483646, 2147483583, -2147483582, 1 << 30};
    std::mt19937 rng(4242);
    for (int trial = 0; trial < 375; ++trial) {
        const int64_t ax = anchors[rng() % std::size(anchors)];
        const int64_t ay = anchors[rng() % std::size(anchors)];
        const RuleCode rule = RandomRule(rng, true);
        const Cells cells = trial % 5 == 0
                                ? RandomSoup(rng, -130 + trial / 2, -5, 260, 6, 0.2 + 0.008 * (trial % 75))
                                : Layout(rng, ax, ay);
        SCOPED_TRACE("trial " + std::to_string(trial) + " rule " + std::to_string(rule));
        ExpectSameAsPlainSweep(cells, rule);
    }
}

TEST(GrowSweep, RowsOfThirtyThousandCellsGrow) {
    // The longest row growth accepts, with shorter neighbour rows above and below.
    Cells cells;
    for (int32_t i = 0; i < 30000; ++i) cells.insert({-40000 + 3 * i, 0});
    for (int32_t i = 0; i < 500; ++i) cells.insert({-40000 + 7 * i, 1});
    for (int32_t i = 0; i < 500; ++i) cells.insert({7 * i, -1});
    // Without births on 1 or 2 its output rows fit the chunks of the default block heap.
    ExpectSameAsPlainSweep(cells, kConwayRuleCode);
    // With births on 1 an output row may hold nine cells per source cell: 270006 words, a block
    // larger than a default chunk, so the heap is configured with larger chunks (as HeapBlockSize
    // allows) while no chunk is in use.
    ASSERT_EQ(TheBlockHeap().ChunksInUse(), 0u);
    TheBlockHeap().Configure(2000000, CBlockHeap::kDefaultMaximum, 0);
    ExpectSameAsPlainSweep(cells, (1u << 10) | kNeighbourhoodMask);
    ASSERT_EQ(TheBlockHeap().ChunksInUse(), 0u);
    TheBlockHeap().Configure(CBlockHeap::kDefaultChunkSize, CBlockHeap::kDefaultMaximum, 0);
}

}  // namespace
}  // namespace tessera::test
