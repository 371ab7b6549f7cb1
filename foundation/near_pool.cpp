#include "foundation/near_pool.h"

#include <new>

#include "foundation/errors.h"

namespace tessera {

void CNearPool::CAlignedDelete::operator()(std::byte* p) const {
    ::operator delete[](p, std::align_val_t{kSlotAlignment});
}

CNearPool::CNearPool(uint32_t slotCount, size_t slotSize)
    : freeCount_(slotCount),
      slotCount_(slotCount),
      slotSize_(((slotSize == 0 ? 1 : slotSize) + kSlotAlignment - 1) / kSlotAlignment * kSlotAlignment) {
    slots_.reset(static_cast<std::byte*>(
        ::operator new[](slotCount_* slotSize_ + 1, std::align_val_t{kSlotAlignment})));
    // Thread from the last slot down, so the first slot is taken first.
    for (uint32_t i = slotCount_; i-- > 0;) {
        auto* s = reinterpret_cast<CFreeSlot*>(slots_.get() + i * slotSize_);
        s->next = freeList_;
        freeList_ = s;
    }
}

void* CNearPool::Take() {
    if (!freeList_) return nullptr;
    CFreeSlot* s = freeList_;
    freeList_ = s->next;
    --freeCount_;
    return s;
}

void CNearPool::Give(void* slot) {
    if (!slot) return;
    const auto address = reinterpret_cast<uintptr_t>(slot);
    const auto base = reinterpret_cast<uintptr_t>(slots_.get());
    if (address < base || address - base >= slotCount_ * slotSize_ || (address - base) % slotSize_ != 0 ||
        freeCount_ == slotCount_)
        throw CErrorException(msg::UnexpectedError, "slot does not belong to the pool");
    auto* s = static_cast<CFreeSlot*>(slot);
    s->next = freeList_;
    freeList_ = s;
    ++freeCount_;
}

}  // namespace tessera
