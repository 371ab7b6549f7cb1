#include <gtest/gtest.h>

#include "config/memory_settings.h"
#include "foundation/block_heap.h"
#include "support/temp_folder.h"

namespace tessera::test {
namespace {

class MemorySettingsTest : public TempConfigTest {};

TEST_F(MemorySettingsTest, HeapFollowsTheParameters) {
    CBlockHeap defaults;
    ApplyMemoryParameters(defaults, 123);
    EXPECT_EQ(defaults.ChunkSize(), 500000u);
    EXPECT_EQ(defaults.MaximumChunks(), 134u);  // 64 MiB / 500000
    EXPECT_EQ(defaults.AvailableMemory(), 123u);

    WriteIni("[Parameters]\nHeapBlockSize=32768\nMaxMemory=1\n");
    ResetAllParameters();
    CBlockHeap small;
    ApplyMemoryParameters(small, 0);
    EXPECT_EQ(small.ChunkSize(), 32768u);
    EXPECT_EQ(small.MaximumChunks(), 32u);  // 1 MiB / 32768

    // The largest allowed maximum does not overflow the byte count.
    WriteIni("[Parameters]\nHeapBlockSize=32768\nMaxMemory=2048\n");
    ResetAllParameters();
    ApplyMemoryParameters(small, 0);
    EXPECT_EQ(small.MaximumChunks(), 65536u);  // 2 GiB / 32768
}

}  // namespace
}  // namespace tessera::test
