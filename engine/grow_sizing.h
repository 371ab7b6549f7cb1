#pragma once
// Limits and sizes shared by both ways of growing a universe.
#include <algorithm>
#include <cstdint>

#include "engine/row_heap.h"
#include "foundation/geometry.h"
#include "rules/rule_code.h"

namespace tessera {

// Births on 1 or 2 neighbours reach further. So does birth on 0: a window whose only live cells lie
// outside a partial neighbourhood counts 0 neighbours.
inline bool BirthsOnFewNeighbours(RuleCode code) { return (code & 0xE00) != 0; }

// The most cells an output row can hold, from its three source rows. Every output cell has a live
// cell in its window, so 3 per source cell bounds any rule. Without births on fewer than 3
// neighbours a birth takes 3 neighbour incidences: a cell above or below neighbours 3 output
// columns, a centre cell only 2, and each survivor is a centre cell; so births + survivors stay
// within above + below + 2 centre. (The three source counts alone are not enough: with every cell
// surviving and birth on 3, a comb of cells fills its gaps.)
inline uint32_t OutputRowBound(bool wide, uint32_t above, uint32_t centre, uint32_t below) {
    const uint64_t a = above, c = centre, b = below;
    return static_cast<uint32_t>(wide ? 3 * (a + c + b) : a + b + 2 * c);
}

// The words of the first row-heap block of a grown generation; every block holds the longest output
// row: at most 9 m cells when wide, else 4 m.
inline uint32_t GrownRowHeapCapacity(bool wide, uint64_t population, uint64_t maxRowPopulation) {
    const uint64_t longestRow = (wide ? 9 : 4) * maxRowPopulation + kRowOverheadWords;
    uint64_t capacity;
    if (population < 10000)
        capacity = (wide ? 10 : 4) * population + kRowOverheadWords;
    else if (maxRowPopulation > 10000)
        capacity = longestRow;
    else
        capacity = std::max<uint64_t>(wide ? 90000 : 30000, longestRow);
    return static_cast<uint32_t>(capacity);
}

// Cells one beyond the bounds must stay clear of the row end marker and of 32-bit overflow.
inline bool CoordinatesAllowGrowth(const CLRect& b) {
    return b.left > -2147483647 && b.right < 2147483645 && b.top > -2147483647 && b.bottom < 2147483645;
}

}  // namespace tessera
