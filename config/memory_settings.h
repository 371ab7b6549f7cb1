#pragma once
// Sizes the application's block heap from the parameters: chunks of HeapBlockSize bytes, at most
// MaxMemory MiB in all. Start-up calls this once; the options sheet calls it again after a change of
// MaxMemory (a chunk size change takes effect only while the heap holds no chunk).
#include <cstdint>

namespace tessera {

class CBlockHeap;

// availableMemory is the platform's figure of free physical memory, kept for display only.
void ApplyMemoryParameters(CBlockHeap& heap, uint64_t availableMemory);
void ApplyMemoryParameters(uint64_t availableMemory);

}  // namespace tessera
