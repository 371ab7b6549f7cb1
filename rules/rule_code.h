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

// The three fields: where each starts, and the bits it may hold.
inline constexpr int kSurvivalShift = 0;
inline constexpr int kBirthShift = 9;
inline constexpr int kNeighbourhoodShift = 18;
inline constexpr RuleCode kCountsMask = 0x1FF;           // a survival or birth field: 0 to 8 neighbours
inline constexpr RuleCode kNeighbourWindowMask = 0x1EF;  // the eight neighbours' window bits (not bit 4)
inline constexpr RuleCode kSurvivalMask = kCountsMask << kSurvivalShift;
inline constexpr RuleCode kBirthMask = kCountsMask << kBirthShift;
inline constexpr RuleCode kNeighbourhoodMask = kNeighbourWindowMask << kNeighbourhoodShift;  // Moore
// 23/3: survival on 2 and 3 neighbours, birth on 3, every neighbour counted.
inline constexpr RuleCode kConwayRuleCode =
    (RuleCode{0b1100} << kSurvivalShift) | (RuleCode{0b1000} << kBirthShift) | kNeighbourhoodMask;

inline bool Survives(RuleCode c, int n) { return (c >> (kSurvivalShift + n)) & 1; }
inline bool IsBorn(RuleCode c, int n) { return (c >> (kBirthShift + n)) & 1; }
inline RuleCode WithNeighbourhoodOf(RuleCode c, RuleCode m) { return c ^ ((c ^ m) & kNeighbourhoodMask); }

// Growth looks up a 3x3 window w: bit k stands for the cell (cx + dx, y + dy), k = 3(1 - dy) + (1 - dx);
// bits 6-8 the row above, 3-5 the centre row, 0-2 the row below, the lowest bit of each the newest column.
// An entry holds the next window before the following column is ORed in (bits 0-8) and three flags.
inline constexpr int kNextAliveBit = 9;
inline constexpr uint32_t kNextAlive = uint32_t{1} << kNextAliveBit;
inline constexpr uint32_t kBorn = 0x400;
inline constexpr uint32_t kDied = 0x800;
inline constexpr uint32_t kWindowMask = 0x1FF;

using TransitionTable = std::array<uint32_t, 512>;

TransitionTable BuildTransitionTable(RuleCode code);

}  // namespace tessera
