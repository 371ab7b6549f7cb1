#include "formats/input_limit_exception.h"

#include "foundation/block_heap.h"
#include "foundation/messages.h"

namespace tessera {

CInputLimitException::CInputLimitException(int messageId, int32_t lineNumber)
    : CErrorException(messageId),
      lineNumber_(lineNumber),
      text_(FormatMessage(messageId, std::to_string(lineNumber))) {}

void CheckCellsFitMemory(uint64_t cells) {
    constexpr uint64_t kMinBytesPerCell = sizeof(int32_t);
    const CBlockHeap& heap = TheBlockHeap();
    const uint64_t capacity = uint64_t{heap.MaximumChunks()} * heap.ChunkSize();
    if (cells > capacity / kMinBytesPerCell) throw CMemoryException();
}

}  // namespace tessera
