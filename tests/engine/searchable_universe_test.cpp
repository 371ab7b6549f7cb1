// The hashed universe (its edits are checked with the growable one's): its growable copy, and object
// collection and the split into objects against a breadth-first search over a plain set.
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "engine/searchable_universe.h"
#include "engine/split_objects.h"
#include "support/cells.h"
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

// Objects keyed by their first cell, so that two splits compare equal whatever order they come in.
using Objects = std::map<CLPoint, Cells, CellLess>;

Objects ReferenceObjects(Cells left) {
    Objects out;
    while (!left.empty()) {
        Cells object = ReferenceObject(left, *left.begin(), UniverseLimits);
        for (const CLPoint& p : object) left.erase(p);
        out.emplace(*object.begin(), std::move(object));
    }
    return out;
}

TEST(SearchableUniverse, GrowableCopyMatchesAndFollowsEdits) {
    std::mt19937 rng(62);
    const Cells cells = RandomSoup(rng, -20, 5, 40, 30, 0.3);
    auto g = MakeUniverse(cells);
    g->SetGeneration(8);
    CSearchableUniverse s(*g);
    EXPECT_TRUE(s.IsModified()) << "made by pasting";
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
    EXPECT_EQ(CellsOf(*s.Grow(nullptr)), ReferenceStep(edited, kConwayRuleCode));
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

TEST(SplitIntoObjects, RandomSoupsMatchTheSearch) {
    std::mt19937 rng(4242);
    for (int round = 0; round < 30; ++round) {
        Cells cells;
        for (const CLPoint& p : RandomSoup(rng, -20, 0, 40, 40, 0.05 + 0.013 * round))
            cells.insert({p.x, p.y * 3 / 2});  // some rows next to each other, some one apart
        auto u = MakeUniverse(cells);
        Objects objects;
        SplitIntoObjects(*u, [&](CUniverse& object) {
            const Cells found = CellsOf(object);
            ASSERT_FALSE(found.empty());
            EXPECT_TRUE(objects.emplace(*found.begin(), found).second) << "objects overlap";
        });
        EXPECT_EQ(objects, ReferenceObjects(cells)) << "round " << round;
        EXPECT_EQ(CellsOf(*u), cells) << "the universe itself is not changed";
    }
    CGrowableUniverse empty;
    SplitIntoObjects(empty, [](CUniverse&) { ADD_FAILURE() << "an object of nothing"; });
}

}  // namespace
}  // namespace tessera::test
