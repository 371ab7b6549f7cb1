// Pasting, removing, differences and comparisons between universes, against plain set algebra.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "support/cells.h"
#include "support/reference_life.h"

namespace tessera::test {
namespace {

Cells Minus(const Cells& a, const Cells& b) {
    Cells out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(out, out.end()), CellLess());
    return out;
}
Cells Both(const Cells& a, const Cells& b) {
    Cells out;
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::inserter(out, out.end()), CellLess());
    return out;
}

TEST(SetOperations, PasteWithCollisionsAndRemove) {
    std::mt19937 rng(31);
    const Cells a = RandomSoup(rng, 0, 0, 30, 30, 0.3);
    const Cells b = RandomSoup(rng, 10, 5, 30, 30, 0.3);
    auto target = MakeUniverse(a);
    auto source = MakeUniverse(b);
    CGrowableUniverse collisions;
    PasteFrom(*target, *source, &collisions);
    Cells united = a;
    united.insert(b.begin(), b.end());
    EXPECT_EQ(CellsOf(*target), united);
    EXPECT_EQ(CellsOf(collisions), Both(a, b));
    EXPECT_TRUE(target->IsModified());
    RemoveCellsOf(*target, *source);
    EXPECT_EQ(CellsOf(*target), Minus(a, b));
}

TEST(SetOperations, PasteOfAnAreaAndThroughATransform) {
    std::mt19937 rng(32);
    const Cells b = RandomSoup(rng, 0, 0, 20, 20, 0.4);
    auto source = MakeUniverse(b);
    const CLRect area{3, 11, 4, 17};
    CGrowableUniverse part;
    PasteFrom(part, *source, area);
    Cells inside;
    for (const CLPoint& p : b) {
        if (area.Contains(p)) inside.insert(p);
    }
    EXPECT_EQ(CellsOf(part), inside);

    const CTransform t(5, 5, 3);
    CGrowableUniverse turned;
    PasteFrom(turned, *source, t);
    Cells expected;
    for (const CLPoint& p : b) expected.insert(t.Apply(p));
    EXPECT_EQ(CellsOf(turned), expected);
    RemoveCellsOf(turned, *source, t);
    EXPECT_EQ(turned.Population(), 0u);
}

TEST(SetOperations, DifferenceSplitsIntoThreeParts) {
    std::mt19937 rng(33);
    const Cells a = RandomSoup(rng, 0, 0, 25, 25, 0.35);
    const Cells b = RandomSoup(rng, 4, 2, 25, 25, 0.35);
    auto ua = MakeUniverse(a);
    auto ub = MakeUniverse(b);
    CGrowableUniverse onlyA, onlyB, both;
    Difference(*ua->ExploreAll(), *ub->ExploreAll(), &onlyA, &onlyB, &both);
    EXPECT_EQ(CellsOf(onlyA), Minus(a, b));
    EXPECT_EQ(CellsOf(onlyB), Minus(b, a));
    EXPECT_EQ(CellsOf(both), Both(a, b));

    auto minus = tessera::Minus(*ua, *ub);
    EXPECT_EQ(CellsOf(*minus), Minus(a, b));
    EXPECT_EQ(minus->Generation(), 0);

    const CLRect area{5, 15, 0, 12};
    CGrowableUniverse inArea;
    Difference(*ua, *ub, area, inArea);
    Cells expected;
    for (const CLPoint& p : Minus(a, b)) {
        if (area.Contains(p)) expected.insert(p);
    }
    EXPECT_EQ(CellsOf(inArea), expected);
}

TEST(SetOperations, SameUniverseUpToAShift) {
    auto glider = MakeUniverse(Glider());
    auto moved = MakeUniverse(Shifted(Glider(), 3, -2));
    CLSize offset{};
    EXPECT_TRUE(IsSameUniverse(*glider, *moved, offset));
    EXPECT_EQ(offset, (CLSize{3, -2}));
    EXPECT_FALSE(IsSameUniverse(*glider, *moved));
    EXPECT_TRUE(IsSameUniverse(*glider, *MakeUniverse(Glider())));

    // Same bounds size and population but a different arrangement.
    auto other = MakeUniverse({{0, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}});
    EXPECT_FALSE(IsSameUniverse(*glider, *other, offset));

    std::mt19937 rng(34);
    const Cells soup = RandomSoup(rng, 0, 0, 40, 40, 0.3);
    auto a = MakeUniverse(soup);
    auto b = MakeUniverse(Shifted(soup, -1000, 77));
    EXPECT_TRUE(IsSameUniverse(*a, *b, offset));
    EXPECT_EQ(offset, (CLSize{-1000, 77}));
    // Move one interior cell by one column: same bounds and population, different cells.
    Cells changed = Shifted(soup, -1000, 77);
    const CLRect r = BoundsOf(changed);
    for (const CLPoint p : changed) {
        if (p.x > r.left && p.x + 2 < r.right && p.y > r.top && p.y + 1 < r.bottom &&
            !changed.count({p.x + 1, p.y})) {
            changed.erase(p);
            changed.insert({p.x + 1, p.y});
            break;
        }
    }
    ASSERT_EQ(changed.size(), soup.size());
    auto c = MakeUniverse(changed);
    EXPECT_FALSE(IsSameUniverse(*a, *c, offset));

    CGrowableUniverse empty1, empty2;
    EXPECT_TRUE(IsSameUniverse(empty1, empty2));
}

}  // namespace
}  // namespace tessera::test

namespace tessera::test {
namespace {

TEST(SetOperations, AUniversePastedIntoOrRemovedFromItself) {
    std::mt19937 rng(35);
    const Cells cells = RandomSoup(rng, 0, 0, 200, 200, 0.6);  // more cells than one round of edits
    auto u = MakeUniverse(cells);
    const CTransform turn(0, 0, 1);
    PasteFrom(*u, *u, turn);
    Cells expected = cells;
    for (const CLPoint& p : cells) expected.insert(turn.Apply(p));
    EXPECT_EQ(CellsOf(*u), expected);
    RemoveCellsOf(*u, *u);
    EXPECT_EQ(u->Population(), 0u);
}

}  // namespace
}  // namespace tessera::test
