#pragma once
// A deliberately naive stepper for Life-family rules, written from the rule notation: survival and
// birth digit sets and the counted neighbours by their reading-order digits 1 to 8.
#include <array>
#include <cstdint>

#include "engine_test_support.h"

namespace tessera::test {

struct NeighbourDigit {
    int dx;
    int dy;
    int codeBit;  // the rule code bit that makes this neighbour count
};
// Digits 1..8 in reading order, y growing downwards.
inline constexpr std::array<NeighbourDigit, 8> kNeighbourDigits{
    {{-1, -1, 26}, {0, -1, 25}, {1, -1, 24}, {-1, 0, 23}, {1, 0, 21}, {-1, 1, 20}, {0, 1, 19}, {1, 1, 18}}};

inline int CountNeighbours(const CellSet& cells, RuleCode rule, CLPoint p) {
    int n = 0;
    for (const NeighbourDigit& d : kNeighbourDigits) {
        if ((rule >> d.codeBit) & 1) n += static_cast<int>(cells.count({p.x + d.dx, p.y + d.dy}));
    }
    return n;
}

// The next generation; births on 0 neighbours are ignored (the empty plane never comes alive).
inline CellSet ReferenceStep(const CellSet& cells, RuleCode rule) {
    CellSet candidates;
    for (const CLPoint& p : cells) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) candidates.insert({p.x + dx, p.y + dy});
        }
    }
    CellSet next;
    for (const CLPoint& p : candidates) {
        const int n = CountNeighbours(cells, rule, p);
        const bool alive = cells.count(p) != 0;
        const bool survives = (rule >> n) & 1;
        const bool born = n > 0 && ((rule >> (9 + n)) & 1);
        if (alive ? survives : born) next.insert(p);
    }
    return next;
}

// The checksum of a configuration: for every cell whose 3 x 3 block holds a live cell, the block read
// as nine bits (top row highest, in each row the left column highest), counted twice when the cell
// itself is alive; modulo 2^32.
inline uint32_t ReferenceSignature(const CellSet& cells) {
    CellSet centres;
    for (const CLPoint& p : cells) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) centres.insert({p.x + dx, p.y + dy});
        }
    }
    uint32_t sum = 0;
    for (const CLPoint& c : centres) {
        uint32_t w = 0;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                w = (w << 1) | static_cast<uint32_t>(cells.count({c.x + dx, c.y + dy}));
            }
        }
        sum += cells.count(c) ? 2 * w : w;
    }
    return sum;
}

}  // namespace tessera::test
