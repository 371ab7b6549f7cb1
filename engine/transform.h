#pragma once
// The eight rotations and reflections of the square grid, each followed by a shift.
#include <cstdint>

#include "foundation/geometry.h"

namespace tessera {

// Orientation numbers (y grows downwards); the same numbers are stored in library files.
//   0 identity            (x0 + x, y0 + y)     4 reflect /            (x0 - y, y0 - x)
//   1 quarter turn right  (x0 - y, y0 + x)     5 horizontal reflect   (x0 + x, y0 - y)
//   2 half turn           (x0 - x, y0 - y)     6 reflect \            (x0 + y, y0 + x)
//   3 quarter turn left   (x0 + y, y0 - x)     7 vertical reflect     (x0 - x, y0 + y)
// Any other number maps every point to (0, 0).
inline constexpr int kOrientationCount = 8;

class CTransform {
public:
    int32_t xOffset = 0;
    int32_t yOffset = 0;
    int orientation = 0;

    constexpr CTransform() = default;
    constexpr CTransform(int32_t x0, int32_t y0, int orient)
        : xOffset(x0), yOffset(y0), orientation(orient) {}

    CLPoint Apply(CLPoint p) const;
    // Maps the corner points (left, top) and (right, bottom) and orders the results.
    CLRect ApplyRect(const CLRect& r) const;
    // Applying a transform and then its inverse gives back every point (orientations 0 to 7).
    CTransform Inverse() const;

    friend bool operator==(const CTransform&, const CTransform&) = default;
};

// c(p) = then(first(p)). A result from an orientation outside 0..7 is the collapsing orientation 8.
CTransform Compose(const CTransform& first, const CTransform& then);

// The orientation of Compose(first, then) for orientations first and then (0..7).
int ComposeOrientations(int first, int then);
// The inverse orientation: 0, 3, 2, 1, 4, 5, 6, 7.
int InverseOrientation(int orientation);
// The orientation b with Compose(a, b) having orientation c (a and c in 0..7).
int OrientationLeadingTo(int a, int c);

}  // namespace tessera
