#pragma once
// The memory figures shown in the About box: bytes taken from the system by the program's own
// allocators, and the part of them that holds live data.
#include <cstdint>

namespace tessera {

class CBlockHeap;

struct CMemoryFigures {
    uint64_t allocated = 0;
    uint64_t inUse = 0;

    CMemoryFigures& operator+=(const CMemoryFigures& other) {
        allocated += other.allocated;
        inUse += other.inUse;
        return *this;
    }
    friend bool operator==(const CMemoryFigures&, const CMemoryFigures&) = default;
};

// The heap's figures plus those of every far pool in the list of all pools.
CMemoryFigures MemoryFigures(const CBlockHeap& heap);
// The same for the application's heap: the About box's "Memory Allocated: " and "Memory In Use: ".
CMemoryFigures ApplicationMemoryFigures();

}  // namespace tessera
