// Insertions and imports at the edges of the plane and of the configured memory.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

#include "format_test_support.h"
#include "formats/halcyon.h"
#include "formats/input_limit_exception.h"
#include "foundation/block_heap.h"
#include "foundation/errors.h"
#include "foundation/memory_recovery.h"
#include "foundation/messages.h"

namespace tessera::test {
namespace {

class InsertionLimitsTest : public FormatTest {};

TEST_F(InsertionLimitsTest, AnInsertionBeyondThePlaneIsAnErrorOfItsLine) {
    const std::string block = "#B x\n#P 2000000000 0\n*\n#E\n#P 0 0\n";
    try {
        ReadText(block + "#I x 2000000000 0\n");
        ADD_FAILURE() << "a cell placed beyond the plane was read";
    } catch (const CInputLimitException& error) {
        EXPECT_EQ(msg::InputCellOutside, error.MessageId());
        EXPECT_EQ(6, error.LineNumber());
    }
    // The farthest cell that fits, reached with a half turn from the other side.
    auto c = ReadText(block + "#I x 147483645 0\n#I x -147483647 0 2\n");
    EXPECT_EQ((Cells{{-2147483647, 0}, {2147483645, 0}}), CellsNamed(*c, "test"));
}

// Counts the times the heap ran full and recovery was asked for room.
class CountingRecoverer : public CMemoryRecoverer {
public:
    int calls = 0;
    void TrimGamesOfClass(EGameTrimClass, uint32_t, const std::function<bool(ETrimOutcome)>&) override {
        ++calls;
    }
};

TEST_F(InsertionLimitsTest, MemoryIsRefusedBeforeTheHeapFills) {
    CBlockHeap& heap = TheBlockHeap();
    const uint32_t savedChunks = heap.MaximumChunks();
    heap.SetMaximum(32u << 20);
    CountingRecoverer recoverer;
    CMemoryRecoverer* saved = SetMemoryRecoverer(&recoverer);

    // Doubling along the diagonal: every cell has a row of its own, 2 to the 30th of them.
    std::string diagonal = "#B d0\n*\n#E\n";
    for (int i = 1; i <= 30; ++i) {
        const std::string previous = "d" + std::to_string(i - 1), offset = std::to_string(1 << (i - 1));
        diagonal += "#B d" + std::to_string(i) + "\n#I " + previous + "\n#I " + previous + " " + offset +
                    " " + offset + "\n#E\n";
    }
    EXPECT_THROW(ReadText(diagonal), CMemoryException);

    // A checkerboard whose rows fit, but not together with the text they are converted to.
    const uint32_t words = 499, height = 950;
    std::string bitmap(6 + size_t{height} * words * 2, static_cast<char>(0xAA));
    bitmap[2] = static_cast<char>((words - 1) & 0xFF);
    bitmap[3] = static_cast<char>((words - 1) >> 8);
    bitmap[4] = static_cast<char>((height - 1) & 0xFF);
    bitmap[5] = static_cast<char>((height - 1) >> 8);
    ASSERT_LT(2 * RowBytes(uint64_t{height} * words * 8, height), ConfiguredMemory());
    std::ostringstream text;
    EXPECT_THROW(ImportHalcyonBytes(bitmap, text), CMemoryException);

    EXPECT_EQ(0, recoverer.calls);
    SetMemoryRecoverer(saved);
    heap.SetMaximum(uint64_t{savedChunks} * heap.ChunkSize());
}

}  // namespace
}  // namespace tessera::test
