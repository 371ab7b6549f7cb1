#include "engine/growable_explore.h"

#include <algorithm>

namespace tessera {

static_assert(sizeof(CExploreCtxArea) <= kExplorationSlotSize);
static_assert(sizeof(CExploreRowCtx) <= kExplorationSlotSize);

const int32_t* FirstCellFrom(const CRow* row, int32_t left) {
    return std::lower_bound(row->Cells(), row->End(), left);
}

bool CExploreCtxAll::Next() {
    if (!row_) {
        current_ = kExploreEndPoint;
        return false;
    }
    if (*position_ == kRowEndMarker) {
        row_ = row_->next;
        if (!row_) {
            current_ = kExploreEndPoint;
            return false;
        }
        position_ = row_->Cells();
    }
    current_ = {*position_++, row_->y};
    return true;
}

CExploreCtxArea::CExploreCtxArea(const CRow* first, const CLRect& area) : CExploreCtxAll(first), area_(area) {
    while (row_ && row_->y < area_.top) row_ = row_->next;
    if (row_ && row_->y >= area_.bottom) row_ = nullptr;
    position_ = row_ ? FirstCellFrom(row_, area_.left) : nullptr;
}

bool CExploreCtxArea::Next() {
    if (row_ && *position_ >= area_.right) {
        for (;;) {
            row_ = row_->next;
            if (!row_ || row_->y >= area_.bottom) {
                row_ = nullptr;
                break;
            }
            position_ = FirstCellFrom(row_, area_.left);
            if (*position_ < area_.right) break;
        }
    }
    if (!row_) {
        current_ = kExploreEndPoint;
        return false;
    }
    current_ = {*position_++, row_->y};
    return true;
}

bool CExploreRowCtx::NextRow() {
    if (!started_) {
        started_ = true;
        row_ = first_;
        while (row_ && row_->y < area_.top) row_ = row_->next;
    } else if (row_) {
        row_ = row_->next;
    }
    for (; row_ && row_->y < area_.bottom; row_ = row_->next) {
        position_ = FirstCellFrom(row_, area_.left);
        if (*position_ < area_.right) {
            y_ = row_->y;
            x_ = kExploreStartPoint.x;
            return true;
        }
    }
    row_ = nullptr;
    x_ = kExploreEndPoint.x;
    y_ = kExploreEndPoint.y;
    return false;
}

bool CExploreRowCtx::NextCell() {
    if (row_ && *position_ < area_.right) {
        x_ = *position_++;
        return true;
    }
    x_ = kRowEndX;
    return false;
}

}  // namespace tessera
