#include "formats/input_limit_exception.h"

#include "foundation/block_heap.h"
#include "foundation/messages.h"

namespace tessera {

CInputLimitException::CInputLimitException(int messageId, int32_t lineNumber)
    : CErrorException(messageId),
      lineNumber_(lineNumber),
      text_(FormatMessage(messageId, std::to_string(lineNumber))) {}

uint64_t ConfiguredMemory() {
    const CBlockHeap& heap = TheBlockHeap();
    return uint64_t{heap.MaximumChunks()} * heap.ChunkSize();
}

void CheckBytesFitMemory(uint64_t bytes) {
    const CBlockHeap& heap = TheBlockHeap();
    const uint64_t capacity = ConfiguredMemory();
    // The chunks taken bound what is in use from above at no cost; the free list is walked only near
    // the cap.
    const uint64_t taken = uint64_t{heap.ChunksInUse()} * heap.ChunkSize();
    if (bytes <= capacity && taken <= capacity - bytes) return;
    const uint64_t inUse = heap.GetFigures().inUse;
    if (bytes > capacity || inUse > capacity - bytes) throw CMemoryException();
}

}  // namespace tessera
