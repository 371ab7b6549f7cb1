#include "patterns/apgcode.h"

#include <algorithm>
#include <array>
#include <climits>

#include "engine/universe.h"
#include "patterns/pattern.h"

namespace tessera {
namespace {

constexpr int kStripRows = 5;
constexpr std::string_view kColumnDigits = "0123456789abcdefghijklmnopqrstuv";
constexpr std::string_view kRunDigits = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr int kShortestCountedRun = 4;  // 'y' followed by kRunDigits[n - 4]
constexpr int kLongestCountedRun = kShortestCountedRun + static_cast<int>(kRunDigits.size()) - 1;

void AppendBlankRun(std::string& out, int run) {
    while (run > kLongestCountedRun) {
        out += 'y';
        out += kRunDigits.back();
        run -= kLongestCountedRun;
    }
    switch (run) {
        case 0:
            break;
        case 1:
            out += '0';
            break;
        case 2:
            out += 'w';
            break;
        case 3:
            out += 'x';
            break;
        default:
            out += 'y';
            out += kRunDigits[run - kShortestCountedRun];
    }
}

// The eight orientations as maps of a point: the identity, three turns and four reflections.
CLPoint Orient(CLPoint p, int orientation) {
    const int64_t x = p.x, y = p.y;
    int64_t ox = x, oy = y;
    switch (orientation) {
        case 0:
            break;
        case 1:
            ox = -y, oy = x;
            break;
        case 2:
            ox = -x, oy = -y;
            break;
        case 3:
            ox = y, oy = -x;
            break;
        case 4:
            ox = -x;
            break;
        case 5:
            oy = -y;
            break;
        case 6:
            ox = y, oy = x;
            break;
        default:
            ox = -y, oy = -x;
            break;
    }
    // Every coordinate of the plane lies within +-2147483647, so its negation fits as well.
    return CLPoint{static_cast<int32_t>(ox), static_cast<int32_t>(oy)};
}

bool Better(const std::string& candidate, const std::string& best) {
    if (candidate.size() != best.size()) return candidate.size() < best.size();
    return candidate < best;
}

}  // namespace

std::string WechslerEncoding(std::span<const CLPoint> cells) {
    if (cells.empty()) return {};
    int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
    for (const CLPoint& p : cells) {
        left = std::min<int64_t>(left, p.x), right = std::max<int64_t>(right, p.x);
        top = std::min<int64_t>(top, p.y), bottom = std::max<int64_t>(bottom, p.y);
    }
    const int64_t width = right - left + 1;
    const int64_t strips = (bottom - top) / kStripRows + 1;
    // One 5-bit column value per strip and column.
    std::vector<uint8_t> columns(static_cast<size_t>(width * strips), 0);
    for (const CLPoint& p : cells) {
        const int64_t row = p.y - top;
        columns[static_cast<size_t>((row / kStripRows) * width + (p.x - left))] |=
            static_cast<uint8_t>(1u << (row % kStripRows));
    }
    std::string out;
    for (int64_t strip = 0; strip < strips; ++strip) {
        if (strip > 0) out += 'z';
        int blanks = 0;
        for (int64_t column = 0; column < width; ++column) {
            const uint8_t value = columns[static_cast<size_t>(strip * width + column)];
            if (value == 0) {
                ++blanks;
                continue;
            }
            AppendBlankRun(out, blanks);
            blanks = 0;
            out += kColumnDigits[value];
        }
        // Blank columns at the strip's end are left out.
    }
    return out;
}

std::string CanonicalWechsler(std::span<const std::vector<CLPoint>> phases) {
    std::string best;
    bool found = false;
    std::vector<CLPoint> oriented;
    for (const std::vector<CLPoint>& phase : phases) {
        for (int orientation = 0; orientation < 8; ++orientation) {
            oriented.clear();
            for (const CLPoint& p : phase) oriented.push_back(Orient(p, orientation));
            std::string code = WechslerEncoding(oriented);
            if (!found || Better(code, best)) best = std::move(code), found = true;
        }
    }
    return best;
}

std::string ApgCode(EApgKind kind, uint32_t count, std::span<const std::vector<CLPoint>> phases) {
    const char* prefix = kind == EApgKind::StillLife ? "xs" : kind == EApgKind::Oscillator ? "xp" : "xq";
    return prefix + std::to_string(count) + "_" + CanonicalWechsler(phases);
}

std::string PatternApgCode(CPattern& pattern) {
    EApgKind kind;
    switch (pattern.GetType()) {
        case EPatternType::Still:
            kind = EApgKind::StillLife;
            break;
        case EPatternType::Oscillator:
            kind = EApgKind::Oscillator;
            break;
        case EPatternType::Ship:
            kind = EApgKind::Ship;
            break;
        default:
            return {};
    }
    const int32_t period = kind == EApgKind::StillLife ? 1 : pattern.Period();
    if (period <= 0) return {};
    std::vector<std::vector<CLPoint>> phases(static_cast<size_t>(period));
    for (int32_t phase = 0; phase < period; ++phase) {
        CUniverse& generation = pattern.GetPatternGeneration(0, phase);
        CUniverseUse use(generation);
        ExplorePtr e = generation.ExploreAll();
        while (e->Next()) phases[static_cast<size_t>(phase)].push_back(e->Current());
    }
    const uint32_t count =
        kind == EApgKind::StillLife ? pattern.Base().Population() : static_cast<uint32_t>(period);
    return ApgCode(kind, count, phases);
}

}  // namespace tessera
