#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "foundation/hash_set.h"

namespace tessera::test {

namespace {

using Entry = CHashEntry<CLPoint>;

// An allocator of the pool allocator's shape that counts what is live.
struct CountingAllocator {
    explicit CountingAllocator(int* live) : live(live) {}
    Entry* Allocate() {
        ++*live;
        return static_cast<Entry*>(::operator new(sizeof(Entry)));
    }
    void Free(Entry* e) {
        --*live;
        ::operator delete(e);
    }
    int* live;
};

using PointSet = CHashSet<CLPoint, CountingAllocator>;

std::vector<CLPoint> WalkAll(PointSet& set) {
    std::vector<CLPoint> points;
    PointSet::CWalk walk(set);
    while (walk.Next()) points.push_back(walk.Current()->Point());
    EXPECT_TRUE(walk.AtEnd());
    EXPECT_FALSE(walk.Next());
    return points;
}

std::set<std::pair<int32_t, int32_t>> AsSet(const std::vector<CLPoint>& points) {
    std::set<std::pair<int32_t, int32_t>> s;
    for (CLPoint p : points) EXPECT_TRUE(s.insert({p.x, p.y}).second) << "visited twice";
    return s;
}

}  // namespace

TEST(HashSet, MatchesStdSetWithRandomPoints) {
    int live = 0;
    {
        std::mt19937 rng(11);
        PointSet set(16, CountingAllocator(&live));  // small on purpose: long chains, no rehash
        std::set<std::pair<int32_t, int32_t>> model;
        for (int step = 0; step < 20000; ++step) {
            // A narrow range for many collisions, with an occasional far point.
            CLPoint p{static_cast<int32_t>(rng() % 41) - 20, static_cast<int32_t>(rng() % 41) - 20};
            if (rng() % 50 == 0) p = CLPoint{static_cast<int32_t>(rng()), static_cast<int32_t>(rng())};
            const std::pair<int32_t, int32_t> key{p.x, p.y};
            const unsigned op = rng() % 3;
            if (op == 0) {
                ASSERT_EQ(set.Remove(p), model.erase(key) == 1);
            } else {  // inserting answers the entry already there, as finding does
                const Entry* present = op == 1 ? set.Insert(p) : set.Find(p);
                ASSERT_EQ(present != nullptr, op == 1 ? !model.insert(key).second : model.count(key) == 1);
                ASSERT_TRUE(!present || present->Point() == p);
            }
            ASSERT_EQ(set.Count(), model.size());
            ASSERT_EQ(live, static_cast<int>(model.size()));
            if (step % 500 == 0) {
                ASSERT_EQ(AsSet(WalkAll(set)), model) << "step " << step;
            }
        }
        EXPECT_EQ(AsSet(WalkAll(set)), model);
        set.Clear();
        EXPECT_EQ(live, 0);
        EXPECT_TRUE(WalkAll(set).empty());
        EXPECT_EQ(set.First(), nullptr);
        for (int i = 0; i < 100; ++i) set.Insert({i, -i});
        EXPECT_EQ(live, 100);
    }
    EXPECT_EQ(live, 0);  // the destructor freed the rest
}

TEST(HashSet, WalkSurvivesRemovingCellsItHasPassed) {
    // The way objects are collected: take a cell, remove it, continue.
    int live = 0;
    PointSet set(4, CountingAllocator(&live));
    for (int i = 0; i < 40; ++i) set.Insert({i, 2 * i});
    std::set<std::pair<int32_t, int32_t>> seen;
    PointSet::CWalk walk(set);
    std::optional<CLPoint> previous;
    while (walk.Next()) {
        if (previous) {
            EXPECT_TRUE(set.Remove(*previous));
        }
        previous = walk.Current()->Point();
        EXPECT_TRUE(seen.insert({previous->x, previous->y}).second);
    }
    EXPECT_EQ(seen.size(), 40u);
    EXPECT_EQ(set.Count(), 1u);
}

}  // namespace tessera::test
