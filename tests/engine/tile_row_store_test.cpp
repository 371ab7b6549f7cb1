// Storing computed rows four at a time with wide instructions (where the processor has them) against
// one row at a time, on random rows and spans: the same rows stored and the same summaries.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "engine/tile_row_store.h"

namespace tessera::test {
namespace {

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
