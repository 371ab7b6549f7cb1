#include "ui/universe_renderer.h"

#include <algorithm>
#include <cstring>

#include "config/parameters.h"
#include "engine/render_bits.h"
#include "engine/universe.h"

namespace tessera::ui {
QRgb ParameterColour(CParamColor& parameter) {
    const uint32_t c = parameter.GetColor();
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

namespace {

constexpr int kMaskAlignBytes = 4;

int BytesPerLine(int64_t bits) {
    return int((bits + 8 * kMaskAlignBytes - 1) / (8 * kMaskAlignBytes)) * kMaskAlignBytes;
}

void FillRect(QImage& image, int64_t x0, int64_t y0, int64_t w, int64_t h, QRgb colour) {
    const int64_t left = std::max<int64_t>(x0, 0), right = std::min<int64_t>(x0 + w, image.width());
    const int64_t top = std::max<int64_t>(y0, 0), bottom = std::min<int64_t>(y0 + h, image.height());
    for (int64_t y = top; y < bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        std::fill(line + left, line + right, colour);
    }
}

}  // namespace

CRenderColours CRenderColours::FromParameters() {
    CRenderColours colours;
    colours.background = params::BackgroundColor.GetInt() != 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    colours.grid = ParameterColour(params::GridColor);
    colours.alive = ParameterColour(params::AliveColor);
    colours.born = ParameterColour(params::BornColor);
    colours.died = ParameterColour(params::DiedColor);
    colours.selected = ParameterColour(params::SelectedColor);
    colours.floating = ParameterColour(params::ForegroundColor);
    return colours;
}

int CellGap(int scale, bool gridStyle) {
    if (scale < 2) return 0;
    if (gridStyle) return 1;
    return scale <= kMaxRenderScale ? RenderGap(scale) : scale / 4;
}

void CUniverseRenderer::Render(QImage& image, const CViewGeometry& geometry, bool gridStyle, QRgb background,
                               QRgb grid, std::span<const CRenderLayer> layers) {
    image.fill(background);
    const int s = geometry.Scale();
    if (gridStyle && s >= 2) {
        // The last pixel column and line of every cell is its grid line.
        for (int y = s - 1; y < image.height(); y += s) FillRect(image, 0, y, image.width(), 1, grid);
        for (int x = s - 1; x < image.width(); x += s) FillRect(image, x, 0, 1, image.height(), grid);
    }
    for (const CRenderLayer& layer : layers)
        if (layer.universe && layer.universe->Population() > 0) PaintLayer(image, geometry, gridStyle, layer);
}

void CUniverseRenderer::PaintLayer(QImage& image, const CViewGeometry& geometry, bool gridStyle,
                                   const CRenderLayer& layer) {
    const int s = geometry.Scale();
    // The visible cells of the layer's own coordinates: the view moved back by its offset, clipped.
    const CLRect view = geometry.VisibleCells();
    int64_t left = std::max<int64_t>(int64_t{view.left} - layer.offset.cx, layer.clip.left);
    int64_t top = std::max<int64_t>(int64_t{view.top} - layer.offset.cy, layer.clip.top);
    const int64_t right = std::min<int64_t>(int64_t{view.right} - layer.offset.cx, layer.clip.right);
    const int64_t bottom = std::min<int64_t>(int64_t{view.bottom} - layer.offset.cy, layer.clip.bottom);
    if (s < 0) {
        // A pixel stands for an aligned square of cells: start on a square's edge.
        const int64_t k = -s;
        const int64_t originX = int64_t{view.left} - layer.offset.cx,
                      originY = int64_t{view.top} - layer.offset.cy;
        left = originX + ((left - originX) / k) * k;
        top = originY + ((top - originY) / k) * k;
    }
    if (left >= right || top >= bottom || left < UniverseLimits.left || top < UniverseLimits.top) return;
    const CLRect area{int32_t(left), int32_t(right), int32_t(top), int32_t(bottom)};
    const int64_t x0 = geometry.PixelX(left + layer.offset.cx);
    const int64_t y0 = geometry.PixelY(top + layer.offset.cy);
    const bool perPixel = s < 0 || (!gridStyle && s <= kMaxRenderScale);

    if (perPixel) {
        const int64_t k = s < 0 ? -s : 1;
        const int64_t columns = s < 0 ? (right - left + k - 1) / k : (right - left) * s;
        const int64_t lines = s < 0 ? (bottom - top + k - 1) / k : (bottom - top) * s;
        const int bytesPerLine = BytesPerLine(columns);
        bits_.resize(size_t(bytesPerLine) * size_t(lines));
        layer.universe->RenderBits(bits_.data(), area, bytesPerLine, s);
        for (int64_t line = 0; line < lines; ++line) {
            const int64_t y = y0 + line;
            if (y < 0 || y >= image.height()) continue;
            auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
            const uint8_t* row = bits_.data() + size_t(line) * size_t(bytesPerLine);
            for (int byte = 0; byte < bytesPerLine; ++byte) {
                if (row[byte] == 0) continue;
                for (int bit = 0; bit < 8; ++bit) {
                    if (!(row[byte] & (0x80 >> bit))) continue;
                    const int64_t x = x0 + int64_t{byte} * 8 + bit;
                    if (x >= 0 && x < image.width()) pixels[x] = layer.colour;
                }
            }
        }
        return;
    }

    // One bit per cell, each lit cell painted as a block.
    const int64_t columns = right - left, lines = bottom - top;
    const int bytesPerLine = BytesPerLine(columns);
    bits_.resize(size_t(bytesPerLine) * size_t(lines));
    layer.universe->RenderBits(bits_.data(), area, bytesPerLine, 1);
    const int lit = s - CellGap(s, gridStyle);
    for (int64_t line = 0; line < lines; ++line) {
        const uint8_t* row = bits_.data() + size_t(line) * size_t(bytesPerLine);
        for (int byte = 0; byte < bytesPerLine; ++byte) {
            if (row[byte] == 0) continue;
            for (int bit = 0; bit < 8; ++bit)
                if (row[byte] & (0x80 >> bit))
                    FillRect(image, x0 + (int64_t{byte} * 8 + bit) * s, y0 + line * s, lit, lit,
                             layer.colour);
        }
    }
}

}  // namespace tessera::ui
