#include "foundation/global_memory.h"

#include <new>

namespace tessera {

namespace {
constexpr std::align_val_t kAlignment{16};
}

void* GlobalAllocate(size_t bytes) noexcept {
    if (bytes == 0) return nullptr;
    return ::operator new(bytes, kAlignment, std::nothrow);
}

void GlobalRelease(void* memory) noexcept {
    if (memory) ::operator delete(memory, kAlignment);
}

}  // namespace tessera
