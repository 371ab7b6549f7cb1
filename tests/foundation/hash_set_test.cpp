#include <gtest/gtest.h>

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
    PointSet::Walk walk(set);
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

TEST(HashSet, BucketCountsAndIndex) {
    int live = 0;
    EXPECT_EQ(PointSet(0, CountingAllocator(&live)).BucketCount(), 8u);
    EXPECT_EQ(PointSet(3, CountingAllocator(&live)).BucketCount(), 8u);
    EXPECT_EQ(PointSet(-5, CountingAllocator(&live)).BucketCount(), 8u);
    EXPECT_EQ(PointSet(8, CountingAllocator(&live)).BucketCount(), 16u);
    EXPECT_EQ(PointSet(32, CountingAllocator(&live)).BucketCount(), 64u);
    EXPECT_EQ(PointSet(63, CountingAllocator(&live)).BucketCount(), 64u);
    EXPECT_EQ(PointSet::BucketCountFor(2147483647), 2147483648u);

    PointSet set(32, CountingAllocator(&live));
    EXPECT_EQ(set.BucketIndex({1, 2}), set.BucketIndex({2, 1}));
    // x XOR y is taken unsigned: 0xFFFFFFFF mod 2147483549 is 197.
    EXPECT_EQ(set.BucketIndex({-1, 0}), 197u & 63u);
    EXPECT_EQ(set.BucketIndex({0x7FFFFF9D, 0}), 0u);
    EXPECT_EQ(set.BucketIndex({0x7FFFFF9D + 5, 0}), 5u);
}

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
            switch (rng() % 3) {
                case 0: {
                    const Entry* present = set.Insert(p);
                    ASSERT_EQ(present == nullptr, model.insert(key).second);
                    if (present) {
                        EXPECT_EQ(present->Point(), p);
                    }
                    break;
                }
                case 1:
                    ASSERT_EQ(set.Remove(p), model.erase(key) == 1);
                    break;
                default: {
                    const Entry* found = set.Find(p);
                    ASSERT_EQ(found != nullptr, model.count(key) == 1);
                    if (found) {
                        EXPECT_EQ(found->Point(), p);
                    }
                }
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

TEST(HashSet, WalkFollowsTheNonEmptyListAndDropsEmptiedBucketsLazily) {
    // With 8 buckets, a point (0, y) with small y lies in bucket y & 7.
    int live = 0;
    PointSet set(0, CountingAllocator(&live));
    using V = std::vector<CLPoint>;
    set.Insert({0, 1});
    set.Insert({0, 2});
    set.Insert({0, 9});  // bucket 1 again: front of its chain
    EXPECT_EQ(WalkAll(set), (V{{0, 2}, {0, 9}, {0, 1}}));
    EXPECT_EQ(set.First()->Point(), (CLPoint{0, 2}));

    EXPECT_TRUE(set.Remove({0, 2}));  // emptied the head bucket: popped at once
    EXPECT_FALSE(set.Remove({0, 2}));
    EXPECT_EQ(set.First()->Point(), (CLPoint{0, 9}));

    set.Insert({0, 3});
    set.Insert({0, 4});
    EXPECT_TRUE(set.Remove({0, 3}));  // bucket 3 is empty but stays on the list
    set.Insert({0, 11});              // so refilling it keeps its old place
    EXPECT_EQ(WalkAll(set), (V{{0, 4}, {0, 11}, {0, 9}, {0, 1}}));

    EXPECT_TRUE(set.Remove({0, 11}));
    EXPECT_EQ(WalkAll(set), (V{{0, 4}, {0, 9}, {0, 1}}));  // this walk takes bucket 3 off the list
    set.Insert({0, 3});                                    // so it now goes to the front
    EXPECT_EQ(WalkAll(set), (V{{0, 3}, {0, 4}, {0, 9}, {0, 1}}));

    // Emptying the head pops every empty bucket behind it.
    set.Remove({0, 4});
    set.Remove({0, 3});
    EXPECT_EQ(set.First()->Point(), (CLPoint{0, 9}));
    set.Remove({0, 9});
    set.Remove({0, 1});
    EXPECT_EQ(set.First(), nullptr);
    EXPECT_TRUE(WalkAll(set).empty());
    EXPECT_EQ(live, 0);
}

TEST(HashSet, WalkSurvivesRemovingCellsItHasPassed) {
    // The way objects are collected: take a cell, remove it, continue.
    int live = 0;
    PointSet set(4, CountingAllocator(&live));
    for (int i = 0; i < 40; ++i) set.Insert({i, 2 * i});
    std::set<std::pair<int32_t, int32_t>> seen;
    PointSet::Walk walk(set);
    CLPoint previous{};
    bool havePrevious = false;
    while (walk.Next()) {
        if (havePrevious) {
            EXPECT_TRUE(set.Remove(previous));
        }
        previous = walk.Current()->Point();
        havePrevious = true;
        EXPECT_TRUE(seen.insert({previous.x, previous.y}).second);
    }
    EXPECT_EQ(seen.size(), 40u);
    EXPECT_EQ(set.Count(), 1u);
}

TEST(HashSet, DefaultEntriesComeFromTheNamedPool) {
    CFarPool& pool = HashEntryPool();
    EXPECT_EQ(pool.Name(), "CSearchableUniverse::hash_t::entry_t");
    EXPECT_EQ(pool.ElementsPerChunk(), 10000u);
    const size_t inUseBefore = pool.TotalElements() - pool.FreeElements();
    {
        CHashSet<CLPoint> set(32);
        EXPECT_EQ(set.BucketCount(), 64u);
        for (int i = 0; i < 12000; ++i) EXPECT_EQ(set.Insert({i, -i}), nullptr);
        EXPECT_EQ(pool.TotalElements() - pool.FreeElements(), inUseBefore + 12000);
        for (int i = 0; i < 12000; i += 2) EXPECT_TRUE(set.Remove({i, -i}));
        EXPECT_EQ(pool.TotalElements() - pool.FreeElements(), inUseBefore + 6000);
        EXPECT_TRUE(set.Contains({1, -1}));
        EXPECT_FALSE(set.Contains({2, -2}));
    }
    EXPECT_EQ(pool.TotalElements() - pool.FreeElements(), inUseBefore);
}

}  // namespace tessera::test
