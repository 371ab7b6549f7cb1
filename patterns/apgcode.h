#pragma once
// Apgcodes: the names the Life community gives objects in soup censuses ("xs4_33" for the block,
// "xp2_7" for the blinker, "xq4_153" for the glider). The shape part is the extended Wechsler encoding
// of one phase in one orientation; the canonical code takes the shortest encoding, then the smallest in
// character order, over every phase and all eight orientations.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "foundation/geometry.h"

namespace tessera {

enum class EApgKind { StillLife, Oscillator, Ship };

// The extended Wechsler encoding of cells as they lie (their bounding box's top-left corner is the origin):
// strips of five rows, top first, separated by 'z'; in each strip a character per column for the five
// cells (top cell the lowest bit: '0'-'9', 'a'-'v'), with runs of blank columns shortened ('w' two, 'x'
// three, 'y' and a character four to thirty-nine) and the blank columns at a strip's end left out.
// Empty for no cells.
std::string WechslerEncoding(std::span<const CLPoint> cells);

// The canonical shape part over the given phases (each a list of live cells) and every orientation.
std::string CanonicalWechsler(std::span<const std::vector<CLPoint>> phases);

// The whole code: "xs" and the population for a still life, "xp" and the period for an oscillator, "xq"
// and the period for a ship, then "_" and the canonical shape. count is the population or the period.
std::string ApgCode(EApgKind kind, uint32_t count, std::span<const std::vector<CLPoint>> phases);

class CPattern;
// The apgcode of a still life, oscillator or ship pattern from its phases; empty for any other type.
std::string PatternApgCode(CPattern& pattern);

}  // namespace tessera
