#include "support/cells.h"

#include <algorithm>

namespace tessera {
void PrintTo(const CLPoint& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
}  // namespace tessera

namespace tessera::test {

Cells CellsOf(CUniverse& universe) {
    Cells cells;
    ExplorePtr e = RequireExploration(universe.ExploreAll());
    while (e->Next()) cells.insert(e->Current());
    return cells;
}

std::vector<CLPoint> SequenceOf(CExploreContext& e) {
    std::vector<CLPoint> cells;
    while (e.Next()) cells.push_back(e.Current());
    return cells;
}

std::unique_ptr<CGrowableUniverse> MakeUniverse(const Cells& cells, RuleCode rule) {
    auto u = std::make_unique<CGrowableUniverse>();
    u->SetRuleCode(rule);
    for (const CLPoint& p : cells) u->SetCell(p.x, p.y);
    return u;
}

Cells CellsFromPicture(std::string_view picture, int32_t left, int32_t top) {
    Cells cells;
    int32_t x = left, y = top;
    for (char c : picture) {
        if (c == '\n') {
            x = left;
            ++y;
            continue;
        }
        if (c == '*' || c == 'O') cells.insert({x, y});
        ++x;
    }
    return cells;
}

Cells RandomSoup(std::mt19937& rng, int32_t left, int32_t top, int width, int height, double density) {
    std::bernoulli_distribution alive(density);
    Cells cells;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (alive(rng)) cells.insert({left + x, top + y});
        }
    }
    return cells;
}

Cells Shifted(const Cells& cells, int32_t dx, int32_t dy) {
    Cells out;
    for (const CLPoint& p : cells) out.insert({p.x + dx, p.y + dy});
    return out;
}

Cells Normalised(const Cells& cells) {
    if (cells.empty()) return cells;
    const CLRect box = BoundsOf(cells);
    return Shifted(cells, -box.left, -box.top);
}

Cells Turned(const Cells& cells, int orientation) {
    Cells out;
    for (const CLPoint& p : cells) {
        const int32_t x = p.x, y = p.y;
        const CLPoint images[8] = {{x, y}, {-y, x}, {-x, -y}, {y, -x}, {-y, -x}, {x, -y}, {y, x}, {-x, y}};
        out.insert(images[orientation]);
    }
    return out;
}

CLRect BoundsOf(const Cells& cells) {
    CLRect r = EmptyRect;
    for (const CLPoint& p : cells) {
        r.left = std::min(r.left, p.x);
        r.right = std::max(r.right, p.x + 1);
        r.top = std::min(r.top, p.y);
        r.bottom = std::max(r.bottom, p.y + 1);
    }
    return r;
}

const Cells& Glider() {
    static const Cells glider = CellsFromPicture(".*\n..*\n***");
    return glider;
}

const Cells& RPentomino() {
    static const Cells r = CellsFromPicture(".**\n**\n.*");
    return r;
}

}  // namespace tessera::test
