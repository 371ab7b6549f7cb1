#pragma once
// The state a game keeps for repeat detection: the candidate cycle and the ring of the signatures of its
// most recent generations.
#include <cstdint>
#include <vector>

namespace tessera {

// The candidate cycle; every field 0 when cleared.
struct CRepeatState {
    int32_t cycleStart = 0;
    int32_t period = 0;     // 0: no candidate
    int32_t multiple = 0;   // the exact comparison spans (multiple + 1) × period generations
    int32_t nextCheck = 0;  // below this generation only the cheap test runs

    void ClearCandidate() { cycleStart = period = multiple = 0; }
    void Clear() {
        ClearCandidate();
        nextCheck = 0;
    }
};

// Signatures of consecutive generations, the oldest dropped when full. The entry for generation g is held
// while base ≤ g < base + count.
class CSignatureRing {
public:
    explicit CSignatureRing(uint32_t capacity = 1) : storage_(capacity ? capacity : 1, 0) {}

    uint32_t Capacity() const { return uint32_t(storage_.size()); }
    uint32_t Count() const { return count_; }
    int32_t Base() const { return base_; }

    // Empties the ring with a new capacity, to start at generation 0.
    void Reset(uint32_t capacity) {
        storage_.assign(capacity ? capacity : 1, 0);
        Restart(0);
    }
    void Add(uint32_t signature) {
        if (count_ < Capacity()) {
            ++count_;
        } else {
            ++base_;
            head_ = (head_ + 1) % Capacity();
        }
        storage_[(head_ + count_ - 1) % Capacity()] = signature;
    }
    // Empties the ring so that its first entry will be for generation g.
    void Restart(int32_t generation) {
        count_ = 0;
        head_ = 0;
        base_ = generation;
    }
    // Drops the entries for generation g and later.
    void CutBack(int32_t generation) {
        int64_t kept = int64_t(generation) - base_;
        if (kept < 0) {
            Restart(generation);
        } else if (kept < count_) {
            count_ = uint32_t(kept);
        }
    }
    bool Holds(int64_t generation) const {
        return generation >= base_ && generation < int64_t(base_) + count_;
    }
    // The entry for a generation the ring holds.
    uint32_t At(int32_t generation) const {
        return storage_[(head_ + uint32_t(int64_t(generation) - base_)) % Capacity()];
    }

private:
    std::vector<uint32_t> storage_;
    uint32_t count_ = 0;
    int32_t base_ = 0;
    uint32_t head_ = 0;
};

}  // namespace tessera
