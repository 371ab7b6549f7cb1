#pragma once
// Monochrome bitmaps of patterns for the clipboard: one bit per pixel, rows padded to 16 bits, the
// most significant bit of each byte leftmost.
#include <cstdint>
#include <memory>
#include <vector>

namespace tessera {

class CUniverse;
class CGrowableUniverse;

struct CMonochromeBitmap {
    int32_t width = 0;   // pixels
    int32_t height = 0;  // rows
    int32_t bytesPerRow = 0;
    std::vector<uint8_t> bits;  // height rows, top to bottom

    bool Pixel(int32_t x, int32_t y) const {
        return (bits[size_t(y) * size_t(bytesPerRow) + size_t(x >> 3)] >> (7 - (x & 7))) & 1;
    }
};

// Bytes per row for a row of this many pixels: whole 16-bit words.
int32_t PaddedRowBytes(int64_t pixels);

// The pattern's bounding rectangle drawn at scale k: k ≥ 1 paints each cell as a k × k block (the last
// columns and lines of the block left blank as on the grid), k ≤ −1 paints one pixel for each |k| × |k|
// square that holds a live cell. With invert, every byte is inverted afterwards. An empty pattern gives
// an empty bitmap; a bitmap too big to address throws the program's out-of-memory failure.
CMonochromeBitmap RenderPatternBitmap(CUniverse& pattern, int scale, bool invert);

// How many pixels of the bitmap are set.
uint64_t CountSetPixels(const CMonochromeBitmap& bitmap);

// A universe with cell (x, y) alive for each set pixel (each clear one with invert).
[[nodiscard]] std::unique_ptr<CGrowableUniverse> UniverseFromBitmap(const CMonochromeBitmap& bitmap,
                                                                    bool invert);

}  // namespace tessera
