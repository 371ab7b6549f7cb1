#include "engine/growable_universe.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "engine/bit_field.h"
#include "engine/growable_explore.h"
#include "engine/packed_tiles.h"
#include "foundation/errors.h"
#include "foundation/far_pool.h"
#include "foundation/messages.h"
#include "rules/rules.h"

namespace tessera {
namespace {

// Pending edits are folded into the rows once the overlay holds this many nodes.
constexpr uint32_t kMaxPendingEdits = 20000;
// A generation with a longer row is too big to grow.
constexpr int64_t kLongestGrowableRow = 30000;

CFarPool& GrowableUniversePool() {
    static CFarPool pool(100, sizeof(CGrowableUniverse), "CGrowableUniverse");
    return pool;
}

// Cells must stay inside UniverseLimits: larger coordinates collide with the row end marker and the
// values of the empty rectangle.
bool InsideUniverse(int32_t x, int32_t y) { return UniverseLimits.Contains({x, y}); }

}  // namespace

void* CGrowableUniverse::operator new(std::size_t size) {
    // Derived universes larger than a pool element come from the general allocator.
    if (size > GrowableUniversePool().ElementSize()) return ::operator new(size);
    return GrowableUniversePool().Allocate();
}

void CGrowableUniverse::operator delete(void* p, std::size_t size) noexcept {
    if (!p) return;
    if (size > GrowableUniversePool().ElementSize()) {
        ::operator delete(p);
        return;
    }
    GrowableUniversePool().Free(p);
}

CGrowableUniverse::CGrowableUniverse() { ruleCode_ = DefaultRuleCode(); }

CGrowableUniverse::CGrowableUniverse(int32_t generation, CUniverse* source) {
    generation_ = generation;
    ruleCode_ = source ? source->GetRuleCode() : DefaultRuleCode();
    if (source) CopyCellsFrom(*RequireExploration(source->ExploreAll()));
}

CGrowableUniverse::CGrowableUniverse(CUniverse& source) {
    generation_ = source.Generation();
    ruleCode_ = source.GetRuleCode();
    CopyCellsFrom(*RequireExploration(source.ExploreAll()));
    modified_ = source.IsModified();
}

CGrowableUniverse::CGrowableUniverse(CUniverse& source, const CTransform& transform) {
    ruleCode_ = source.GetRuleCode();
    CopyCellsFrom(*RequireExploration(Transformed(RequireExploration(source.ExploreAll()), transform)));
}

CGrowableUniverse::~CGrowableUniverse() = default;

CGrowableUniverse::CGrowableUniverse(RuleCode code, int32_t generation) {
    ruleCode_ = code;
    generation_ = generation;
}

// Made once per generation: the default rule (a parameter's text) is not read for it.
std::unique_ptr<CGrowableUniverse> CGrowableUniverse::NewSibling(int32_t generation) const {
    return std::unique_ptr<CGrowableUniverse>(new CGrowableUniverse(ruleCode_, generation));
}

std::unique_ptr<CGrowableUniverse> CGrowableUniverse::Clone() {
    return std::make_unique<CGrowableUniverse>(static_cast<CUniverse&>(*this));
}

void CGrowableUniverse::ResetCells() {
    pending_.reset();
    field_.reset();
    packed_.reset();
    replayBase_.reset();
    rowsMissing_ = false;
    rowHeap_.Free();
    firstRow_ = nullptr;
    cursor_ = nullptr;
    population_ = 0;
    rowCount_ = 0;
    maxRowPopulation_ = 0;
    signature_ = 0;
    bounds_ = EmptyRect;
}

// Cells are entered as single edits: a transform outside the eight orientations sends every cell to
// one point, so the exploration may yield a cell more than once.
void CGrowableUniverse::CopyCellsFrom(CExploreContext& cells) {
    ResetCells();
    modified_ = false;
    // Cells are merged into the rows in sorted batches: one by one, each would cost a search of the
    // pending edits. A batch is merged once it has outgrown the rows, which keeps the copy linear.
    constexpr size_t kMinBatch = size_t{1} << 16;
    std::vector<CLPoint> batch;
    bool sorted = true;
    auto merge = [&] {
        if (!sorted)
            std::sort(batch.begin(), batch.end(),
                      [](const CLPoint& a, const CLPoint& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
        AddSortedCells(batch.data(), batch.size());
        batch.clear();
        sorted = true;
    };
    while (cells.Next()) {
        const CLPoint p = cells.Current();
        if (!batch.empty() && (p.y < batch.back().y || (p.y == batch.back().y && p.x < batch.back().x)))
            sorted = false;
        batch.push_back(p);
        if (batch.size() >= kMinBatch && batch.size() >= population_) merge();
    }
    if (!batch.empty()) merge();
}

CPointSet& CGrowableUniverse::PreparePendingEdits() {
    if (pending_ && pending_->Count() >= kMaxPendingEdits) Consolidate();
    if (!pending_) pending_ = std::make_unique<CPointSet>();
    return *pending_;
}

const CRow* CGrowableUniverse::FindRow(int32_t y) {
    if (!cursor_ || cursor_->y > y) cursor_ = firstRow_;
    for (const CRow* row = cursor_; row; row = row->next) {
        if (row->y < y) {
            cursor_ = row;
            continue;
        }
        return row->y == y ? row : nullptr;
    }
    return nullptr;
}

bool CGrowableUniverse::RowsHold(int32_t x, int32_t y) {
    const CRow* row = FindRow(y);
    if (!row) return false;
    uint32_t lo = 0, hi = row->count;
    const int32_t* cells = row->Cells();
    while (lo < hi) {
        const uint32_t mid = (lo + hi) / 2;
        if (cells[mid] == x) return true;
        if (x < cells[mid])
            hi = mid;
        else
            lo = mid + 1;
    }
    return false;
}

void CGrowableUniverse::CheckRowRoom(int32_t y) {
    const uint32_t pending = pending_ ? pending_->Count() : 0;
    if (uint64_t{maxRowPopulation_} + pending < kMaxRowCells) return;  // no row can reach the limit yet
    const CRow* row = FindRow(y);
    const int64_t cells = int64_t{row ? row->count : 0u} + (pending_ ? pending_->NetAddedInRow(y) : 0);
    if (cells >= int64_t{kMaxRowCells}) throw CErrorException(msg::RowTooLong);
}

bool CGrowableUniverse::IsAlive(int32_t x, int32_t y) {
    MakeRows();
    if (pending_) {
        const EPointState state = pending_->StateOf({x, y});
        if (state != EPointState::None) return state == EPointState::Added;
    }
    return RowsHold(x, y);
}

// The overlay is prepared (and perhaps folded into the rows) before the bounds are touched, so that a
// consolidation cannot lose the bounds change of this edit.
bool CGrowableUniverse::SetCell(int32_t x, int32_t y) {
    if (!InsideUniverse(x, y)) throw CErrorException(msg::CellOutsideUniverse);
    MakeRows();
    CPointSet& pending = PreparePendingEdits();
    bool changed;
    if (RowsHold(x, y)) {
        changed = pending.Record({x, y}, EPointState::None) == EPointState::Removed;
    } else {
        if (pending.StateOf({x, y}) == EPointState::Added) return false;
        CheckRowRoom(y);
        changed = pending.Record({x, y}, EPointState::Added) != EPointState::Added;
    }
    if (bounds_.IsValid() || population_ == 0) ExtendBounds(x, y);
    if (changed) {
        ++population_;
        signature_ = 0;
        field_.reset();
    }
    return changed;
}

bool CGrowableUniverse::ClearCell(int32_t x, int32_t y) {
    if (!InsideUniverse(x, y)) return false;
    MakeRows();
    CPointSet& pending = PreparePendingEdits();
    if (bounds_.IsValid() || population_ == 0) {
        if (x == bounds_.left || x + 1 == bounds_.right || y == bounds_.top || y + 1 == bounds_.bottom) {
            bounds_ = EmptyRect;  // stale until the next consolidation
        }
    }
    bool changed;
    if (RowsHold(x, y)) {
        changed = pending.Record({x, y}, EPointState::Removed) != EPointState::Removed;
    } else {
        changed = pending.Record({x, y}, EPointState::None) == EPointState::Added;
    }
    if (changed) {
        --population_;
        signature_ = 0;
        field_.reset();
    }
    return changed;
}

void CGrowableUniverse::Consolidate() {
    MakeRows();
    if (!pending_) return;
    CPointSet& pending = *pending_;
    if (pending.Count() == 0) {
        // Nothing to fold in; bounds made stale by a cleared edit come straight from the rows.
        RecomputeBoundsFromRows();
        pending_.reset();
        return;
    }
    const uint64_t p = pending.Count();
    uint64_t estimate = population_ + (uint64_t{rowCount_} + p) * kRowOverheadWords + p;
    if (estimate >= kMaxBlockWords)
        estimate = std::min<uint64_t>(maxRowPopulation_ + p + kRowOverheadWords, kMaxBlockWords);

    // The merged rows go to a universe of their own and are swapped in once complete: should anything
    // fail on the way, this universe is left as it was.
    std::unique_ptr<CGrowableUniverse> merged = NewSibling(generation_);
    merged->rowHeap_.Create(static_cast<uint32_t>(estimate));
    CRowBuilder builder(*merged);
    const CRow* oldRow = firstRow_;
    const CPointSetNode* node = pending.First();
    while (oldRow || node) {
        if (oldRow && (!node || oldRow->y < node->Key().y)) {
            CRow* row = builder.Reserve(oldRow->y, oldRow->count);
            std::memcpy(row->Cells(), oldRow->Cells(), sizeof(int32_t) * oldRow->count);
            row->count = oldRow->count;
            builder.Append(row);
            oldRow = oldRow->next;
            continue;
        }
        const int32_t y = node->Key().y;
        const CPointSetNode* rowEndNode = node;
        int64_t netAdded = 0;
        for (; rowEndNode && rowEndNode->Key().y == y; rowEndNode = CPointSet::Next(rowEndNode)) {
            netAdded += rowEndNode->state == EPointState::Added ? 1 : -1;
        }
        const bool merging = oldRow && oldRow->y == y;
        const uint32_t oldCount = merging ? oldRow->count : 0;
        // Exactly the cells the merged row will hold.
        CRow* row = builder.Reserve(y, static_cast<uint32_t>(oldCount + netAdded));
        int32_t* out = row->Cells();
        const int32_t* in = merging ? oldRow->Cells() : nullptr;
        for (uint32_t i = 0; i <= oldCount; ++i) {
            const int32_t v = i < oldCount ? in[i] : kRowEndMarker;
            bool suppressed = false;
            for (; node != rowEndNode && (node->Key().x <= v || i == oldCount);
                 node = CPointSet::Next(node)) {
                if (node->state == EPointState::Added) *out++ = node->Key().x;
                if (node->Key().x == v) suppressed = true;
            }
            if (i < oldCount && !suppressed) *out++ = v;
        }
        row->count = static_cast<uint32_t>(out - row->Cells());
        builder.Append(row);
        if (merging) oldRow = oldRow->next;
    }
    builder.Finish();
    SwapRows(*merged);
    pending_.reset();
}

void CGrowableUniverse::SwapRows(CGrowableUniverse& other) {
    std::swap(rowHeap_, other.rowHeap_);
    std::swap(firstRow_, other.firstRow_);
    std::swap(population_, other.population_);
    std::swap(rowCount_, other.rowCount_);
    std::swap(maxRowPopulation_, other.maxRowPopulation_);
    std::swap(bounds_, other.bounds_);
    cursor_ = nullptr;
    other.cursor_ = nullptr;
}

void CGrowableUniverse::RecomputeBoundsFromRows() {
    bounds_ = EmptyRect;
    const CRow* last = nullptr;
    for (const CRow* row = firstRow_; row; row = row->next) {
        bounds_.left = std::min(bounds_.left, row->Cells()[0]);
        bounds_.right = std::max(bounds_.right, row->Cells()[row->count - 1] + 1);
        last = row;
    }
    if (last) {
        bounds_.top = firstRow_->y;
        bounds_.bottom = last->y + 1;
    }
}

CLRect CGrowableUniverse::GetBounds() {
    if (!bounds_.IsValid() && population_ > 0) Consolidate();
    return bounds_;
}

int CGrowableUniverse::CheckGrowable() {
    if (population_ == 0) return msg::NothingToGrow;
    if (population_ >= 2147483647u) return msg::GameTooBig;
    if (!rowsMissing_) {
        Consolidate();
    } else if (std::min({int64_t{population_}, int64_t{bounds_.right} - bounds_.left,
                         int64_t{maxRowPopulation_}}) > kLongestGrowableRow) {
        MakeRows();  // a row may be too long: only the rows tell
    }
    // Without rows, no row holds more cells than the population, the width or the bound from the
    // tiles, each within the limit.
    const uint32_t longestRow = rowsMissing_ ? 0 : maxRowPopulation_;
    if (longestRow > kLongestGrowableRow || bounds_.left <= -2147483647 || bounds_.right >= 2147483645 ||
        bounds_.top <= -2147483647 || bounds_.bottom >= 2147483645) {
        return msg::GameTooBig;
    }
    if (generation_ >= 2147483647) return msg::GameTooOld;
    return 0;
}

uint32_t CGrowableUniverse::GetSignature() {
    if (signature_ != 0 || population_ == 0) return signature_;
    // A generation on tiles (never one with pending edits) is summed on its tiles.
    if (field_) {
        signature_ = field_->Signature();
        return signature_;
    }
    if (rowsMissing_) {
        signature_ = TilesOfCells()->Signature();
        return signature_;
    }
    Consolidate();
    if (GrowthEngine() == EGrowthEngine::Tiles) {
        // The tiles are kept: the next step of this generation starts from them.
        if (!field_) field_ = std::make_unique<CBitField>(firstRow_);
        signature_ = field_->Signature();
        return signature_;
    }
    (void)Grow(nullptr);  // computes the signature as a by-product; the next generation is not kept
    return signature_;
}

CLPoint CGrowableUniverse::FirstCellIn(const CLRect& area) {
    ExplorePtr cells = RequireExploration(ExploreArea(area));
    return cells->Next() ? cells->Current() : kExploreEndPoint;
}

CLPoint CGrowableUniverse::FirstCell() { return FirstCellIn(GetBounds()); }

ExplorePtr CGrowableUniverse::ExploreAll() {
    Consolidate();
    return ExplorePtr(new CExploreCtxAll(firstRow_));
}

ExplorePtr CGrowableUniverse::ExploreArea(const CLRect& area) {
    Consolidate();
    return ExplorePtr(new CExploreCtxArea(firstRow_, area));
}

ExploreRowPtr CGrowableUniverse::ExploreRows(const CLRect& area) {
    Consolidate();
    return ExploreRowPtr(new CExploreRowCtx(firstRow_, area));
}

bool CGrowableUniverse::IsShiftOf(CUniverse& other, CLSize offset) {
    Consolidate();
    CGrowableUniverse& that = other.GetGrowable();
    that.Consolidate();
    const uint32_t dx = static_cast<uint32_t>(offset.cx), dy = static_cast<uint32_t>(offset.cy);
    const CRow* b = that.firstRow_;
    for (const CRow* a = firstRow_; a; a = a->next, b = b->next) {
        if (!b || a->count != b->count || static_cast<uint32_t>(a->y) != static_cast<uint32_t>(b->y) - dy)
            return false;
        const int32_t* ax = a->Cells();
        const int32_t* bx = b->Cells();
        for (uint32_t i = 0; i < a->count; ++i) {
            if (static_cast<uint32_t>(ax[i]) != static_cast<uint32_t>(bx[i]) - dx) return false;
        }
    }
    return true;
}

std::unique_ptr<CBitField> CGrowableUniverse::TilesOfCells() const {
    if (packed_) return std::make_unique<CBitField>(*packed_);
    if (!rowsMissing_) return std::make_unique<CBitField>(firstRow_);
    auto tiles = std::make_unique<CBitField>(*replayBase_);
    for (uint32_t i = 0; i < replaySteps_; ++i) tiles->Step(replayRule_);
    return tiles;
}

void CGrowableUniverse::MakeRowsFromTiles() {
    std::unique_ptr<CPackedTiles> made;
    const CPackedTiles* cells = packed_.get();
    if (!cells) {
        made = field_ ? field_->Pack() : TilesOfCells()->Pack();
        cells = made.get();
    }
    const uint64_t longestRow = cells->MaxRowPopulation();
    const uint64_t words = uint64_t{population_} + uint64_t{rowCount_} * kRowOverheadWords;
    const uint64_t capacity =
        std::max(std::min<uint64_t>(words, kMaxBlockWords), longestRow + kRowOverheadWords);

    // Built apart and swapped in once complete, as a consolidation is.
    std::unique_ptr<CGrowableUniverse> madeRows = NewSibling(generation_);
    madeRows->rowHeap_.Create(static_cast<uint32_t>(capacity));
    class CSink : public CPackedTiles::CRowSink {
    public:
        explicit CSink(CGrowableUniverse& universe) : builder_(universe) {}
        int32_t* Begin(int32_t y, uint32_t count) override {
            row_ = builder_.Reserve(y, count);
            row_->count = count;
            return row_->Cells();
        }
        void End() override { builder_.Append(row_); }
        CRowBuilder builder_;

    private:
        CRow* row_ = nullptr;
    } sink(*madeRows);
    cells->WriteRows(sink);
    sink.builder_.Finish();
    SwapRows(*madeRows);
    packed_.reset();
    replayBase_.reset();
    rowsMissing_ = false;
}

void CRowBuilder::Finish() {
    if (universe_.population_ == 0) {
        universe_.rowHeap_.Free();
        universe_.firstRow_ = nullptr;
        return;
    }
    universe_.rowHeap_.ShrinkLast();
    universe_.bounds_.top = universe_.firstRow_->y;
    universe_.bounds_.bottom = last_->y + 1;
}

}  // namespace tessera
