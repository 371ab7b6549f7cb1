#pragma once
// A placed pattern: the currency of recognition and the census.
#include <cstdint>

#include "foundation/geometry.h"

namespace tessera {

class CPattern;

struct CPatternRef {
    CPattern* pattern = nullptr;  // not owned
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    int transform = 0;  // orientation 0..7
    int32_t phase = 0;  // generation within the pattern

    CLPoint Offset() const { return {offsetX, offsetY}; }
};

// Placements order by the pattern's serial number, then transform, then phase.
bool operator<(const CPatternRef& a, const CPatternRef& b);

}  // namespace tessera
