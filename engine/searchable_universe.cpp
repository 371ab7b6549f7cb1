#include "engine/searchable_universe.h"

#include <algorithm>

#include "foundation/errors.h"
#include "foundation/messages.h"
#include "rules/rules.h"

namespace tessera {

namespace {

using Allocator = CFarPoolAllocator<CHashEntry<CLPoint>>;

// The cells of a searchable universe in hash order: the order of the non-empty bucket list, each
// chain from its most recently inserted point. The area is recorded only.
class CExpCtxSearchable : public CExploreContext {
public:
    CExpCtxSearchable(CSearchableUniverse::hash_t& cells, const CLRect& area) : walk_(cells), area_(area) {}
    bool Next() override {
        started_ = true;
        return walk_.Next();
    }
    CLPoint Current() const override {
        if (const auto* entry = walk_.Current()) return entry->Point();
        return started_ ? kExploreEndPoint : kExploreStartPoint;
    }
    bool AtEnd() const override { return walk_.AtEnd(); }

private:
    CSearchableUniverse::hash_t::CWalk walk_;
    CLRect area_;
    bool started_ = false;
};
static_assert(sizeof(CExpCtxSearchable) <= kExplorationSlotSize);

}  // namespace

CSearchableUniverse::CSearchableUniverse(int32_t sizeHint) : cells_(sizeHint, Allocator(HashEntryPool())) {
    ruleCode_ = DefaultRuleCode();
}

std::unique_ptr<CSearchableUniverse> CSearchableUniverse::EmptyLike(const CUniverse& like) {
    auto u = std::make_unique<CSearchableUniverse>();
    u->ruleCode_ = like.GetRuleCode();
    return u;
}

CSearchableUniverse::CSearchableUniverse(CUniverse& source)
    : cells_(static_cast<int32_t>(source.Population() / 2), Allocator(HashEntryPool())) {
    ruleCode_ = source.GetRuleCode();
    PasteFrom(*this, source);
}

CSearchableUniverse::CSearchableUniverse(CUniverse& source, const CTransform& transform)
    : cells_(static_cast<int32_t>(source.Population() / 2), Allocator(HashEntryPool())) {
    ruleCode_ = source.GetRuleCode();
    PasteFrom(*this, source, transform);
}

CSearchableUniverse::~CSearchableUniverse() = default;

CGrowableUniverse& CSearchableUniverse::GetGrowable() {
    if (!growable_) growable_ = std::make_unique<CGrowableUniverse>(static_cast<CUniverse&>(*this));
    growable_->SetGeneration(generation_);
    growable_->SetRuleCode(ruleCode_);
    return *growable_;
}

std::unique_ptr<CGrowableUniverse> CSearchableUniverse::Clone() {
    return std::make_unique<CGrowableUniverse>(static_cast<CUniverse&>(*this));
}

void CSearchableUniverse::CellsChanged() {
    growable_.reset();
    signature_ = 0;
}

// The same limits as rows: the bounds one beyond a cell must not overflow, and every cell must fit the
// growable copy.
bool CSearchableUniverse::SetCell(int32_t x, int32_t y) {
    if (!UniverseLimits.Contains({x, y})) throw CErrorException(msg::CellOutsideUniverse);
    if (cells_.Insert({x, y})) return false;
    ++population_;
    if (!boundsStale_) ExtendBounds(x, y);
    CellsChanged();
    return true;
}

bool CSearchableUniverse::ClearCell(int32_t x, int32_t y) {
    if (!cells_.Remove({x, y})) return false;
    --population_;
    bounds_ = EmptyRect;
    boundsStale_ = population_ > 0;
    CellsChanged();
    return true;
}

CLRect CSearchableUniverse::GetBounds() {
    if ((boundsStale_ || !bounds_.IsValid()) && population_ != 0) {
        bounds_ = EmptyRect;
        hash_t::CWalk walk(cells_);
        while (walk.Next()) ExtendBounds(walk.Current()->x, walk.Current()->y);
    }
    boundsStale_ = false;
    return bounds_;
}

ExplorePtr CSearchableUniverse::ExploreArea(const CLRect& area) {
    return ExplorePtr(new CExpCtxSearchable(cells_, area));
}

ExplorePtr CSearchableUniverse::ExploreAll() { return ExploreArea(EmptyRect); }

CLPoint CSearchableUniverse::FirstCellIn(const CLRect& area) {
    ExplorePtr cells = RequireExploration(ExploreArea(area));
    cells->Next();
    return cells->Current();
}

CLPoint CSearchableUniverse::FirstCell() {
    const auto* entry = cells_.First();
    return entry ? entry->Point() : kExploreEndPoint;
}

std::unique_ptr<CUniverse> ConnectedCells(CUniverse& universe, CLPoint start, const CLRect& area) {
    auto result = CSearchableUniverse::EmptyLike(universe);
    if (!universe.IsAlive(start.x, start.y)) return result->Clone();
    auto frontier = CSearchableUniverse::EmptyLike(universe);
    frontier->SetCell(start.x, start.y);
    static constexpr CLSize kOffsets[] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1},
                                          {0, 1},   {1, -1}, {1, 0},  {1, 1}};
    while (frontier->Population() > 0) {
        const CLPoint p = frontier->FirstCellIn(area);
        for (const CLSize& d : kOffsets) {
            const CLPoint q{p.x + d.cx, p.y + d.cy};
            if (!result->IsAlive(q.x, q.y) && !frontier->IsAlive(q.x, q.y) && universe.IsAlive(q.x, q.y) &&
                area.Contains(q)) {
                frontier->SetCell(q.x, q.y);
            }
        }
        result->SetCell(p.x, p.y);
        frontier->ClearCell(p.x, p.y);
    }
    return result;
}

std::unique_ptr<CGrowableUniverse> ObjectsContaining(CUniverse& universe, CUniverse& seeds) {
    CSearchableUniverse work(seeds);
    auto result = std::make_unique<CGrowableUniverse>();
    result->SetRuleCode(universe.GetRuleCode());
    while (work.Population() > 0) {
        const CLPoint p = work.FirstCell();
        std::unique_ptr<CUniverse> object = ConnectedCells(universe, p, UniverseLimits);
        PasteFrom(*result, *object);
        RemoveCellsOf(work, *object);
        // A seed that is dead in universe has an empty object; dropping it keeps the loop finite.
        work.ClearCell(p.x, p.y);
    }
    return result;
}

}  // namespace tessera
