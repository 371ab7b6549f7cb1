#include "engine/render_bits.h"

#include <array>
#include <cstring>

#include "engine/growable_explore.h"
#include "engine/growable_universe.h"

namespace tessera {
namespace {

constexpr std::array<int, kMaxRenderScale + 1> kGap{0, 0, 0, 1, 1, 1, 1, 2, 2};

// masks[s][offset]: the s - g(s) lit pixels of a cell starting at bit `offset`, spread over two bytes.
constexpr auto BuildMasks() {
    std::array<std::array<CRenderMask, 8>, kMaxRenderScale + 1> masks{};
    for (int s = 1; s <= kMaxRenderScale; ++s) {
        const int lit = s - kGap[s];
        for (int offset = 0; offset < 8; ++offset) {
            const uint32_t bits = ((1u << lit) - 1) << (16 - lit - offset);
            masks[s][offset] = {static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits & 0xFF)};
        }
    }
    return masks;
}
constexpr auto kMasks = BuildMasks();

// Rows of the universe that meet rect, each with its cells inside [left, right).
template <class PaintCell>
void ForEachCellIn(const CRow* row, const CLRect& rect, PaintCell paint) {
    for (; row && row->y < rect.bottom; row = row->next) {
        if (row->y < rect.top) continue;
        for (const int32_t* x = FirstCellFrom(row, rect.left); *x < rect.right; ++x) paint(*x, row->y);
    }
}

}  // namespace

int RenderGap(int scale) { return scale >= 1 && scale <= kMaxRenderScale ? kGap[scale] : 0; }

CRenderMask RenderMask(int scale, int bitOffset) {
    if (scale < 1 || scale > kMaxRenderScale || bitOffset < 0 || bitOffset > 7) return {0, 0};
    return kMasks[scale][bitOffset];
}

void CGrowableUniverse::RenderBits(uint8_t* buffer, const CLRect& rect, int bytesPerLine, int scale) {
    Consolidate();
    if (!rect.IsValid() || rect.bottom <= rect.top || bytesPerLine <= 0 || scale == 0) return;
    const int64_t lines = int64_t{rect.bottom} - rect.top;
    const size_t line = static_cast<size_t>(bytesPerLine);
    if (scale == 1) {
        std::memset(buffer, 0, static_cast<size_t>(lines) * line);
        ForEachCellIn(firstRow_, rect, [&](int32_t x, int32_t y) {
            const int64_t px = int64_t{x} - rect.left;
            if (px >= int64_t{bytesPerLine} * 8) return;
            buffer[static_cast<size_t>(y - int64_t{rect.top}) * line + static_cast<size_t>(px >> 3)] |=
                static_cast<uint8_t>(0x80 >> (px & 7));
        });
    } else if (scale < 0) {
        // Zoomed out: one pixel per s x s square, s a power of two; only whole output lines are cleared.
        const int64_t s = -int64_t{scale};
        int k = 0;
        while ((int64_t{1} << k) < s) ++k;
        std::memset(buffer, 0, static_cast<size_t>((lines + s - 1) >> k) * line);
        ForEachCellIn(firstRow_, rect, [&](int32_t x, int32_t y) {
            const int64_t px = (int64_t{x} - rect.left) >> k;
            if (px >= int64_t{bytesPerLine} * 8) return;
            buffer[static_cast<size_t>((int64_t{y} - rect.top) >> k) * line + static_cast<size_t>(px >> 3)] |=
                static_cast<uint8_t>(0x80 >> (px & 7));
        });
    } else if (scale <= kMaxRenderScale) {
        const int lit = scale - kGap[scale];
        std::memset(buffer, 0, static_cast<size_t>(lines * scale) * line);
        ForEachCellIn(firstRow_, rect, [&](int32_t x, int32_t y) {
            const int64_t px = (int64_t{x} - rect.left) * scale;
            const size_t byte = static_cast<size_t>(px >> 3);
            if (byte >= line) return;
            const CRenderMask mask = kMasks[scale][px & 7];
            uint8_t* first = buffer + static_cast<size_t>((int64_t{y} - rect.top) * scale) * line + byte;
            for (int i = 0; i < lit; ++i, first += line) {
                first[0] |= mask.first;
                if (mask.second && byte + 1 < line) first[1] |= mask.second;
            }
        });
    }
}

}  // namespace tessera
