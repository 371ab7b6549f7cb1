#pragma once
// CViewGeometry: the scale of a universe window and the cells its client area shows. A scale s >= 1 is
// s x s pixels per cell; s < 0 is one pixel per |s| x |s| cells, |s| a power of two. Every zoom command
// ends in SetScale; the arithmetic is done in 64 bits so that a view near the edge of the plane never
// produces a coordinate that overflows.
#include <cstdint>
#include <optional>

#include "foundation/geometry.h"

namespace tessera::ui {

// The zoom operations of the menus, the keyboard and the right-click menu.
enum class EZoom {
    kIn,
    kOut,
    kAll,
    kCosmic,
    kSelection,
    kBack,
    kDefault,
    kRecenter,
    kRightIn,
    kScaleOne,
};

struct CScaleLimits {
    int minimum = 1;
    int maximum = 8;
    int initial = 5;
};

class CViewGeometry {
public:
    explicit CViewGeometry(const CScaleLimits& limits = {});

    const CScaleLimits& Limits() const { return limits_; }
    int Scale() const { return scale_; }
    int PreviousScale() const { return previous_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The top left visible cell.
    CLPoint Origin() const { return {left_, top_}; }

    // A new client size keeps the centre cell.
    void Resize(int width, int height);
    // Sets the scale about a centre (the current centre when none is given).
    void SetScale(int scale, std::optional<CLPoint> centre = std::nullopt);
    // The zoom operations; bounds is the universe's bounding rectangle (empty when no cells live) and
    // selection the selection rectangle. Zoom to selection with no selection does nothing here.
    void Zoom(EZoom zoom, std::optional<CLPoint> centre, const CLRect& bounds, const CLRect& selection);
    // Fits a rectangle; cosmic allows several cells per pixel.
    void Fit(const CLRect& rect, bool cosmic);
    // Moves the view by whole cells (clamped at the edges of the plane).
    void ScrollCells(int64_t dx, int64_t dy);
    // A scroll by pixels in whole cells: divided by s and rounded away from zero at s >= 1, multiplied
    // by |s| at s < 0.
    CLPoint PixelsToCells(int dx, int dy) const;

    CLPoint Centre() const;
    // The cells the client area shows, clipped to the plane; right and bottom exclusive.
    CLRect VisibleCells() const;
    // The cell under a pixel of the client area (pixels beyond it extrapolate).
    CLPoint CellAt(int px, int py) const;
    // The top left pixel of a cell relative to the client area (may lie far outside it).
    int64_t PixelX(int64_t cellX) const;
    int64_t PixelY(int64_t cellY) const;
    // Pixels per cell along one axis (1 at negative scales).
    int CellPixels() const { return scale_ > 0 ? scale_ : 1; }
    // Cells per pixel along one axis (1 at positive scales).
    int CellsPerPixel() const { return scale_ > 0 ? 1 : -scale_; }

private:
    int Clamp(int scale) const;
    void PlaceCentre(int64_t cx, int64_t cy);

    CScaleLimits limits_;
    int scale_;
    int previous_;
    int width_ = 1;
    int height_ = 1;
    int32_t left_ = 0;
    int32_t top_ = 0;
};

// The logarithmic interpolation shared by the speed slider and auto-scroll: low at position a, high at
// position b, truncated and clamped into [low, high].
int64_t LogInterpolate(int64_t low, int64_t high, int64_t a, int64_t b, int64_t position);

}  // namespace tessera::ui
