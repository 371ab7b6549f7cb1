#include "ui/pattern_picture.h"

#include <QString>
#include <QTextStream>

#include "config/parameters.h"
#include "engine/explore.h"
#include "engine/universe.h"
#include "formats/clipboard_bitmap.h"
#include "foundation/errors.h"
#include "ui/universe_renderer.h"

namespace tessera::ui {
namespace {

QString SvgColour(uint32_t colour) {
    // Colour parameters hold red in the low byte.
    return QStringLiteral("#%1%2%3")
        .arg(colour & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

void Rect(QTextStream& out, int64_t x, int64_t y, int64_t w, int64_t h) {
    out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << w << "\" height=\"" << h << "\"/>\n";
}

}  // namespace

QByteArray PatternPicture(CUniverse& pattern, int scale, int style) {
    QByteArray svg;
    QTextStream out(&svg);
    const CLRect box = pattern.Population() != 0 ? pattern.GetBounds() : CLRect{0, 0, 0, 0};
    const int64_t w = int64_t(box.right) - box.left, h = int64_t(box.bottom) - box.top;
    const int64_t k = scale < 0 ? -int64_t(scale) : std::max(scale, 1);
    const int64_t width = scale < 0 ? (w + k - 1) / k : w * k, height = scale < 0 ? (h + k - 1) / k : h * k;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << width << "\" height=\""
        << height << "\" viewBox=\"0 0 " << width << ' ' << height << "\" shape-rendering=\"crispEdges\">\n"
        << "<g fill=\"" << SvgColour(params::ClipboardAliveColor.GetColor()) << "\" stroke=\"none\">\n";
    if (pattern.Population() != 0 && scale < 0) {
        // Squares of cells: the bitmap's set pixels, merged along each row.
        const CMonochromeBitmap bitmap = RenderPatternBitmap(pattern, scale, false);
        for (int32_t y = 0; y < bitmap.height; ++y) {
            for (int32_t x = 0; x < bitmap.width;) {
                if (!bitmap.Pixel(x, y)) {
                    ++x;
                    continue;
                }
                const int32_t start = x;
                while (x < bitmap.width && bitmap.Pixel(x, y)) ++x;
                Rect(out, start, y, x - start, 1);
            }
        }
    } else if (pattern.Population() != 0) {
        const int64_t lit = k - CellGap(int(k), style == 0);
        ExplorePtr cells = pattern.ExploreSorted();
        if (!cells) throw CMemoryException();
        // Runs of neighbouring cells in a row are one rectangle when cells have no gap between them.
        bool open = false;
        int64_t runX = 0, runY = 0, runEnd = 0;
        const auto flush = [&] {
            if (open)
                Rect(out, (runX - box.left) * k, (runY - box.top) * k, (runEnd - runX - 1) * k + lit, lit);
            open = false;
        };
        while (cells->Next()) {
            const int64_t x = cells->Current().x, y = cells->Current().y;
            if (open && lit == k && y == runY && x == runEnd) {
                ++runEnd;
                continue;
            }
            flush();
            open = true;
            runX = x, runY = y, runEnd = x + 1;
        }
        flush();
    }
    out << "</g>\n</svg>\n";
    out.flush();
    return svg;
}

}  // namespace tessera::ui
