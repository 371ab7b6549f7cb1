#pragma once
// Helpers shared by the engine tests: cells as a plain ordered set, random soups and rules.
#include <cstdint>
#include <random>
#include <set>
#include <vector>

#include "engine/growable_universe.h"
#include "foundation/geometry.h"
#include "rules/rule_code.h"

namespace tessera::test {

// Cells in (y, x) order, the order every sorted exploration must follow.
struct CellLess {
    bool operator()(const CLPoint& a, const CLPoint& b) const { return a.y != b.y ? a.y < b.y : a.x < b.x; }
};
using CellSet = std::set<CLPoint, CellLess>;

inline CellSet CellsOf(CUniverse& universe) {
    CellSet cells;
    ExplorePtr e = universe.ExploreAll();
    while (e->Next()) cells.insert(e->Current());
    return cells;
}

// The cells of a sorted exploration, in the order it yields them.
inline std::vector<CLPoint> SequenceOf(CExploreContext& e) {
    std::vector<CLPoint> cells;
    while (e.Next()) cells.push_back(e.Current());
    return cells;
}

inline std::unique_ptr<CGrowableUniverse> MakeUniverse(const CellSet& cells,
                                                       RuleCode rule = kConwayRuleCode) {
    auto u = std::make_unique<CGrowableUniverse>();
    u->SetRuleCode(rule);
    for (const CLPoint& p : cells) u->SetCell(p.x, p.y);
    return u;
}

inline CellSet RandomSoup(std::mt19937& rng, int32_t left, int32_t top, int width, int height,
                          double density) {
    std::bernoulli_distribution alive(density);
    CellSet cells;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (alive(rng)) cells.insert({left + x, top + y});
        }
    }
    return cells;
}

inline CellSet Shifted(const CellSet& cells, int32_t dx, int32_t dy) {
    CellSet out;
    for (const CLPoint& p : cells) out.insert({p.x + dx, p.y + dy});
    return out;
}

inline CLRect BoundsOf(const CellSet& cells) {
    CLRect r = EmptyRect;
    for (const CLPoint& p : cells) {
        r.left = std::min(r.left, p.x);
        r.right = std::max(r.right, p.x + 1);
        r.top = std::min(r.top, p.y);
        r.bottom = std::max(r.bottom, p.y + 1);
    }
    return r;
}

inline const CellSet& Glider() {
    static const CellSet glider{{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
    return glider;
}

}  // namespace tessera::test
