#include "engine/universe.h"

#include <algorithm>
#include <vector>

#include "engine/growable_universe.h"

namespace tessera {

void CUniverse::SetModified(bool) { modified_ = true; }

void CUniverse::ExtendBounds(int32_t x, int32_t y) {
    bounds_.left = std::min(bounds_.left, x);
    bounds_.right = std::max(bounds_.right, x + 1);
    bounds_.top = std::min(bounds_.top, y);
    bounds_.bottom = std::max(bounds_.bottom, y + 1);
}

void CUniverse::Discard() {
    if (useCount_ <= 0) {
        delete this;
        return;
    }
    discardPending_ = true;
    DiscardedUniverses().PushBack(this);  // takes it out of the deque that held it
}

void CUniverse::Release() {
    --useCount_;
    if (useCount_ <= 0 && discardPending_) {
        Unlink();
        delete this;
    }
}

CDeque<CUniverse>& DiscardedUniverses() {
    static CDeque<CUniverse> discarded;
    return discarded;
}

void DestroyDiscardedUniverses() { DiscardedUniverses().DeleteAll(); }

namespace {

// A paste either completes or, when a cell is refused, takes back every cell it set.
class CPasteUndo {
public:
    CPasteUndo(CUniverse& target, CUniverse* collisions) : target_(target), collisions_(collisions) {}
    void Set(CLPoint p) {
        if (target_.SetCell(p.x, p.y)) {
            setInTarget_.push_back(p);
        } else if (collisions_ && collisions_->SetCell(p.x, p.y)) {
            setInCollisions_.push_back(p);
        }
    }
    void TakeBack() noexcept {
        try {
            for (auto it = setInTarget_.rbegin(); it != setInTarget_.rend(); ++it)
                target_.ClearCell(it->x, it->y);
            for (auto it = setInCollisions_.rbegin(); it != setInCollisions_.rend(); ++it) {
                collisions_->ClearCell(it->x, it->y);
            }
        } catch (...) {
            // Taking back can only fail for want of memory; the first failure is the one reported.
        }
    }

private:
    CUniverse& target_;
    CUniverse* collisions_;
    std::vector<CLPoint> setInTarget_;
    std::vector<CLPoint> setInCollisions_;
};

}  // namespace

void PasteFromExploration(CUniverse& target, CExploreContext& cells, CUniverse* collisions) {
    CPasteUndo paste(target, collisions);
    try {
        while (cells.Next()) paste.Set(cells.Current());
    } catch (...) {
        paste.TakeBack();
        throw;
    }
    target.SetModified(true);
}

namespace {

// Editing a universe while exploring it would pull its rows away under the exploration; a universe
// pasted into (or removed from) itself is read from a copy.
class CStableSource {
public:
    CStableSource(CUniverse& source, const CUniverse& target, const CUniverse* collisions)
        : source_(&source) {
        if (&source == &target || &source == collisions) {
            copy_ = std::make_unique<CGrowableUniverse>(source);
            source_ = copy_.get();
        }
    }
    CUniverse& operator*() const { return *source_; }

private:
    CUniverse* source_;
    GrowablePtr copy_;
};

}  // namespace

void PasteFrom(CUniverse& target, CUniverse& source, CUniverse* collisions) {
    CStableSource from(source, target, collisions);
    PasteFromExploration(target, *RequireExploration((*from).ExploreAll()), collisions);
}

void PasteFrom(CUniverse& target, CUniverse& source, const CLRect& area, CUniverse* collisions) {
    CStableSource from(source, target, collisions);
    PasteFromExploration(target, *RequireExploration((*from).ExploreArea(area)), collisions);
}

void PasteFrom(CUniverse& target, CUniverse& source, const CTransform& transform, CUniverse* collisions) {
    CStableSource from(source, target, collisions);
    PasteFromExploration(
        target, *RequireExploration(Transformed(RequireExploration((*from).ExploreAll()), transform)),
        collisions);
}

void RemoveCellsOf(CUniverse& target, CUniverse& source) {
    CStableSource from(source, target, nullptr);
    ExplorePtr cells = RequireExploration((*from).ExploreAll());
    while (cells->Next()) target.ClearCell(cells->Current().x, cells->Current().y);
}

void RemoveCellsOf(CUniverse& target, CUniverse& source, const CTransform& transform) {
    CStableSource from(source, target, nullptr);
    ExplorePtr cells = RequireExploration(Transformed(RequireExploration((*from).ExploreAll()), transform));
    while (cells->Next()) target.ClearCell(cells->Current().x, cells->Current().y);
}

namespace {
bool Before(CLPoint a, CLPoint b) { return a.y != b.y ? a.y < b.y : a.x < b.x; }
void SetInto(CUniverse* target, CLPoint p) {
    if (target) target->SetCell(p.x, p.y);
}
}  // namespace

void Difference(CExploreContext& a, CExploreContext& b, CUniverse* onlyA, CUniverse* onlyB, CUniverse* both) {
    bool haveA = a.Next();
    bool haveB = b.Next();
    while (haveA || haveB) {
        const CLPoint pa = a.Current(), pb = b.Current();
        if (haveA && haveB && pa == pb) {
            SetInto(both, pa);
            haveA = a.Next();
            haveB = b.Next();
        } else if (haveA && (!haveB || Before(pa, pb))) {
            SetInto(onlyA, pa);
            haveA = a.Next();
        } else {
            SetInto(onlyB, pb);
            haveB = b.Next();
        }
    }
}

void Difference(CUniverse& universe, CUniverse& other, CUniverse& onlyThis) {
    // The merge needs (y, x) order, which a hashed universe gives only through its sorted exploration.
    ExplorePtr a = RequireExploration(universe.ExploreSorted());
    ExplorePtr b = RequireExploration(other.ExploreSorted());
    Difference(*a, *b, &onlyThis, nullptr, nullptr);
}

void Difference(CUniverse& universe, CUniverse& other, const CLRect& area, CUniverse& onlyThis) {
    ExplorePtr a = RequireExploration(universe.GetGrowable().ExploreArea(area));
    ExplorePtr b = RequireExploration(other.GetGrowable().ExploreArea(area));
    Difference(*a, *b, &onlyThis, nullptr, nullptr);
}

GrowablePtr Minus(CUniverse& universe, CUniverse& other) {
    auto result = std::make_unique<CGrowableUniverse>();
    result->SetRuleCode(universe.GetRuleCode());
    Difference(universe, other, *result);
    return result;
}

namespace {
int64_t Width(const CLRect& r) { return int64_t{r.right} - r.left; }
int64_t Height(const CLRect& r) { return int64_t{r.bottom} - r.top; }
int32_t WrappingDifference(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
}  // namespace

bool IsSameUniverse(CUniverse& a, CUniverse& b, CLSize& offset) {
    const CLRect ra = a.GetBounds(), rb = b.GetBounds();
    if (Width(ra) != Width(rb) || Height(ra) != Height(rb) || a.Population() != b.Population()) return false;
    offset = {WrappingDifference(rb.left, ra.left), WrappingDifference(rb.top, ra.top)};
    return a.GetGrowable().IsShiftOf(b, offset);
}

bool IsSameUniverse(CUniverse& a, CUniverse& b) {
    CLSize offset;
    const CLRect ra = a.GetBounds(), rb = b.GetBounds();
    if (ra.left != rb.left || ra.top != rb.top) return false;
    return IsSameUniverse(a, b, offset) && offset == CLSize{0, 0};
}

}  // namespace tessera
