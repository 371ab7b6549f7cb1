#pragma once
// Cells of a universe as a plain ordered set, and the ways tests build universes from them.
#include <cstdint>
#include <memory>
#include <ostream>
#include <random>
#include <set>
#include <string_view>
#include <vector>

#include "engine/growable_universe.h"
#include "foundation/geometry.h"
#include "rules/rule_code.h"

namespace tessera {
// So that failed comparisons print cells as (x, y).
void PrintTo(const CLPoint& p, std::ostream* out);
}  // namespace tessera

namespace tessera::test {

// Cells in (y, x) order, the order every sorted exploration follows.
struct CellLess {
    bool operator()(const CLPoint& a, const CLPoint& b) const { return a.y != b.y ? a.y < b.y : a.x < b.x; }
};
using Cells = std::set<CLPoint, CellLess>;

// The live cells, from a full exploration.
Cells CellsOf(CUniverse& universe);
// The cells an exploration yields, in its order.
std::vector<CLPoint> SequenceOf(CExploreContext& e);

std::unique_ptr<CGrowableUniverse> MakeUniverse(const Cells& cells, RuleCode rule = kConwayRuleCode);

// The cells of a picture: rows separated by '\n', '*' or 'O' alive, anything else dead; the first
// character of the first row at (left, top).
Cells CellsFromPicture(std::string_view picture, int32_t left = 0, int32_t top = 0);

// Each cell of a width x height box at (left, top) alive with the given probability.
Cells RandomSoup(std::mt19937& rng, int32_t left, int32_t top, int width, int height, double density);

Cells Shifted(const Cells& cells, int32_t dx, int32_t dy);
// The cells moved so that their bounding box starts at (0, 0).
Cells Normalised(const Cells& cells);
// Orientation 0..7 of the transform table applied about the origin, by formulas written out
// independently of the engine.
Cells Turned(const Cells& cells, int orientation);

// EmptyRect for no cells.
CLRect BoundsOf(const Cells& cells);

const Cells& Glider();
const Cells& RPentomino();

}  // namespace tessera::test
