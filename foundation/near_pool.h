#pragma once
// A fixed array of equal slots allocated once and never grown: at most `slotCount` objects of at most
// `slotSize` bytes can be alive at a time (the exploration contexts live in one).
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tessera {

class CNearPool {
public:
    // Slots are aligned for any object: the slot size is rounded up to a multiple of 16.
    static constexpr size_t kSlotAlignment = 16;

    CNearPool(uint32_t slotCount, size_t slotSize);
    CNearPool(const CNearPool&) = delete;
    CNearPool& operator=(const CNearPool&) = delete;

    // A free slot, or nullptr when every slot is in use.
    void* Take();
    // Returns a slot taken from this pool; nullptr is ignored. A pointer that is not one of this
    // pool's slots throws CErrorException (unexpected error) and changes nothing.
    void Give(void* slot);

    size_t SlotSize() const { return slotSize_; }
    uint32_t FreeCount() const { return freeCount_; }

private:
    struct CFreeSlot {
        CFreeSlot* next;
    };
    struct CAlignedDelete {
        void operator()(std::byte* p) const;
    };

    std::unique_ptr<std::byte[], CAlignedDelete> slots_;
    CFreeSlot* freeList_ = nullptr;
    uint32_t freeCount_;
    uint32_t slotCount_;
    size_t slotSize_;
};

}  // namespace tessera
