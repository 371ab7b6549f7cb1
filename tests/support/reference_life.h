#pragma once
// A deliberately naive stepper for Life-family rules, written from the rule notation and independent of
// the engine: survival and birth digit sets, and the counted neighbours by their reading-order digits.
#include <array>
#include <cstdint>
#include <random>

#include "support/cells.h"

namespace tessera::test {

struct NeighbourDigit {
    int dx;
    int dy;
    int codeBit;  // the rule code bit that makes this neighbour count
};
// Digits 1..8 in reading order, y growing downwards.
inline constexpr std::array<NeighbourDigit, 8> kNeighbourDigits{
    {{-1, -1, 26}, {0, -1, 25}, {1, -1, 24}, {-1, 0, 23}, {1, 0, 21}, {-1, 1, 20}, {0, 1, 19}, {1, 1, 18}}};

int CountNeighbours(const Cells& cells, RuleCode rule, CLPoint p);

// The next generation. Only cells whose 3 x 3 window holds a live cell can change, so birth on 0
// happens there alone (the empty plane never comes alive): around cells whose live neighbours all lie
// outside the counted neighbourhood.
Cells ReferenceStep(const Cells& cells, RuleCode rule);
Cells ReferenceRun(Cells cells, RuleCode rule, int generations);

// The checksum of a configuration: for every cell whose 3 x 3 block holds a live cell, the block read
// as nine bits (top row highest, in each row the left column highest), counted twice when the cell
// itself is alive; modulo 2^32.
uint32_t ReferenceSignature(const Cells& cells);

// Random survival and birth digits and a random subset of the eight neighbours; birth on 0 only if
// allowed.
RuleCode RandomRule(std::mt19937& rng, bool birthOnZero);

}  // namespace tessera::test
