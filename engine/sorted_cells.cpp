// Adding many cells at once: the new cells are merged into the rows as a consolidation merges the
// pending edits, without the ordered overlay in between.
#include <algorithm>
#include <cstring>

#include "engine/growable_universe.h"
#include "foundation/errors.h"
#include "foundation/messages.h"

namespace tessera {
namespace {

// The distinct cells of an old row (ascending) merged with new ones (ascending, repeats allowed).
uint64_t MergedCount(const int32_t* old, uint32_t oldCount, const CLPoint* cells, size_t count) {
    uint64_t merged = 0;
    uint32_t i = 0;
    size_t j = 0;
    while (i < oldCount || j < count) {
        const int32_t next = j == count || (i < oldCount && old[i] <= cells[j].x) ? old[i] : cells[j].x;
        while (i < oldCount && old[i] == next) ++i;
        while (j < count && cells[j].x == next) ++j;
        ++merged;
    }
    return merged;
}

}  // namespace

void CGrowableUniverse::AddSortedCells(const CLPoint* cells, size_t count) {
    if (count == 0) return;
    Consolidate();

    const uint64_t estimate = population_ + count + (uint64_t{rowCount_} + count) * kRowOverheadWords;
    CRowHeap newHeap;
    newHeap.Create(static_cast<uint32_t>(std::min<uint64_t>(estimate, kMaxBlockWords)));

    // The old rows stay readable (and are restored if anything fails) until the new ones are complete.
    CRowHeap oldHeap = std::move(rowHeap_);
    const CRow* oldRow = firstRow_;
    const CRow* const oldFirst = firstRow_;
    const uint32_t oldPopulation = population_, oldRowCount = rowCount_, oldMaxRow = maxRowPopulation_;
    const CLRect oldBounds = bounds_;
    rowHeap_ = std::move(newHeap);
    firstRow_ = nullptr;
    cursor_ = nullptr;
    population_ = 0;
    rowCount_ = 0;
    maxRowPopulation_ = 0;
    bounds_ = EmptyRect;

    try {
        CRowBuilder builder(*this);
        size_t next = 0;
        while (oldRow || next < count) {
            if (oldRow && (next == count || oldRow->y < cells[next].y)) {
                CRow* row = builder.Reserve(oldRow->y, oldRow->count);
                std::memcpy(row->Cells(), oldRow->Cells(), sizeof(int32_t) * oldRow->count);
                row->count = oldRow->count;
                builder.Append(row);
                oldRow = oldRow->next;
                continue;
            }
            const int32_t y = cells[next].y;
            size_t end = next;
            while (end < count && cells[end].y == y) ++end;
            // The row's cells ascend, so its two ends decide whether all of them lie in the plane.
            if (!UniverseLimits.Contains(cells[next]) || !UniverseLimits.Contains(cells[end - 1]))
                throw CErrorException(msg::CellOutsideUniverse);
            const bool merging = oldRow && oldRow->y == y;
            const int32_t* old = merging ? oldRow->Cells() : nullptr;
            const uint32_t oldCount = merging ? oldRow->count : 0;
            // Room for every cell given, unless that could pass a row's room: then the exact count.
            uint64_t room = uint64_t{oldCount} + (end - next);
            if (room > kMaxRowCells) room = MergedCount(old, oldCount, cells + next, end - next);
            if (room > kMaxRowCells) throw CErrorException(msg::RowTooLong);
            CRow* row = builder.Reserve(y, static_cast<uint32_t>(room));
            int32_t* out = row->Cells();
            uint32_t i = 0;
            size_t j = next;
            while (i < oldCount || j < end) {
                const int32_t x = j == end || (i < oldCount && old[i] <= cells[j].x) ? old[i] : cells[j].x;
                while (i < oldCount && old[i] == x) ++i;
                while (j < end && cells[j].x == x) ++j;
                *out++ = x;
            }
            row->count = static_cast<uint32_t>(out - row->Cells());
            builder.Append(row);
            if (merging) oldRow = oldRow->next;
            next = end;
        }
        builder.Finish();
    } catch (...) {
        rowHeap_ = std::move(oldHeap);
        firstRow_ = const_cast<CRow*>(oldFirst);
        cursor_ = nullptr;
        population_ = oldPopulation;
        rowCount_ = oldRowCount;
        maxRowPopulation_ = oldMaxRow;
        bounds_ = oldBounds;
        throw;
    }
    signature_ = 0;
}

}  // namespace tessera
