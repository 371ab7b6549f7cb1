#include "config/memory_settings.h"

#include "config/parameters.h"
#include "foundation/block_heap.h"

namespace tessera {

void ApplyMemoryParameters(CBlockHeap& heap, uint64_t availableMemory) {
    const uint64_t maxBytes = uint64_t{params::MaxMemory.GetUInt()} << 20;
    heap.Configure(params::HeapBlockSize.GetUInt(), maxBytes, availableMemory);
}

void ApplyMemoryParameters(uint64_t availableMemory) {
    ApplyMemoryParameters(TheBlockHeap(), availableMemory);
}

}  // namespace tessera
