#pragma once
// Monochrome bitmaps of patterns as Qt images: the form the clipboard and the previews use.
#include <QImage>
#include <optional>

#include "formats/clipboard_bitmap.h"

namespace tessera::ui {

// A one-bit image of the bitmap: set bits white and clear bits black, as a monochrome bitmap shows them.
QImage ImageOfBitmap(const CMonochromeBitmap& bitmap);
// The bitmap of a black-and-white image (white pixels set); none when the image holds any other colour.
std::optional<CMonochromeBitmap> BitmapOfImage(const QImage& image);

// The pattern drawn at the largest scale up to 8 that fits a square of this many pixels (several cells
// to a pixel when needed), live cells black on white.
QImage PatternPreview(CUniverse& pattern, int pixels);

}  // namespace tessera::ui
