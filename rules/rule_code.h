#pragma once
// RuleCode: a birth/survival rule and its counted neighbour positions packed in 32 bits.
//   bits 0-8   survival on n neighbours (bit n)
//   bits 9-17  birth on n neighbours (bit 9 + n)
//   bits 18-26 the counted neighbour positions (bit 18 + k, k a window bit; bit 22, the cell itself, never
//   set)
#include <array>
#include <cstdint>

namespace tessera {

using RuleCode = uint32_t;

inline constexpr RuleCode kNeighbourhoodMask = 0x07BC0000;  // all eight neighbours (Moore)
inline constexpr RuleCode kConwayRuleCode = 0x07BC100C;     // 23/3

inline bool Survives(RuleCode c, int n) { return (c >> n) & 1; }
inline bool IsBorn(RuleCode c, int n) { return (c >> (9 + n)) & 1; }
inline bool CountsNeighbour(RuleCode c, int k) { return (c >> (18 + k)) & 1; }
inline RuleCode WithNeighbourhoodOf(RuleCode c, RuleCode m) { return c ^ ((c ^ m) & kNeighbourhoodMask); }
inline bool SameNeighbourhood(RuleCode c, RuleCode m) { return ((c ^ m) & kNeighbourhoodMask) == 0; }

// Growth looks up a 3x3 window w: bit k stands for the cell (cx + dx, y + dy), k = 3(1 - dy) + (1 - dx);
// bits 6-8 the row above, 3-5 the centre row, 0-2 the row below, the lowest bit of each the newest column.
// An entry holds the next window before the following column is ORed in (bits 0-8) and three flags.
inline constexpr uint32_t kNextAlive = 0x200;
inline constexpr uint32_t kBorn = 0x400;
inline constexpr uint32_t kDied = 0x800;
inline constexpr uint32_t kWindowMask = 0x1FF;

using TransitionTable = std::array<uint32_t, 512>;

TransitionTable BuildTransitionTable(RuleCode code);

}  // namespace tessera
