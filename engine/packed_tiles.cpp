#include "engine/packed_tiles.h"

#include <algorithm>
#include <array>
#include <bit>

#include "engine/bit_count.h"
#include "foundation/block_heap.h"
#include "foundation/memory_recovery.h"

namespace tessera {
namespace {

constexpr int kTileRows = 32;
constexpr int64_t kCoordinateBias = int64_t{1} << 31;
constexpr size_t kLargestRecord = sizeof(CPackedTiles::CRecord) + kTileRows * sizeof(uint64_t);
// Room kept free of the block heap's largest block for its headers.
constexpr size_t kBlockSlack = 64;

using CRecords = std::vector<CPackedTiles::CRecord*>;
using CRowCounts = std::array<uint32_t, kTileRows>;

uint32_t TileRowOf(uint64_t key) { return static_cast<uint32_t>(key >> 32); }
int64_t LeftOf(uint64_t key) { return static_cast<int64_t>((key & 0xFFFFFFFF) << 6) - kCoordinateBias; }
int64_t TopOf(uint32_t tileRow) { return (int64_t{tileRow} << 5) - kCoordinateBias; }

// The end of the band of tiles (one tile row) that starts at begin.
size_t BandEnd(const CRecords& records, size_t begin) {
    const uint32_t tileRow = TileRowOf(records[begin]->key);
    size_t end = begin;
    while (end < records.size() && TileRowOf(records[end]->key) == tileRow) ++end;
    return end;
}

// The live cells of each row of a band.
TESSERA_COUNTS_BITS CRowCounts CountRows(const CRecords& records, size_t begin, size_t end) {
    CRowCounts counts{};
    for (size_t i = begin; i < end; ++i) {
        const uint64_t* row = records[i]->Rows();
        for (uint32_t bits = records[i]->rowMask; bits; bits &= bits - 1)
            counts[static_cast<size_t>(std::countr_zero(bits))] +=
                static_cast<uint32_t>(std::popcount(*row++));
    }
    return counts;
}

}  // namespace

CPackedTiles::CPackedTiles(size_t bytes, size_t tiles) {
    records_.reserve(tiles);
    const size_t largest = TheBlockHeap().LargestBlock();
    const size_t cap = largest > kBlockSlack + kLargestRecord ? largest - kBlockSlack : kLargestRecord;
    blockBytes_ = std::clamp(bytes, kLargestRecord, cap);
}

CPackedTiles::~CPackedTiles() {
    for (void* block : blocks_) TheBlockHeap().Free(block);
}

void CPackedTiles::Append(uint64_t key, uint32_t rowMask, uint32_t population, const uint64_t* rows) {
    const size_t bytes = RecordBytes(rowMask);
    if (bytes > room_) {
        blocks_.reserve(blocks_.size() + 1);
        // Row-heap blocks are counted in 4-byte cells.
        void* block = GuardedRowHeapAlloc(static_cast<uint32_t>((blockBytes_ + 3) / 4));
        blocks_.push_back(block);
        free_ = static_cast<std::byte*>(block);
        room_ = blockBytes_;
    }
    records_.reserve(records_.size() + 1);
    auto* record = reinterpret_cast<CRecord*>(free_);
    record->key = key;
    record->rowMask = rowMask;
    record->population = population;
    uint64_t* out = record->Rows();
    for (uint32_t bits = rowMask; bits; bits &= bits - 1) *out++ = rows[std::countr_zero(bits)];
    free_ += bytes;
    room_ -= bytes;
    records_.push_back(record);
}

uint32_t CPackedTiles::MaxRowPopulation() const {
    uint32_t largest = 0;
    for (size_t band = 0; band < records_.size();) {
        const size_t end = BandEnd(records_, band);
        for (uint32_t count : CountRows(records_, band, end)) largest = std::max(largest, count);
        band = end;
    }
    return largest;
}

void CPackedTiles::WriteRows(CRowSink& sink) const {
    std::vector<const uint64_t*> next;  // per tile of the band: its next non-empty row
    for (size_t band = 0; band < records_.size();) {
        const size_t end = BandEnd(records_, band);
        const CRowCounts counts = CountRows(records_, band, end);
        uint32_t rowsUsed = 0;
        next.clear();
        for (size_t i = band; i < end; ++i) {
            rowsUsed |= records_[i]->rowMask;
            next.push_back(records_[i]->Rows());
        }
        const int64_t top = TopOf(TileRowOf(records_[band]->key));
        for (uint32_t bits = rowsUsed; bits; bits &= bits - 1) {
            const int r = std::countr_zero(bits);
            int32_t* out = sink.Begin(static_cast<int32_t>(top + r), counts[static_cast<size_t>(r)]);
            for (size_t i = band; i < end; ++i) {
                if (!(records_[i]->rowMask >> r & 1)) continue;
                const int64_t left = LeftOf(records_[i]->key);
                for (uint64_t cells = *next[i - band]++; cells; cells &= cells - 1)
                    *out++ = static_cast<int32_t>(left + std::countr_zero(cells));
            }
            sink.End();
        }
        band = end;
    }
}

}  // namespace tessera
