#pragma once
// CGrowableUniverse: live cells as rows sorted by y, each an ascending array of x, carved out of a row
// heap, plus an ordered overlay of pending single-cell edits folded into the rows in bulk.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "engine/point_set.h"
#include "engine/row_heap.h"
#include "engine/universe.h"

namespace tessera {

class CBitField;
class CGrowListener;
class CPackedTiles;
struct CGrowStatistics;

// How Grow computes the next generation: the row sweep, or word-wide arithmetic on bit tiles that a
// grown generation carries on to the next step. Both give the same generations, signatures and
// listener calls.
enum class EGrowthEngine { Rows, Tiles };
void SetGrowthEngine(EGrowthEngine engine);
EGrowthEngine GrowthEngine();

class CGrowableUniverse : public CUniverse {
public:
    // Generation 0, no cells, the default rule.
    CGrowableUniverse();
    // The given generation; the rule and cells of source, or the default rule and no cells.
    CGrowableUniverse(int32_t generation, CUniverse* source);
    // Generation, rule, cells and modified flag of source.
    explicit CGrowableUniverse(CUniverse& source);
    CGrowableUniverse(CGrowableUniverse& source) : CGrowableUniverse(static_cast<CUniverse&>(source)) {}
    CGrowableUniverse(const CGrowableUniverse&) = delete;  // copying folds the source's pending edits
    // Generation 0, the rule of source, its cells passed through transform.
    CGrowableUniverse(CUniverse& source, const CTransform& transform);
    ~CGrowableUniverse() override;

    // Universe objects come from the "CGrowableUniverse" pool.
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size) noexcept;

    // A new empty universe with this rule and the given generation.
    [[nodiscard]] std::unique_ptr<CGrowableUniverse> NewSibling(int32_t generation) const;

    bool IsGrowable() const override { return true; }
    CGrowableUniverse& GetGrowable() override { return *this; }
    [[nodiscard]] std::unique_ptr<CGrowableUniverse> Clone() override;
    uint32_t GetSignature() override;
    bool SetCell(int32_t x, int32_t y) override;
    bool ClearCell(int32_t x, int32_t y) override;
    bool IsAlive(int32_t x, int32_t y) override;
    CLPoint FirstCellIn(const CLRect& area) override;
    CLPoint FirstCell() override;
    [[nodiscard]] std::unique_ptr<CGrowableUniverse> Grow(CGrowListener* listener) override;
    int CheckGrowable() override;
    CLRect GetBounds() override;
    [[nodiscard]] ExplorePtr ExploreArea(const CLRect& area) override;
    [[nodiscard]] ExplorePtr ExploreAll() override;
    [[nodiscard]] ExplorePtr ExploreSorted() override { return ExploreAll(); }
    [[nodiscard]] ExploreRowPtr ExploreRows(const CLRect& area) override;
    [[nodiscard]] ExploreRowPtr ExploreAllRows() override { return ExploreRows(UniverseLimits); }
    void RenderBits(uint8_t* buffer, const CLRect& rect, int bytesPerLine, int scale) override;
    void Consolidate() override;

    // Adds cells given in ascending (y, x) order, repeats allowed, in one pass over the rows: the road
    // for readers that collect a file's cells first (single edits cost a search each). A cell outside
    // the plane or a row grown beyond a row's room is refused (CErrorException) and nothing changes.
    void AddSortedCells(const CLPoint* cells, size_t count);

    // True when other holds the cells of this universe shifted by offset. The caller has compared
    // populations and bounds sizes.
    bool IsShiftOf(CUniverse& other, CLSize offset);

    // Growth by the row sweep, which also counts the windows it visits (for measurements).
    [[nodiscard]] std::unique_ptr<CGrowableUniverse> Grow(CGrowListener* listener,
                                                          CGrowStatistics* statistics);
    // Growth on bit tiles: read from the rows, or taken over from the step that made this generation.
    [[nodiscard]] std::unique_ptr<CGrowableUniverse> GrowWithTiles(CGrowListener* listener);
    bool HoldsTiles() const { return field_ != nullptr; }
    // False for a generation grown on tiles whose rows nothing has read yet.
    bool HoldsRows() const { return !rowsMissing_; }

    uint32_t MaxRowPopulation() {
        MakeRows();
        return maxRowPopulation_;
    }
    uint32_t RowCount() const { return rowCount_; }
    uint32_t PendingEditCount() const { return pending_ ? pending_->Count() : 0; }
    uint32_t RowHeapBlockCount() const { return rowHeap_.BlockCount(); }
    uint32_t RowHeapDefaultCapacity() const { return rowHeap_.DefaultCapacity(); }
    // The first row (after consolidation by the caller), for sweeps over the rows.
    const CRow* FirstRow() const { return firstRow_; }

private:
    friend class CRowBuilder;
    // A generation grown on tiles gets its rows the first time anything reads them.
    void MakeRows() {
        if (rowsMissing_) MakeRowsFromTiles();
    }
    void MakeRowsFromTiles();
    // Tiles holding this generation's cells, made from its packed cells, its stretch or its rows.
    std::unique_ptr<CBitField> TilesOfCells() const;
    // No cells, the given rule and generation.
    CGrowableUniverse(RuleCode code, int32_t generation);

    void ResetCells();
    void RecomputeBoundsFromRows();
    void CopyCellsFrom(CExploreContext& cells);
    // Exchanges the rows and their totals (population, counts, bounds) with other.
    void SwapRows(CGrowableUniverse& other);
    // Consolidates when the overlay is full and makes sure one exists.
    CPointSet& PreparePendingEdits();
    bool RowsHold(int32_t x, int32_t y);
    const CRow* FindRow(int32_t y);
    // Refuses (CErrorException RowTooLong) an added cell that would make row y longer than a row can be.
    void CheckRowRoom(int32_t y);

    CRow* firstRow_ = nullptr;
    CRowHeap rowHeap_;
    std::unique_ptr<CPointSet> pending_;
    // This generation's cells as bit tiles, kept for the next step; dropped by any edit.
    std::unique_ptr<CBitField> field_;
    // Without rows, the cells are in field_ until it moves on to the next generation. Then most
    // generations of a long growth, which are trimmed unread, keep only the way to remake them:
    // replaySteps_ steps under replayRule_ from the cells of an earlier generation (replayBase_, shared
    // by a stretch of at most kReplayStretch generations); the last of a stretch keeps its cells in
    // packed_. Population, row count and bounds are exact all the same; maxRowPopulation_ is only a
    // bound (no row holds more) until the rows are made. Packing a generation costs about two steps of
    // it, and the game keeps one generation in fifty of a long growth: a stretch of 32 packs half as
    // often as one of 16, while reading a kept generation stays a matter of a few dozen steps.
    static constexpr uint32_t kReplayStretch = 32;
    std::shared_ptr<const CPackedTiles> packed_;
    std::shared_ptr<const CPackedTiles> replayBase_;
    uint32_t replaySteps_ = 0;
    RuleCode replayRule_ = 0;
    bool rowsMissing_ = false;
    uint32_t maxRowPopulation_ = 0;
    uint32_t rowCount_ = 0;
    const CRow* cursor_ = nullptr;
};

// Appends rows in ascending y to a universe whose cells were reset, keeping its totals.
class CRowBuilder {
public:
    explicit CRowBuilder(CGrowableUniverse& universe) : universe_(universe) {}
    CRow* Reserve(int32_t y, uint32_t need) { return universe_.rowHeap_.Reserve(y, need); }
    void Append(CRow* row);
    // Sets the top and bottom bounds and trims the heap, or frees it when no cell was appended.
    void Finish();

private:
    CGrowableUniverse& universe_;
    CRow* last_ = nullptr;
};

inline void CRowBuilder::Append(CRow* row) {
    if (!universe_.rowHeap_.Commit(row)) return;
    if (last_)
        last_->next = row;
    else
        universe_.firstRow_ = row;
    last_ = row;
    universe_.rowCount_ += 1;
    universe_.population_ += row->count;
    CLRect& bounds = universe_.bounds_;
    bounds.left = std::min(bounds.left, row->Cells()[0]);
    bounds.right = std::max(bounds.right, row->Cells()[row->count - 1] + 1);
    universe_.maxRowPopulation_ = std::max(universe_.maxRowPopulation_, row->count);
}

}  // namespace tessera
