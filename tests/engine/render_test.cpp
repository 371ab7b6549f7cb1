// Rendering into 1-bit buffers against a direct per-pixel painter.
#include <gtest/gtest.h>

#include "engine/render_bits.h"
#include "support/cells.h"

namespace tessera::test {
namespace {

bool Pixel(const std::vector<uint8_t>& buffer, int bytesPerLine, int64_t px, int64_t line) {
    return (buffer[static_cast<size_t>(line * bytesPerLine + px / 8)] >> (7 - px % 8)) & 1;
}

// Which pixels must be lit: at scale s >= 1, a live cell lights its s x s square except the last g(s)
// columns and lines; at scale -s, a pixel is lit when any cell of its s x s square is alive.
bool ExpectedLit(const Cells& cells, const CLRect& rect, int scale, int64_t px, int64_t line) {
    if (scale > 0) {
        const int gap[9] = {0, 0, 0, 1, 1, 1, 1, 2, 2};
        if (px % scale >= scale - gap[scale] || line % scale >= scale - gap[scale]) return false;
        const CLPoint cell{static_cast<int32_t>(rect.left + px / scale),
                           static_cast<int32_t>(rect.top + line / scale)};
        return rect.Contains(cell) && cells.count(cell);
    }
    const int s = -scale;
    for (int dy = 0; dy < s; ++dy) {
        for (int dx = 0; dx < s; ++dx) {
            const CLPoint cell{static_cast<int32_t>(rect.left + px * s + dx),
                               static_cast<int32_t>(rect.top + line * s + dy)};
            if (rect.Contains(cell) && cells.count(cell)) return true;
        }
    }
    return false;
}

TEST(RenderBits, EveryScaleAgainstDirectPainting) {
    std::mt19937 rng(51);
    const Cells cells = RandomSoup(rng, -10, -10, 40, 30, 0.3);
    auto u = MakeUniverse(cells);
    const CLRect rect{-7, 21, -4, 13};
    const int64_t width = rect.right - rect.left, height = rect.bottom - rect.top;
    for (int scale : {-8, -4, -2, 1, 2, 3, 4, 5, 6, 7, 8}) {
        const int64_t pixelsWide = scale > 0 ? width * scale : (width - scale - 1) / -scale;
        const int64_t lines = scale > 0 ? height * scale : (height - scale - 1) / -scale;
        const int bytesPerLine = static_cast<int>((pixelsWide + 7) / 8 + 2);
        // Bytes beyond the image must stay untouched.
        std::vector<uint8_t> buffer(static_cast<size_t>(lines * bytesPerLine) + 16, 0xAB);
        u->RenderBits(buffer.data(), rect, bytesPerLine, scale);
        for (int64_t line = 0; line < lines; ++line) {
            for (int64_t px = 0; px < bytesPerLine * 8; ++px) {
                const bool expected = px < pixelsWide && ExpectedLit(cells, rect, scale, px, line);
                ASSERT_EQ(Pixel(buffer, bytesPerLine, px, line), expected)
                    << "scale " << scale << " pixel " << px << " line " << line;
            }
        }
        for (size_t i = static_cast<size_t>(lines * bytesPerLine); i < buffer.size(); ++i) {
            ASSERT_EQ(buffer[i], 0xAB) << "scale " << scale;
        }
    }
}

}  // namespace
}  // namespace tessera::test
