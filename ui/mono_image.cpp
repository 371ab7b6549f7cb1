#include "ui/mono_image.h"

#include <algorithm>
#include <cstring>

#include "engine/render_bits.h"
#include "engine/universe.h"

namespace tessera::ui {
namespace {

constexpr QRgb kClear = qRgb(0, 0, 0);
constexpr QRgb kSet = qRgb(255, 255, 255);
constexpr QRgb kOpaque = 0xFF000000u;

}  // namespace

QImage ImageOfBitmap(const CMonochromeBitmap& bitmap) {
    if (bitmap.width <= 0 || bitmap.height <= 0) return {};
    QImage image(bitmap.width, bitmap.height, QImage::Format_Mono);
    image.setColorTable({kClear, kSet});
    // Both keep the most significant bit leftmost; only the row padding differs.
    const size_t rowBytes = size_t(bitmap.width + 7) / 8;
    for (int32_t y = 0; y < bitmap.height; ++y)
        std::memcpy(image.scanLine(y), bitmap.bits.data() + size_t(y) * size_t(bitmap.bytesPerRow), rowBytes);
    return image;
}

std::optional<CMonochromeBitmap> BitmapOfImage(const QImage& image) {
    if (image.isNull()) return std::nullopt;
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    CMonochromeBitmap bitmap;
    bitmap.width = pixels.width();
    bitmap.height = pixels.height();
    bitmap.bytesPerRow = PaddedRowBytes(bitmap.width);
    bitmap.bits.assign(size_t(bitmap.bytesPerRow) * size_t(bitmap.height), 0);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            // Transparent pixels count as the paper they lie on: white.
            const QRgb pixel = qAlpha(line[x]) == 0 ? kSet : (line[x] | kOpaque);
            if (pixel == kSet)
                bitmap.bits[size_t(y) * size_t(bitmap.bytesPerRow) + size_t(x >> 3)] |=
                    uint8_t(0x80 >> (x & 7));
            else if (pixel != kClear)
                return std::nullopt;
        }
    }
    return bitmap;
}

QImage PatternPreview(CUniverse& pattern, int pixels) {
    if (pattern.Population() == 0) return {};
    const CLRect box = pattern.GetBounds();
    const int64_t extent = std::max<int64_t>(int64_t(box.right) - box.left, int64_t(box.bottom) - box.top);
    int scale = int(std::clamp<int64_t>(pixels / extent, 1, kMaxRenderScale));
    if (extent > pixels) {
        scale = -2;
        while (extent > int64_t(pixels) * -scale) scale *= 2;
    }
    return ImageOfBitmap(RenderPatternBitmap(pattern, scale, true));
}

}  // namespace tessera::ui
