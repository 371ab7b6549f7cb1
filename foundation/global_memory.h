#pragma once
// The system memory behind the block heap's chunks. Any allocator may serve; this one uses the
// general allocator, aligned for any object, and answers nullptr instead of throwing when refused.
#include <cstddef>

namespace tessera {

void* GlobalAllocate(size_t bytes) noexcept;
void GlobalRelease(void* memory) noexcept;

}  // namespace tessera
