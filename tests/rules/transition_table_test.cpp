#include <gtest/gtest.h>

#include <random>

#include "rules/rule_code.h"

namespace tessera::test {

// Each entry against a direct count of the neighbours: bit k of the window and of the rule's neighbour
// field name the same cell, and k = 4 is the cell itself.
TEST(TransitionTable, MatchesDirectNeighbourCountForRandomRules) {
    std::mt19937 rng(2024);
    for (int trial = 0; trial < 300; ++trial) {
        RuleCode code = (rng() & 0x3FFFF) | ((rng() << 18) & 0x07BC0000);
        if (trial == 0) code = kConwayRuleCode;
        TransitionTable t = BuildTransitionTable(code);
        for (uint32_t w = 0; w < 512; ++w) {
            int count = 0;
            for (int k = 0; k < 9; ++k) count += k != 4 && ((w >> k) & 1) && ((code >> (18 + k)) & 1);
            bool alive = (w >> 4) & 1;
            bool next = alive ? ((code >> count) & 1) : ((code >> (9 + count)) & 1);
            uint32_t e = t[w];
            ASSERT_EQ(bool(e & kNextAlive), next) << std::hex << code << " w=" << w;
            ASSERT_EQ(bool(e & kBorn), !alive && next);
            ASSERT_EQ(bool(e & kDied), alive && !next);
            // Shifting: the newer two columns of each row (bits 0, 1 / 3, 4 / 6, 7) become the older two;
            // the newest column (bits 0, 3, 6) is left for the evaluator to fill.
            ASSERT_EQ(e & 0x1FF, (w << 1) & 0x1B6);
        }
    }
}

}  // namespace tessera::test
