#include "engine/bit_count.h"

namespace tessera {

TESSERA_COUNTS_BITS uint32_t CountBits(const uint64_t* words, size_t n) {
    uint32_t count = 0;
    for (size_t i = 0; i < n; ++i) count += static_cast<uint32_t>(std::popcount(words[i]));
    return count;
}

}  // namespace tessera
