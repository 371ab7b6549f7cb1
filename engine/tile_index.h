#pragma once
// CTileIndex: the tiles of a field by key. Open addressing with linear probing in a power-of-two table
// kept at most half full, so that a lookup is a multiplication and a probe or two; removal shifts the
// entries after the removed one back, so no tombstones build up while tiles come and go.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessera {

template <class T>
class CTileIndex {
public:
    // Never a tile key: keys hold a tile row and column of at most 27 bits each.
    static constexpr uint64_t kNoKey = ~uint64_t{0};

    T* Find(uint64_t key) const {
        if (slots_.empty()) return nullptr;
        for (size_t i = Home(key);; i = (i + 1) & mask_) {
            if (slots_[i].key == key) return slots_[i].value;
            if (slots_[i].key == kNoKey) return nullptr;
        }
    }

    // The key must not be in the index yet.
    void Insert(uint64_t key, T* value) {
        if (2 * (count_ + 1) > slots_.size()) Rebuild(slots_.empty() ? kFirstCapacity : 2 * slots_.size());
        Place(key, value);
        ++count_;
    }

    void Erase(uint64_t key) {
        if (slots_.empty()) return;
        size_t hole = Home(key);
        while (slots_[hole].key != key) {
            if (slots_[hole].key == kNoKey) return;
            hole = (hole + 1) & mask_;
        }
        // Entries after the hole move back into it unless that would put them before their home.
        for (size_t j = (hole + 1) & mask_; slots_[j].key != kNoKey; j = (j + 1) & mask_) {
            const size_t home = Home(slots_[j].key);
            if (((j - home) & mask_) >= ((j - hole) & mask_)) {
                slots_[hole] = slots_[j];
                hole = j;
            }
        }
        slots_[hole].key = kNoKey;
        --count_;
    }

private:
    struct CSlot {
        uint64_t key = kNoKey;
        T* value = nullptr;
    };
    static constexpr size_t kFirstCapacity = 64;

    size_t Home(uint64_t key) const { return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_); }

    void Place(uint64_t key, T* value) {
        size_t i = Home(key);
        while (slots_[i].key != kNoKey) i = (i + 1) & mask_;
        slots_[i] = {key, value};
    }

    void Rebuild(size_t capacity) {
        std::vector<CSlot> old(capacity);
        old.swap(slots_);
        mask_ = capacity - 1;
        shift_ = 64;
        for (size_t c = capacity; c > 1; c >>= 1) --shift_;
        for (const CSlot& slot : old) {
            if (slot.key != kNoKey) Place(slot.key, slot.value);
        }
    }

    std::vector<CSlot> slots_;
    size_t mask_ = 0;
    int shift_ = 64;
    size_t count_ = 0;
};

}  // namespace tessera
