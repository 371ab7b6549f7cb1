#include "formats/clipboard_bitmap.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "config/parameters.h"
#include "engine/growable_universe.h"
#include "engine/render_bits.h"
#include "foundation/errors.h"

namespace tessera {
namespace {

constexpr int kLargeScaleGap = 2;  // blank pixels at the right and bottom of a cell above the table's scales
constexpr int64_t kMaxBitmapBytes = int64_t(1) << 31;

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

// Scales the engine paints itself: 1 to 8, and zoomed out by a power of two.
bool EngineScale(int scale) {
    return (scale >= 1 && scale <= kMaxRenderScale) || (scale < 0 && std::has_single_bit(unsigned(-scale)));
}

void SetPixel(CMonochromeBitmap& bitmap, int64_t x, int64_t y) {
    bitmap.bits[size_t(y) * size_t(bitmap.bytesPerRow) + size_t(x >> 3)] |= uint8_t(0x80 >> (x & 7));
}

// Painting for the scales the engine has no masks for.
void PaintCells(CUniverse& pattern, const CLRect& box, int scale, CMonochromeBitmap& bitmap) {
    ExplorePtr cells = pattern.ExploreAll();
    while (cells->Next()) {
        const int64_t x = int64_t(cells->Current().x) - box.left, y = int64_t(cells->Current().y) - box.top;
        if (scale < 0) {
            SetPixel(bitmap, x / -scale, y / -scale);
            continue;
        }
        const int lit = scale - kLargeScaleGap;
        for (int dy = 0; dy < lit; ++dy)
            for (int dx = 0; dx < lit; ++dx) SetPixel(bitmap, x * scale + dx, y * scale + dy);
    }
}

}  // namespace

int32_t PaddedRowBytes(int64_t pixels) { return int32_t(CeilDiv(pixels, 16) * 2); }

CMonochromeBitmap RenderPatternBitmap(CUniverse& pattern, int scale, bool invert) {
    CMonochromeBitmap bitmap;
    if (pattern.Population() == 0 || scale == 0) return bitmap;
    const CLRect box = pattern.GetBounds();
    const int64_t w = int64_t(box.right) - box.left, h = int64_t(box.bottom) - box.top;
    const int64_t width = scale >= 1 ? w * scale : CeilDiv(w, -int64_t(scale));
    const int64_t height = scale >= 1 ? h * scale : CeilDiv(h, -int64_t(scale));
    const int64_t rowBytes = CeilDiv(width, 16) * 2;
    // A sparse pattern at a large scale would need more than the memory the user allows the program.
    const int64_t limit = std::min<int64_t>(kMaxBitmapBytes, int64_t(params::MaxMemory.GetUInt()) << 20);
    if (width > INT32_MAX || height > INT32_MAX || rowBytes * height > limit) throw CMemoryException();
    bitmap.width = int32_t(width);
    bitmap.height = int32_t(height);
    bitmap.bytesPerRow = int32_t(rowBytes);
    bitmap.bits.assign(size_t(rowBytes * height), 0);
    if (EngineScale(scale)) {
        pattern.RenderBits(bitmap.bits.data(), box, bitmap.bytesPerRow, scale);
    } else {
        PaintCells(pattern, box, scale, bitmap);
    }
    if (invert)
        for (uint8_t& byte : bitmap.bits) byte = uint8_t(~byte);
    return bitmap;
}

uint64_t CountSetPixels(const CMonochromeBitmap& bitmap) {
    uint64_t set = 0;
    for (int32_t y = 0; y < bitmap.height; ++y)
        for (int32_t x = 0; x < bitmap.width; ++x) set += bitmap.Pixel(x, y);
    return set;
}

std::unique_ptr<CGrowableUniverse> UniverseFromBitmap(const CMonochromeBitmap& bitmap, bool invert) {
    auto universe = std::make_unique<CGrowableUniverse>();
    for (int32_t y = 0; y < bitmap.height; ++y)
        for (int32_t x = 0; x < bitmap.width; ++x)
            if (bitmap.Pixel(x, y) != invert) universe->SetCell(x, y);
    return universe;
}

}  // namespace tessera
