// Transforms against the orientation formulas written out independently.
#include <gtest/gtest.h>

#include <random>

#include "engine/transform.h"
#include "support/cells.h"

namespace tessera::test {
namespace {

// The table of orientations, in 64-bit arithmetic.
CLPoint Formula(int orientation, int32_t x0, int32_t y0, CLPoint p) {
    const int64_t x = p.x, y = p.y;
    const int64_t images[8][2] = {{x, y}, {-y, x}, {-x, -y}, {y, -x}, {-y, -x}, {x, -y}, {y, x}, {-x, y}};
    return {static_cast<int32_t>(x0 + images[orientation][0]),
            static_cast<int32_t>(y0 + images[orientation][1])};
}

std::vector<CLPoint> SamplePoints(std::mt19937& rng) {
    std::uniform_int_distribution<int32_t> coordinate(-1000000, 1000000);
    std::vector<CLPoint> points{{0, 0}, {1, 0}, {0, 1}, {-3, 7}};
    for (int i = 0; i < 40; ++i) points.push_back({coordinate(rng), coordinate(rng)});
    return points;
}

// Also every transform's inverse.
TEST(Transform, EveryCompositionEqualsApplyingBoth) {
    std::mt19937 rng(2);
    std::uniform_int_distribution<int32_t> offset(-100000, 100000);
    for (int a = 0; a < 8; ++a) {
        for (int b = 0; b < 8; ++b) {
            const CTransform first(offset(rng), offset(rng), a);
            const CTransform then(offset(rng), offset(rng), b);
            const CTransform c = Compose(first, then), inverse = first.Inverse();
            ASSERT_GE(c.orientation, 0);
            ASSERT_LT(c.orientation, 8);
            for (const CLPoint& p : SamplePoints(rng)) {
                const CLPoint viaFormulas =
                    Formula(b, then.xOffset, then.yOffset, Formula(a, first.xOffset, first.yOffset, p));
                ASSERT_EQ(c.Apply(p), viaFormulas) << a << " then " << b;
                ASSERT_EQ(inverse.Apply(first.Apply(p)), p);
                ASSERT_EQ(first.Apply(inverse.Apply(p)), p);
            }
            EXPECT_EQ(OrientationLeadingTo(a, c.orientation), b);
            EXPECT_EQ(Compose(first, inverse), CTransform(0, 0, 0));
        }
    }
}

// The larger universe is copied in several batches, read in order or out of it.
TEST(Transform, UniversesMovedAndMovedBack) {
    std::mt19937 rng(4);
    for (const Cells& cells :
         {RandomSoup(rng, -7, 3, 20, 15, 0.4), RandomSoup(rng, -300, -200, 500, 300, 0.6)}) {
        auto u = MakeUniverse(cells);
        for (int o = 0; o < 8; ++o) {
            const CTransform t(11, -9, o);
            CGrowableUniverse moved(*u, t);
            Cells expected;
            for (const CLPoint& p : cells) expected.insert(Formula(o, 11, -9, p));
            EXPECT_EQ(moved.Population(), expected.size()) << o;
            EXPECT_EQ(CellsOf(moved), expected) << o;
            CGrowableUniverse restored(moved, t.Inverse());
            EXPECT_EQ(CellsOf(restored), cells);
            EXPECT_EQ(restored.Generation(), 0);
            EXPECT_FALSE(restored.IsModified());
        }
    }
}

}  // namespace
}  // namespace tessera::test
