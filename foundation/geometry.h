#pragma once
// Cell coordinates, extents and rectangles of the unbounded grid.
#include <cstdint>

namespace tessera {

struct CLPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const CLPoint&, const CLPoint&) = default;
};

struct CLSize {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const CLSize&, const CLSize&) = default;
};

// right and bottom are exclusive: the rectangle of the single cell (x, y) is x, x+1, y, y+1.
struct CLRect {
    int32_t left = 0;
    int32_t right = 0;
    int32_t top = 0;
    int32_t bottom = 0;
    friend bool operator==(const CLRect&, const CLRect&) = default;

    bool IsValid() const { return left <= right; }
    bool Contains(CLPoint p) const { return left <= p.x && p.x < right && top <= p.y && p.y < bottom; }
};

inline constexpr int32_t kEmptyRectLow = 2147483646;    // left and top of the empty rectangle
inline constexpr int32_t kEmptyRectHigh = -2147483647;  // right and bottom of the empty rectangle

inline constexpr CLRect EmptyRect{kEmptyRectLow, kEmptyRectHigh, kEmptyRectLow, kEmptyRectHigh};

// The rectangle that stands for the whole plane.
inline constexpr CLRect UniverseLimits{-2147483647, 2147483646, -2147483647, 2147483646};

}  // namespace tessera
