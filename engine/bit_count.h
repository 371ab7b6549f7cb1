#pragma once
// Functions that count bits in bulk are built twice where the compiler can: with the processor's
// population count instruction when it has one, otherwise with the portable sequence.
#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define TESSERA_COUNTS_BITS __attribute__((target_clones("popcnt", "default")))
#else
#define TESSERA_COUNTS_BITS
#endif

namespace tessera {

// The live cells of n words.
uint32_t CountBits(const uint64_t* words, size_t n);

}  // namespace tessera
