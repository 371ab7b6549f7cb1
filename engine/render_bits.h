#pragma once
// Byte masks for painting cells at positive scales into monochrome bitmaps.
#include <cstdint>

namespace tessera {

inline constexpr int kMaxRenderScale = 8;

// Pixels of a cell at scale s (1 to 8) that stay blank at its right and bottom: g = 0,0,1,1,1,1,2,2.
int RenderGap(int scale);

// The lit pixels of a cell whose first pixel is bit `bitOffset` (0 = most significant) of a byte, as a
// pair of bytes: the first byte and the one after it.
struct CRenderMask {
    uint8_t first;
    uint8_t second;
};
CRenderMask RenderMask(int scale, int bitOffset);

}  // namespace tessera
