#pragma once
// Paints universes into an image through the core's RenderBits: each layer's live cells come back as a
// monochrome mask (per pixel at map scales 1 to 8 and below 1, per cell above that and in grid style)
// and are painted in the layer's colour; the image is then blitted by the window.
#include <QImage>
#include <cstdint>
#include <span>
#include <vector>

#include "config/param.h"
#include "foundation/geometry.h"
#include "ui/view_geometry.h"

namespace tessera {
class CUniverse;
}

namespace tessera::ui {

// A colour parameter (stored as 0x00BBGGRR) as a Qt colour.
QRgb ParameterColour(CParamColor& parameter);

// The colours of a universe window, from the parameters.
struct CRenderColours {
    QRgb background = 0;
    QRgb grid = 0;
    QRgb alive = 0;
    QRgb born = 0;
    QRgb died = 0;
    QRgb selected = 0;
    QRgb floating = 0;

    static CRenderColours FromParameters();
};

// One universe painted in one colour, optionally shifted by an offset (a floating object) and clipped to
// an area of cells (the selection rectangle).
struct CRenderLayer {
    CUniverse* universe = nullptr;
    QRgb colour = 0;
    CLSize offset{};
    CLRect clip = UniverseLimits;
};

class CUniverseRenderer {
public:
    // Paints the background (and grid lines in grid style), then every layer in order, over the whole
    // image, which must have the geometry's size and a 32-bit format.
    void Render(QImage& image, const CViewGeometry& geometry, bool gridStyle, QRgb background, QRgb grid,
                std::span<const CRenderLayer> layers);

private:
    void PaintLayer(QImage& image, const CViewGeometry& geometry, bool gridStyle, const CRenderLayer& layer);

    std::vector<uint8_t> bits_;
};

// Pixels of a cell that stay background at its right and bottom: the map gaps up to scale 8, one grid
// line in grid style, a quarter of the cell beyond scale 8 in map style.
int CellGap(int scale, bool gridStyle);

}  // namespace tessera::ui
