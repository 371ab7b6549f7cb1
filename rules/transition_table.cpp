#include <bit>

#include "rules/rule_code.h"

namespace tessera {

TransitionTable BuildTransitionTable(RuleCode code) {
    TransitionTable table{};
    const uint32_t neighbours = (code >> kNeighbourhoodShift) & kNeighbourWindowMask;
    for (uint32_t w = 0; w < 512; ++w) {
        const int count = std::popcount(w & neighbours);
        uint32_t entry = (w & 0x0DB) << 1;  // the two newer columns of each row move up one place
        if (w & 16) {
            entry |= Survives(code, count) ? kNextAlive : kDied;
        } else if (IsBorn(code, count)) {
            entry |= kNextAlive | kBorn;
        }
        table[w] = entry;
    }
    return table;
}

}  // namespace tessera
