#pragma once
// Explorations over the rows of a growable universe. They read the rows in place, so the universe must
// not be edited, consolidated or destroyed while one of them is alive.
#include "engine/explore.h"
#include "engine/row_heap.h"

namespace tessera {

// Every cell: rows in ascending y, cells in ascending x.
class CExploreCtxAll : public CExplorePrimCtx {
public:
    explicit CExploreCtxAll(const CRow* first) : row_(first), position_(first ? first->Cells() : nullptr) {}
    bool Next() override;

protected:
    const CRow* row_;
    const int32_t* position_;
};

// The cells with left <= x < right and top <= y < bottom, in the same order.
class CExploreCtxArea : public CExploreCtxAll {
public:
    CExploreCtxArea(const CRow* first, const CLRect& area);
    bool Next() override;

private:
    CLRect area_;
};

// Row by row inside an area.
class CExploreRowCtx : public CExploreRowContext {
public:
    CExploreRowCtx(const CRow* first, const CLRect& area) : area_(area), first_(first) {}
    bool NextCell() override;
    bool NextRow() override;
    CLPoint Current() const override { return {x_, y_}; }
    bool AtEnd() const override { return CLPoint{x_, y_} == kExploreEndPoint; }
    bool RowEnd() const override { return x_ == kRowEndX; }

private:
    CLRect area_;
    const CRow* first_;
    const CRow* row_ = nullptr;
    const int32_t* position_ = nullptr;
    int32_t x_ = kExploreStartPoint.x;
    int32_t y_ = kExploreStartPoint.y;
    bool started_ = false;
};

// The first cell of the row with x >= left (the end marker when there is none).
const int32_t* FirstCellFrom(const CRow* row, int32_t left);

}  // namespace tessera
