// Explorations of growable universes against filtering a plain cell set.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "support/cells.h"

namespace tessera::test {
namespace {

std::vector<CLPoint> Inside(const Cells& cells, const CLRect& area) {
    std::vector<CLPoint> out;
    std::copy_if(cells.begin(), cells.end(), std::back_inserter(out),
                 [&](CLPoint p) { return area.Contains(p); });
    return out;
}

// Rows as the row exploration reports them: each row's y, then its cells.
std::vector<std::vector<CLPoint>> RowsOf(CExploreRowContext& rows) {
    std::vector<std::vector<CLPoint>> out;
    while (rows.NextRow()) {
        out.emplace_back();
        while (rows.NextCell()) out.back().push_back(rows.Current());
        EXPECT_TRUE(rows.RowEnd());
    }
    EXPECT_TRUE(rows.AtEnd());
    return out;
}

std::vector<std::vector<CLPoint>> ExpectedRows(const Cells& cells, const CLRect& area) {
    std::vector<std::vector<CLPoint>> out;
    for (const CLPoint& p : Inside(cells, area)) {
        if (out.empty() || out.back().front().y != p.y) out.emplace_back();
        out.back().push_back(p);
    }
    return out;
}

TEST(Explore, WholeUniverseAndAreasThatCutRowsAtBothEnds) {
    std::mt19937 rng(22);
    const Cells cells = RandomSoup(rng, 0, 0, 60, 30, 0.25);
    auto u = MakeUniverse(cells);
    std::uniform_int_distribution<int32_t> coordinate(-5, 65);
    for (int trial = 0; trial < 300; ++trial) {
        int32_t l = coordinate(rng), r = coordinate(rng), t = coordinate(rng) / 2, b = coordinate(rng) / 2;
        if (trial % 5 == 0) std::swap(l, r);  // some areas are empty or inverted
        const CLRect area{std::min(l, r), std::max(l, r), std::min(t, b), std::max(t, b)};
        const std::vector<CLPoint> inside = Inside(cells, area);
        ExplorePtr e = u->ExploreArea(area);
        ASSERT_EQ(SequenceOf(*e), inside) << trial;
        EXPECT_TRUE(e->AtEnd());
        ASSERT_EQ(RowsOf(*u->ExploreRows(area)), ExpectedRows(cells, area)) << trial;
        EXPECT_EQ(u->FirstCellIn(area), inside.empty() ? kExploreEndPoint : inside.front());
    }
    EXPECT_EQ(RowsOf(*u->ExploreAllRows()), ExpectedRows(cells, UniverseLimits));
    ExplorePtr e = u->ExploreAll();
    EXPECT_EQ(e->Current(), kExploreStartPoint);
    EXPECT_EQ(SequenceOf(*e), std::vector<CLPoint>(cells.begin(), cells.end()));
    EXPECT_TRUE(e->AtEnd());
    EXPECT_EQ(e->Current(), kExploreEndPoint);
    EXPECT_FALSE(e->Next());
}

}  // namespace
}  // namespace tessera::test
