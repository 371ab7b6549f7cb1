#include <gtest/gtest.h>

#include <random>

#include "rules/rule_code.h"

namespace tessera::test {

// Each entry against a direct count of the neighbours named by (dx, dy).
TEST(TransitionTable, MatchesDirectNeighbourCountForRandomRules) {
    std::mt19937 rng(2024);
    for (int trial = 0; trial < 300; ++trial) {
        RuleCode code = (rng() & 0x3FFFF) | ((rng() << 18) & 0x07BC0000);
        if (trial == 0) code = kConwayRuleCode;
        TransitionTable t = BuildTransitionTable(code);
        for (uint32_t w = 0; w < 512; ++w) {
            int count = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (dx == 0 && dy == 0) continue;
                    int k = 3 * (1 - dy) + (1 - dx);
                    if (((w >> k) & 1) && ((code >> (18 + k)) & 1)) ++count;
                }
            bool alive = (w >> 4) & 1;
            bool next = alive ? ((code >> count) & 1) : ((code >> (9 + count)) & 1);
            uint32_t e = t[w];
            ASSERT_EQ(bool(e & kNextAlive), next) << std::hex << code << " w=" << w;
            ASSERT_EQ(bool(e & kBorn), !alive && next);
            ASSERT_EQ(bool(e & kDied), alive && !next);
            // Shifting: the newer two columns of each row become the older two.
            for (int row = 0; row < 3; ++row)
                for (int col = 1; col < 3; ++col) {
                    int from = 3 * row + col - 1, to = 3 * row + col;
                    ASSERT_EQ((e >> to) & 1, (w >> from) & 1);
                }
            ASSERT_EQ(e & 0x49, 0u);  // the newest column is left for the evaluator to fill
        }
    }
}

}  // namespace tessera::test
