// Pasting, removing, differences and comparisons between universes, against plain set algebra.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>

#include "support/cells.h"
#include "support/reference_life.h"

namespace tessera::test {
namespace {

// The cells for which keep holds.
Cells Where(const Cells& cells, const std::function<bool(const CLPoint&)>& keep) {
    Cells out;
    std::copy_if(cells.begin(), cells.end(), std::inserter(out, out.end()), keep);
    return out;
}
Cells Minus(const Cells& a, const Cells& b) {
    return Where(a, [&](const CLPoint& p) { return !b.count(p); });
}
Cells Inside(const Cells& cells, const CLRect& area) {
    return Where(cells, [&](const CLPoint& p) { return area.Contains(p); });
}
Cells Image(const Cells& cells, const CTransform& t) {
    Cells out;
    for (const CLPoint& p : cells) out.insert(t.Apply(p));
    return out;
}

TEST(SetOperations, PasteOfAnAreaAndThroughATransform) {
    std::mt19937 rng(32);
    const Cells b = RandomSoup(rng, 0, 0, 20, 20, 0.4);
    auto source = MakeUniverse(b);
    const CLRect area{3, 11, 4, 17};
    CGrowableUniverse part;
    PasteFrom(part, *source, area);
    EXPECT_EQ(CellsOf(part), Inside(b, area));

    const CTransform t(5, 5, 3);
    CGrowableUniverse turned;
    PasteFrom(turned, *source, t);
    EXPECT_EQ(CellsOf(turned), Image(b, t));
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
    EXPECT_EQ(CellsOf(both), Where(a, [&](const CLPoint& p) { return b.count(p) == 1; }));

    auto minus = tessera::Minus(*ua, *ub);
    EXPECT_EQ(CellsOf(*minus), Minus(a, b));
    EXPECT_EQ(minus->Generation(), 0);

    const CLRect area{5, 15, 0, 12};
    CGrowableUniverse inArea;
    Difference(*ua, *ub, area, inArea);
    EXPECT_EQ(CellsOf(inArea), Inside(Minus(a, b), area));
}

TEST(SetOperations, AUniversePastedIntoOrRemovedFromItself) {
    std::mt19937 rng(35);
    const Cells cells = RandomSoup(rng, 0, 0, 200, 200, 0.6);  // more cells than one round of edits
    auto u = MakeUniverse(cells);
    const CTransform turn(0, 0, 1);
    PasteFrom(*u, *u, turn);
    Cells expected = Image(cells, turn);
    expected.insert(cells.begin(), cells.end());
    EXPECT_EQ(CellsOf(*u), expected);
    RemoveCellsOf(*u, *u);
    EXPECT_EQ(u->Population(), 0u);
}

}  // namespace
}  // namespace tessera::test
