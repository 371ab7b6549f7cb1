#pragma once
// The memory figures shown in the About box: bytes taken from the system by the program's own
// allocators, and the part of them that holds live data.
#include <cstdint>

namespace tessera {

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

}  // namespace tessera
