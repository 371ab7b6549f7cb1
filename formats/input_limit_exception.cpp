#include "formats/input_limit_exception.h"

#include "engine/row_heap.h"
#include "foundation/block_heap.h"
#include "foundation/geometry.h"
#include "foundation/messages.h"

namespace tessera {

CInputLimitException::CInputLimitException(int messageId, int32_t lineNumber)
    : CErrorException(messageId),
      lineNumber_(lineNumber),
      text_(FormatMessage(messageId, std::to_string(lineNumber))) {}

CInputCell CheckedInputCell(int64_t x, int64_t y, int32_t lineNumber) {
    if (x < UniverseLimits.left || x >= UniverseLimits.right || y < UniverseLimits.top ||
        y >= UniverseLimits.bottom)
        throw CInputLimitException(msg::InputCellOutside, lineNumber);
    return {static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

void CheckRunLength(uint64_t cells, int32_t lineNumber) {
    if (cells > kMaxRowCells) throw CInputLimitException(msg::InputRowTooLong, lineNumber);
}

void CheckCellsFitMemory(uint64_t cells) {
    constexpr uint64_t kMinBytesPerCell = sizeof(int32_t);
    const CBlockHeap& heap = TheBlockHeap();
    const uint64_t capacity = uint64_t{heap.MaximumChunks()} * heap.ChunkSize();
    if (cells > capacity / kMinBytesPerCell) throw CMemoryException();
}

}  // namespace tessera
