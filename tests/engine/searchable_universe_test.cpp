// The hashed universe: membership, bounds, hash-order exploration, its growable copy, and object
// collection against a breadth-first search over a plain set.
#include <gtest/gtest.h>

#include <deque>

#include "foundation/messages.h"
#include "engine/searchable_universe.h"
#include "support/cells.h"
#include "foundation/errors.h"
#include "support/reference_life.h"

namespace tessera::test {
namespace {

std::unique_ptr<CSearchableUniverse> MakeSearchable(const Cells& cells) {
    auto u = std::make_unique<CSearchableUniverse>();
    for (const CLPoint& p : cells) u->SetCell(p.x, p.y);
    return u;
}

// The 8-connected cells of cells reachable from start inside area.
Cells ReferenceObject(const Cells& cells, CLPoint start, const CLRect& area) {
    Cells seen;
    if (!cells.count(start)) return seen;
    std::deque<CLPoint> queue{start};
    seen.insert(start);
    while (!queue.empty()) {
        const CLPoint p = queue.front();
        queue.pop_front();
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const CLPoint q{p.x + dx, p.y + dy};
                if (cells.count(q) && area.Contains(q) && seen.insert(q).second) queue.push_back(q);
            }
        }
    }
    return seen;
}

TEST(SearchableUniverse, MembershipAndCountsAgreeWithAPlainSet) {
    std::mt19937 rng(61);
    std::uniform_int_distribution<int32_t> coordinate(-30, 30);
    CSearchableUniverse u(4);  // a small hint: chains just grow
    Cells model;
    for (int step = 0; step < 20000; ++step) {
        const CLPoint p{coordinate(rng), coordinate(rng)};
        if (rng() % 3) {
            EXPECT_EQ(u.SetCell(p.x, p.y), model.insert(p).second);
        } else {
            EXPECT_EQ(u.ClearCell(p.x, p.y), model.erase(p) == 1);
        }
        ASSERT_EQ(u.Population(), model.size());
        if (step % 1000 == 0) {
            ASSERT_EQ(u.GetBounds(), BoundsOf(model));
        }
    }
    for (int y = -31; y <= 31; ++y) {
        for (int x = -31; x <= 31; ++x) ASSERT_EQ(u.IsAlive(x, y), model.count({x, y}) == 1);
    }
    EXPECT_EQ(CellsOf(u), model);
    EXPECT_EQ(u.BucketCount(), 8u);
}

TEST(SearchableUniverse, BoundsAfterRemovalAndLaterAdditionAreExact) {
    auto u = MakeSearchable({{0, 0}, {10, 10}, {5, 5}});
    EXPECT_EQ(u->GetBounds(), (CLRect{0, 11, 0, 11}));
    u->ClearCell(5, 5);  // any removal makes the bounds stale
    u->SetCell(3, 3);
    EXPECT_EQ(u->GetBounds(), (CLRect{0, 11, 0, 11})) << "not just the cells set since";
    u->ClearCell(10, 10);
    EXPECT_EQ(u->GetBounds(), (CLRect{0, 4, 0, 4}));
    CSearchableUniverse empty;
    EXPECT_EQ(empty.GetBounds(), EmptyRect);
    EXPECT_EQ(empty.FirstCell(), kExploreEndPoint);
}

TEST(SearchableUniverse, HashOrderFollowsTheNonEmptyBucketList) {
    CSearchableUniverse u;  // 64 buckets; bucket of (x, y) = (x ^ y) & 63 for small coordinates
    EXPECT_EQ(u.BucketCount(), 64u);
    u.SetCell(1, 0);   // bucket 1
    u.SetCell(2, 0);   // bucket 2, first filled last: heads the list
    u.SetCell(0, 1);   // bucket 1 again: front of its chain
    u.SetCell(65, 0);  // bucket 1 as well
    const std::vector<CLPoint> expected{{2, 0}, {65, 0}, {0, 1}, {1, 0}};
    EXPECT_EQ(SequenceOf(*u.ExploreAll()), expected);
    EXPECT_EQ(u.FirstCell(), (CLPoint{2, 0}));
    // The area of ExploreArea is recorded only: every cell comes out.
    EXPECT_EQ(SequenceOf(*u.ExploreArea({100, 200, 100, 200})), expected);
    EXPECT_EQ(u.FirstCellIn({100, 200, 100, 200}), (CLPoint{2, 0}));
    // Emptying the head bucket moves the walk on to the next non-empty one.
    u.ClearCell(2, 0);
    EXPECT_EQ(SequenceOf(*u.ExploreAll()), (std::vector<CLPoint>{{65, 0}, {0, 1}, {1, 0}}));
    // A bucket emptied further down the list is passed over.
    u.SetCell(3, 0);  // bucket 3 heads the list
    u.ClearCell(65, 0);
    u.ClearCell(0, 1);
    u.ClearCell(1, 0);
    EXPECT_EQ(SequenceOf(*u.ExploreAll()), (std::vector<CLPoint>{{3, 0}}));
}

TEST(SearchableUniverse, GrowableCopyMatchesAndFollowsEdits) {
    std::mt19937 rng(62);
    const Cells cells = RandomSoup(rng, -20, 5, 40, 30, 0.3);
    auto g = MakeUniverse(cells);
    g->SetGeneration(8);
    CSearchableUniverse s(*g);
    EXPECT_TRUE(s.IsModified()) << "made by pasting";
    EXPECT_EQ(s.BucketCount(), [&] {
        size_t power = 1;
        while (power * 2 <= g->Population() / 2) power *= 2;
        return std::max<size_t>(8, 2 * power);
    }());
    EXPECT_EQ(s.GetSignature(), g->GetSignature());
    EXPECT_EQ(s.GetSignature(), ReferenceSignature(cells));
    EXPECT_EQ(SequenceOf(*s.ExploreSorted()), SequenceOf(*g->ExploreSorted()));
    EXPECT_TRUE(IsSameUniverse(s, *g));
    EXPECT_EQ(s.CheckGrowable(), 0);
    auto grown = s.Grow(nullptr);
    EXPECT_EQ(CellsOf(*grown), ReferenceStep(cells, kConwayRuleCode));
    auto clone = s.Clone();
    EXPECT_TRUE(clone->IsGrowable());
    EXPECT_EQ(CellsOf(*clone), cells);

    // Editing after the copy was made: the copy is made again from the current cells.
    ASSERT_TRUE(s.HasGrowableCopy());
    const Cells block{{1000, 1000}, {1001, 1000}, {1000, 1001}, {1001, 1001}};
    for (const CLPoint& p : block) s.SetCell(p.x, p.y);
    EXPECT_FALSE(s.HasGrowableCopy());
    Cells edited = cells;
    edited.insert(block.begin(), block.end());
    EXPECT_EQ(SequenceOf(*s.ExploreSorted()), std::vector<CLPoint>(edited.begin(), edited.end()));
    EXPECT_EQ(s.GetSignature(), ReferenceSignature(edited));
    const Cells first = ReferenceStep(cells, kConwayRuleCode);
    EXPECT_EQ(CellsOf(*s.Grow(nullptr)), ReferenceStep(edited, kConwayRuleCode));
    EXPECT_NE(first, ReferenceStep(edited, kConwayRuleCode));
}

TEST(SearchableUniverse, CellsBeyondTheUniverseAreRefusedAndLoseNothing) {
    auto u = MakeSearchable({{0, 0}, {1, 1}});
    for (const CLPoint p : {CLPoint{2147483647, 0}, CLPoint{2147483646, 5}, CLPoint{0, -2147483647 - 1}}) {
        try {
            u->SetCell(p.x, p.y);
            ADD_FAILURE() << "a cell beyond the universe was accepted";
        } catch (const CErrorException& e) {
            EXPECT_EQ(e.MessageId(), msg::CellOutsideUniverse);
        }
    }
    EXPECT_FALSE(u->ClearCell(2147483647, 0));
    EXPECT_EQ(u->Population(), 2u);
    EXPECT_EQ(u->GetBounds(), (CLRect{0, 2, 0, 2}));
    // A paste that would carry a cell beyond takes back the cells it set.
    auto near = MakeUniverse({{2147483645, 0}, {-5, -5}});
    EXPECT_THROW(PasteFrom(*u, *near, CTransform(1, 0, 0)), CErrorException);
    EXPECT_EQ(CellsOf(*u), (Cells{{0, 0}, {1, 1}}));
    EXPECT_EQ(u->GetBounds(), (CLRect{0, 2, 0, 2}));
}

TEST(SearchableUniverse, TransformedCopy) {
    auto g = MakeUniverse(Glider());
    const CTransform t(4, 4, 2);
    CSearchableUniverse s(*g, t);
    Cells expected;
    for (const CLPoint& p : Glider()) expected.insert(t.Apply(p));
    EXPECT_EQ(CellsOf(s), expected);
}

TEST(ConnectedCells, GliderFromEachCellAndBlocksApart) {
    auto glider = MakeUniverse(Shifted(Glider(), 7, -3));
    for (const CLPoint& p : Shifted(Glider(), 7, -3)) {
        auto object = ConnectedCells(*glider, p, UniverseLimits);
        EXPECT_EQ(CellsOf(*object), Shifted(Glider(), 7, -3));
        EXPECT_EQ(object->GetRuleCode(), glider->GetRuleCode());
    }
    const Cells blocks{{0, 0}, {1, 0}, {0, 1}, {1, 1}, {4, 0}, {5, 0}, {4, 1}, {5, 1}};
    auto both = MakeUniverse(blocks);
    EXPECT_EQ(CellsOf(*ConnectedCells(*both, {5, 1}, UniverseLimits)),
              (Cells{{4, 0}, {5, 0}, {4, 1}, {5, 1}}));
    auto none = ConnectedCells(*both, {2, 0}, UniverseLimits);
    EXPECT_EQ(none->Population(), 0u);
    EXPECT_TRUE(none->IsGrowable());
}

TEST(ConnectedCells, RandomSoupsAndAreasAgainstSearch) {
    std::mt19937 rng(63);
    for (int trial = 0; trial < 30; ++trial) {
        const Cells cells = RandomSoup(rng, 0, 0, 30, 30, 0.25 + 0.01 * trial);
        auto u = trial % 2 ? MakeUniverse(cells) : std::unique_ptr<CUniverse>(MakeSearchable(cells));
        const CLPoint start = *std::next(cells.begin(), static_cast<long>(rng() % cells.size()));
        const CLRect area = trial % 3 ? UniverseLimits : CLRect{3, 25, 2, 27};
        EXPECT_EQ(CellsOf(*ConnectedCells(*u, start, area)), ReferenceObject(cells, start, area)) << trial;
    }
}

TEST(ObjectsContaining, UnionOfTheSeededObjects) {
    std::mt19937 rng(64);
    const Cells cells = RandomSoup(rng, 0, 0, 40, 40, 0.2);
    auto u = MakeUniverse(cells);
    Cells seeds;
    Cells expected;
    for (int i = 0; i < 6; ++i) {
        const CLPoint p = *std::next(cells.begin(), static_cast<long>(rng() % cells.size()));
        seeds.insert(p);
        const Cells object = ReferenceObject(cells, p, UniverseLimits);
        expected.insert(object.begin(), object.end());
    }
    auto result = ObjectsContaining(*u, *MakeUniverse(seeds));
    EXPECT_EQ(CellsOf(*result), expected);
    EXPECT_EQ(result->Generation(), 0);
    // A dead seed contributes nothing and does not stop the collection.
    seeds.insert({-50, -50});
    EXPECT_EQ(CellsOf(*ObjectsContaining(*u, *MakeUniverse(seeds))), expected);
}

}  // namespace
}  // namespace tessera::test
