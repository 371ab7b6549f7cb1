#pragma once
// An input file asks for more than a universe can hold (a row longer than a row can be, a cell beyond
// the limits of the plane). Reading ends at once, with the line that asked for it.
#include <cstdint>
#include <string>

#include "engine/row_heap.h"
#include "foundation/errors.h"
#include "foundation/geometry.h"

namespace tessera {

class CInputLimitException : public CErrorException {
public:
    // messageId is one of the readers' limit messages, whose %1 is the line number.
    CInputLimitException(int messageId, int32_t lineNumber);
    int32_t LineNumber() const { return lineNumber_; }
    const char* what() const noexcept override { return text_.c_str(); }

private:
    int32_t lineNumber_;
    std::string text_;
};

// Runs work; an engine refusal of a cell (a row too long, a cell outside the plane) becomes a
// CInputLimitException at the given line.
template <class Work>
void WithInputLimits(int32_t lineNumber, Work&& work);

// A cell position from a reader's wide arithmetic, refused when it lies outside the plane.
struct CInputCell {
    int32_t x;
    int32_t y;
};
inline CInputCell CheckedInputCell(int64_t x, int64_t y, int32_t lineNumber);

// Refuses a run longer than any row can hold before a single cell of it is set.
inline void CheckRunLength(uint64_t cells, int32_t lineNumber);

// The fewest heap bytes rows holding that many cells take: every row stores its cells and a header.
constexpr uint64_t RowBytes(uint64_t cells, uint64_t rows) {
    return sizeof(int32_t) * (cells + uint64_t{kRowOverheadWords - 1} * rows);
}

// The bytes the block heap may take at most.
uint64_t ConfiguredMemory();

// Throws CMemoryException when that many more bytes would not fit in the configured memory beside what
// the heap holds already, so that a reader gives up before it fills the heap.
void CheckBytesFitMemory(uint64_t bytes);

}  // namespace tessera

#include "foundation/messages.h"

namespace tessera {

template <class Work>
void WithInputLimits(int32_t lineNumber, Work&& work) {
    try {
        work();
    } catch (const CInputLimitException&) {
        throw;
    } catch (const CErrorException& error) {
        if (error.MessageId() == msg::RowTooLong)
            throw CInputLimitException(msg::InputRowTooLong, lineNumber);
        if (error.MessageId() == msg::CellOutsideUniverse)
            throw CInputLimitException(msg::InputCellOutside, lineNumber);
        throw;
    }
}

// Both checks are inline: readers make them for every run of cells they read.
inline CInputCell CheckedInputCell(int64_t x, int64_t y, int32_t lineNumber) {
    if (x < UniverseLimits.left || x >= UniverseLimits.right || y < UniverseLimits.top ||
        y >= UniverseLimits.bottom)
        throw CInputLimitException(msg::InputCellOutside, lineNumber);
    return {static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

inline void CheckRunLength(uint64_t cells, int32_t lineNumber) {
    if (cells > kMaxRowCells) throw CInputLimitException(msg::InputRowTooLong, lineNumber);
}

}  // namespace tessera
