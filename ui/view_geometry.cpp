#include "ui/view_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tessera::ui {
namespace {

constexpr int kTableTop = 31;
// The next scale up and down from each positive scale; both stop at kTableTop.
constexpr std::array<int, kTableTop + 1> kZoomInTable = {0,  2,  3,  4,  5,  6,  7,  8,  11, 13, 14,
                                                         16, 17, 18, 20, 21, 22, 24, 25, 26, 28, 29,
                                                         30, 31, 31, 31, 31, 31, 31, 31, 31, 31};
constexpr std::array<int, kTableTop + 1> kZoomOutTable = {0,  1,  1,  2,  3,  3,  4,  5,  6,  6,  7,
                                                          8,  8,  9,  10, 11, 11, 12, 13, 14, 14, 15,
                                                          16, 16, 17, 18, 18, 19, 20, 21, 21, 22};
constexpr int64_t kLowestCell = -2147483647;  // the plane's first cell
constexpr int64_t kHighestEdge = 2147483646;  // one beyond its last cell

int64_t HalfExtent(int pixels, int scale) {
    if (scale >= 1) return (int64_t{pixels} + scale - 1) / (2 * int64_t{scale});
    return int64_t{pixels} * -int64_t{scale} / 2;
}

int64_t RoundAwayFromZero(int64_t value, int64_t divisor) {
    return value >= 0 ? (value + divisor - 1) / divisor : -((-value + divisor - 1) / divisor);
}

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

}  // namespace

CViewGeometry::CViewGeometry(const CScaleLimits& limits) : limits_(limits) {
    scale_ = Clamp(limits.initial);
    previous_ = scale_;
}

int CViewGeometry::Clamp(int scale) const {
    if (scale < 0) {
        // Only powers of two stand for several cells per pixel.
        const int cells = -scale;
        if ((cells & (cells - 1)) != 0) {
            int power = 1;
            while (power * 2 < cells) power *= 2;
            scale = -2 * power;
        }
    }
    if (scale == 0) scale = 1;
    return std::clamp(scale, limits_.minimum, limits_.maximum);
}

void CViewGeometry::Resize(int width, int height) {
    const CLPoint centre = Centre();
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
    PlaceCentre(centre.x, centre.y);
}

CLPoint CViewGeometry::Centre() const {
    const int64_t cx = int64_t{left_} + HalfExtent(width_, scale_);
    const int64_t cy = int64_t{top_} + HalfExtent(height_, scale_);
    return {static_cast<int32_t>(std::clamp(cx, kLowestCell, kHighestEdge - 1)),
            static_cast<int32_t>(std::clamp(cy, kLowestCell, kHighestEdge - 1))};
}

void CViewGeometry::PlaceCentre(int64_t cx, int64_t cy) {
    const auto place = [this](int64_t c, int pixels) {
        const int64_t half = HalfExtent(pixels, scale_);
        // Keep every visible coordinate a valid cell: the view never starts before the plane's first
        // cell nor reaches past its last one.
        c = std::min(c, kHighestEdge - half);
        c = std::max(c, kLowestCell + half);
        return static_cast<int32_t>(std::clamp(c - half, kLowestCell, kHighestEdge - 1));
    };
    left_ = place(cx, width_);
    top_ = place(cy, height_);
}

void CViewGeometry::SetScale(int scale, std::optional<CLPoint> centre) {
    const CLPoint c = centre.value_or(Centre());
    previous_ = scale_;
    scale_ = Clamp(scale);
    PlaceCentre(c.x, c.y);
}

void CViewGeometry::Fit(const CLRect& rect, bool cosmic) {
    if (!rect.IsValid() || rect.right <= rect.left) return;
    const int64_t w = int64_t{rect.right} - rect.left;
    const int64_t h = int64_t{rect.bottom} - rect.top;
    int64_t candidate =
        std::min({(int64_t{width_} + 1) / w, (int64_t{height_} + 1) / h, int64_t{limits_.maximum}});
    int scale = static_cast<int>(candidate);
    if (candidate == 0) {
        if (cosmic) {
            int64_t cells = std::max(CeilDiv(h, height_), CeilDiv(w, width_));
            int64_t power = 1;
            while (power < cells) power *= 2;
            scale = static_cast<int>(std::max<int64_t>(-power, limits_.minimum));
        } else {
            scale = std::max(limits_.minimum, 1);
        }
    }
    const CLPoint centre{static_cast<int32_t>(rect.left + w / 2), static_cast<int32_t>(rect.top + h / 2)};
    SetScale(scale, centre);
}

void CViewGeometry::Zoom(EZoom zoom, std::optional<CLPoint> centre, const CLRect& bounds,
                         const CLRect& selection) {
    const int s = scale_;
    switch (zoom) {
        case EZoom::kIn:
            if (s >= 0)
                SetScale(kZoomInTable[std::min(s, kTableTop)], centre);
            else if (s >= -2)
                SetScale(1, centre);
            else
                SetScale(s / 2, centre);
            break;
        case EZoom::kOut:
            if (s >= 2)
                SetScale(kZoomOutTable[std::min(s, kTableTop)], centre);
            else if (s == 1)
                SetScale(std::max(limits_.minimum, -2), centre);
            else
                SetScale(std::max(2 * s, limits_.minimum), centre);
            break;
        case EZoom::kAll:
            if (bounds.IsValid()) Fit(bounds, false);
            break;
        case EZoom::kCosmic:
            if (bounds.IsValid()) Fit(bounds, true);
            break;
        case EZoom::kSelection:
            if (selection.IsValid() && selection.right > selection.left) Fit(selection, false);
            break;
        case EZoom::kBack:
            SetScale(previous_, centre);
            break;
        case EZoom::kDefault:
            SetScale(limits_.initial, centre);
            break;
        case EZoom::kRecenter:
            SetScale(s, centre);
            break;
        case EZoom::kRightIn:
            SetScale(limits_.maximum, centre);
            break;
        case EZoom::kScaleOne:
            SetScale(1, centre);
            break;
    }
}

void CViewGeometry::ScrollCells(int64_t dx, int64_t dy) {
    const CLPoint c = Centre();
    PlaceCentre(int64_t{c.x} + dx, int64_t{c.y} + dy);
}

CLPoint CViewGeometry::PixelsToCells(int dx, int dy) const {
    if (scale_ >= 1)
        return {static_cast<int32_t>(RoundAwayFromZero(dx, scale_)),
                static_cast<int32_t>(RoundAwayFromZero(dy, scale_))};
    return {dx * -scale_, dy * -scale_};
}

CLRect CViewGeometry::VisibleCells() const {
    const int64_t across = scale_ >= 1 ? CeilDiv(width_, scale_) : int64_t{width_} * -scale_;
    const int64_t down = scale_ >= 1 ? CeilDiv(height_, scale_) : int64_t{height_} * -scale_;
    return {left_, static_cast<int32_t>(std::min(int64_t{left_} + across, kHighestEdge)), top_,
            static_cast<int32_t>(std::min(int64_t{top_} + down, kHighestEdge))};
}

CLPoint CViewGeometry::CellAt(int px, int py) const {
    const auto cell = [this](int32_t origin, int p) {
        const int64_t offset = scale_ >= 1 ? (p >= 0 ? p / scale_ : -((-int64_t{p} + scale_ - 1) / scale_))
                                           : int64_t{p} * -scale_;
        return static_cast<int32_t>(std::clamp(origin + offset, kLowestCell, kHighestEdge - 1));
    };
    return {cell(left_, px), cell(top_, py)};
}

int64_t CViewGeometry::PixelX(int64_t cellX) const {
    return scale_ >= 1 ? (cellX - left_) * scale_ : (cellX - left_) / -scale_;
}

int64_t CViewGeometry::PixelY(int64_t cellY) const {
    return scale_ >= 1 ? (cellY - top_) * scale_ : (cellY - top_) / -scale_;
}

int64_t LogInterpolate(int64_t low, int64_t high, int64_t a, int64_t b, int64_t position) {
    if (b == a || low == high) return low;
    position = std::clamp(position, std::min(a, b), std::max(a, b));
    const double exponent =
        (std::log10(double(high)) - std::log10(double(low))) * double(position - a) / double(b - a);
    const auto value = static_cast<int64_t>(double(low) * std::pow(10.0, exponent));
    return std::clamp(value, std::min(low, high), std::max(low, high));
}

}  // namespace tessera::ui
