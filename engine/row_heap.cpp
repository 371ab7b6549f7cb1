#include "engine/row_heap.h"

#include <utility>

#include "foundation/block_heap.h"
#include "foundation/errors.h"
#include "foundation/memory_recovery.h"
#include "foundation/messages.h"

namespace tessera {

CRowHeap::CRowHeap(CRowHeap&& other) noexcept
    : first_(std::exchange(other.first_, nullptr)), last_(std::exchange(other.last_, nullptr)) {}

CRowHeap& CRowHeap::operator=(CRowHeap&& other) noexcept {
    if (this != &other) {
        Free();
        first_ = std::exchange(other.first_, nullptr);
        last_ = std::exchange(other.last_, nullptr);
    }
    return *this;
}

// The block heap hands out 4n + 20 bytes for n cells; one more cell makes room for the wider link of
// the block header.
CRowHeap::CBlock* CRowHeap::NewBlock(uint32_t capacity, uint32_t defaultCapacity) {
    auto* block = static_cast<CBlock*>(GuardedRowHeapAlloc(capacity + 1));
    block->capacity = capacity;
    block->used = 0;
    block->reserved = 0;
    block->defaultCapacity = defaultCapacity;
    block->next = nullptr;
    return block;
}

void CRowHeap::Create(uint32_t capacity) {
    Free();
    first_ = last_ = NewBlock(capacity, capacity);
}

void CRowHeap::Free() {
    for (CBlock* block = first_; block;) {
        CBlock* next = block->next;
        TheBlockHeap().Free(block);
        block = next;
    }
    first_ = last_ = nullptr;
}

CRow* CRowHeap::ReserveInNewBlock(int32_t y, uint32_t need) {
    ShrinkLast();
    CBlock* block = NewBlock(last_->defaultCapacity, last_->defaultCapacity);
    last_->next = block;
    last_ = block;
    CRow* row = TryReserve(block, y, need);
    // Callers size blocks for their longest row; a row that cannot fit even a fresh block is refused.
    if (!row) throw CErrorException(msg::RowTooLong);
    return row;
}

void CRowHeap::ShrinkLast() {
    if (!last_ || last_->used == last_->capacity) return;
    if (TheBlockHeap().Shrink(last_, 4 * (last_->used + 1) + 20)) last_->capacity = last_->used;
}

uint32_t CRowHeap::BlockCount() const {
    uint32_t n = 0;
    for (CBlock* block = first_; block; block = block->next) ++n;
    return n;
}

uint32_t CRowHeap::DefaultCapacity() const { return first_ ? first_->defaultCapacity : 0; }

}  // namespace tessera
