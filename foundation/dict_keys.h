#pragma once
// Key comparison for the ordered dictionaries: CompareKeys(a, b) is negative, 0 or positive as a sorts
// before, with or after b. A key type gets into a dictionary by having an overload here (or one found
// by argument-dependent lookup next to the type), or else by being three-way comparable.
#include <compare>
#include <concepts>
#include <cstdint>
#include <type_traits>

#include "foundation/geometry.h"
#include "foundation/name.h"

namespace tessera {

// Points are ordered by row, then by column, both as signed numbers.
inline int CompareKeys(const CLPoint& a, const CLPoint& b) {
    if (a.y != b.y) return a.y < b.y ? -1 : 1;
    if (a.x != b.x) return a.x < b.x ? -1 : 1;
    return 0;
}

// Names ignore case and blanks (see CompareNames).
inline int CompareKeys(const CName& a, const CName& b) { return a.Compare(b); }

inline int CompareKeys(uint32_t a, uint32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

// Pointers are ordered by their address taken as an unsigned number.
template <class P>
int CompareKeys(P* a, P* b) {
    auto ua = reinterpret_cast<uintptr_t>(a);
    auto ub = reinterpret_cast<uintptr_t>(b);
    return ua < ub ? -1 : (ua > ub ? 1 : 0);
}

// Any other key with a natural order.
template <class K>
requires(std::three_way_comparable<K> && !std::is_pointer_v<K> &&
         !std::is_same_v<K, uint32_t>) int CompareKeys(const K& a, const K& b) {
    auto order = a <=> b;
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace tessera
