#include "engine/transform.h"

#include <array>
#include <utility>

namespace tessera {
namespace {

constexpr int kCollapse = kOrientationCount;

// The linear part of each orientation, as the images of (x, y) with zero offsets.
constexpr std::pair<int64_t, int64_t> Turn(int orientation, int64_t x, int64_t y) {
    switch (orientation) {
        case 0:
            return {x, y};
        case 1:
            return {-y, x};
        case 2:
            return {-x, -y};
        case 3:
            return {y, -x};
        case 4:
            return {-y, -x};
        case 5:
            return {x, -y};
        case 6:
            return {y, x};
        case 7:
            return {-x, y};
        default:
            return {0, 0};
    }
}

// The composition and its inverse relation, derived once from the formulas: two orientations are
// equal when they map the two unit vectors alike.
constexpr std::array<std::array<int, kOrientationCount>, kOrientationCount> BuildComposition() {
    std::array<std::array<int, kOrientationCount>, kOrientationCount> table{};
    for (int a = 0; a < kOrientationCount; ++a) {
        for (int b = 0; b < kOrientationCount; ++b) {
            auto [ux, uy] = Turn(a, 1, 0);
            auto [vx, vy] = Turn(a, 0, 1);
            auto u = Turn(b, ux, uy);
            auto v = Turn(b, vx, vy);
            table[a][b] = kCollapse;
            for (int c = 0; c < kOrientationCount; ++c) {
                if (Turn(c, 1, 0) == u && Turn(c, 0, 1) == v) table[a][b] = c;
            }
        }
    }
    return table;
}

constexpr auto kComposition = BuildComposition();

constexpr std::array<std::array<int, kOrientationCount>, kOrientationCount> BuildLeadingTo() {
    std::array<std::array<int, kOrientationCount>, kOrientationCount> table{};
    for (int a = 0; a < kOrientationCount; ++a) {
        for (int b = 0; b < kOrientationCount; ++b) table[a][kComposition[a][b]] = b;
    }
    return table;
}

constexpr auto kLeadingTo = BuildLeadingTo();

bool IsOrientation(int orientation) { return orientation >= 0 && orientation < kOrientationCount; }

}  // namespace

int ComposeOrientations(int first, int then) {
    if (!IsOrientation(first) || !IsOrientation(then)) return kCollapse;
    return kComposition[first][then];
}

int InverseOrientation(int orientation) {
    if (!IsOrientation(orientation)) return kCollapse;
    return kLeadingTo[orientation][0];
}

int OrientationLeadingTo(int a, int c) {
    if (!IsOrientation(a) || !IsOrientation(c)) return kCollapse;
    return kLeadingTo[a][c];
}

// Coordinates wrap as 32-bit numbers, like every other cell arithmetic of the engine.
CLPoint CTransform::Apply(CLPoint p) const {
    if (!IsOrientation(orientation)) return {0, 0};
    auto [x, y] = Turn(orientation, p.x, p.y);
    return {static_cast<int32_t>(static_cast<uint32_t>(xOffset) + static_cast<uint32_t>(x)),
            static_cast<int32_t>(static_cast<uint32_t>(yOffset) + static_cast<uint32_t>(y))};
}

CLRect CTransform::ApplyRect(const CLRect& r) const {
    CLPoint a = Apply({r.left, r.top});
    CLPoint b = Apply({r.right, r.bottom});
    CLRect out;
    out.left = a.x < b.x ? a.x : b.x;
    out.right = a.x < b.x ? b.x : a.x;
    out.top = a.y < b.y ? a.y : b.y;
    out.bottom = a.y < b.y ? b.y : a.y;
    return out;
}

CTransform CTransform::Inverse() const {
    const int inverse = InverseOrientation(orientation);
    if (inverse == kCollapse) return {0, 0, kCollapse};
    CLPoint back = CTransform(0, 0, inverse).Apply({xOffset, yOffset});
    return {static_cast<int32_t>(0u - static_cast<uint32_t>(back.x)),
            static_cast<int32_t>(0u - static_cast<uint32_t>(back.y)), inverse};
}

CTransform Compose(const CTransform& first, const CTransform& then) {
    const int orientation = ComposeOrientations(first.orientation, then.orientation);
    if (orientation == kCollapse) return {0, 0, kCollapse};
    CLPoint shifted =
        CTransform(then.xOffset, then.yOffset, then.orientation).Apply({first.xOffset, first.yOffset});
    return {shifted.x, shifted.y, orientation};
}

}  // namespace tessera
