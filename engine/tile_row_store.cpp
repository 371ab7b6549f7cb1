#include "engine/tile_row_store.h"

#include <bit>

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define TESSERA_WIDE_ROWS 1
#endif

namespace tessera {

CStoredRows StoreTileRowsOneByOne(const uint64_t* next, uint64_t* out, int first, int end) {
    CStoredRows stored;
    for (int r = first; r < end; ++r) {
        const uint64_t diff = next[r] ^ out[r];
        stored.changedColumns |= diff;
        stored.changed |= static_cast<uint32_t>(diff != 0) << r;
        stored.occupied |= static_cast<uint32_t>(next[r] != 0) << r;
        stored.populationChange += std::popcount(next[r]) - std::popcount(out[r]);
        out[r] = next[r];
    }
    return stored;
}

namespace {

#ifdef TESSERA_WIDE_ROWS
// The live cells of each byte, looked up a nibble at a time.
__attribute__((target("avx2"))) __m256i CountByteBits(__m256i v) {
    const __m256i nibbleCounts = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4, 0, 1, 1, 2,
                                                  1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
    const __m256i lowNibbles = _mm256_set1_epi8(0x0F);
    const __m256i low = _mm256_and_si256(v, lowNibbles);
    const __m256i high = _mm256_and_si256(_mm256_srli_epi16(v, 4), lowNibbles);
    return _mm256_add_epi8(_mm256_shuffle_epi8(nibbleCounts, low), _mm256_shuffle_epi8(nibbleCounts, high));
}

// Four rows at a time; a row's bit comes from the sign mask of a 64-bit lane compare. Byte counts of
// at most 8 rows of 8 cells each stay below 256 before they are summed.
__attribute__((target("avx2"))) CStoredRows StoreFourRowsAtOnce(const uint64_t* next, uint64_t* out,
                                                                int first, int end) {
    CStoredRows stored;
    constexpr int kLanes = 4;
    constexpr uint32_t kLaneBits = (1u << kLanes) - 1;
    const __m256i zero = _mm256_setzero_si256();
    __m256i changedColumns = zero, nowCells = zero, beforeCells = zero;
    for (int r = first; r < end; r += kLanes) {
        const __m256i now = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(next + r));
        const __m256i before = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out + r));
        const __m256i diff = _mm256_xor_si256(now, before);
        changedColumns = _mm256_or_si256(changedColumns, diff);
        nowCells = _mm256_add_epi8(nowCells, CountByteBits(now));
        beforeCells = _mm256_add_epi8(beforeCells, CountByteBits(before));
        const auto same =
            static_cast<uint32_t>(_mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpeq_epi64(diff, zero))));
        const auto empty =
            static_cast<uint32_t>(_mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpeq_epi64(now, zero))));
        stored.changed |= (~same & kLaneBits) << r;
        stored.occupied |= (~empty & kLaneBits) << r;
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + r), now);
    }
    alignas(32) uint64_t lanes[3][kLanes];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes[0]), changedColumns);
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes[1]), _mm256_sad_epu8(nowCells, zero));
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes[2]), _mm256_sad_epu8(beforeCells, zero));
    for (int i = 0; i < kLanes; ++i) {
        stored.changedColumns |= lanes[0][i];
        stored.populationChange += static_cast<int32_t>(lanes[1][i]) - static_cast<int32_t>(lanes[2][i]);
    }
    return stored;
}

bool HasWideRows() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

}  // namespace

CStoredRows StoreTileRows(const uint64_t* next, uint64_t* out, int first, int end) {
#ifdef TESSERA_WIDE_ROWS
    if (HasWideRows()) return StoreFourRowsAtOnce(next, out, first, end);
#endif
    return StoreTileRowsOneByOne(next, out, first, end);
}

}  // namespace tessera
