#include "engine/packed_tiles.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "engine/bit_count.h"
#include "foundation/block_heap.h"
#include "foundation/memory_recovery.h"

namespace tessera {
namespace {

// Rows are written and read as little-endian words whose unused high bytes spill into the next record.
static_assert(std::endian::native == std::endian::little);

// A record: how far its key is past the previous record's (the first: past 0), shifted left once with
// the wide flag in the low bit, as a base-128 number of at most 10 bytes; the row mask (4 bytes); then
// per non-empty row either its eight bytes (a wide record, where that is no longer) or a byte telling
// the first used byte and the count of used bytes, followed by those bytes.
constexpr size_t kLongestStep = 10;
constexpr size_t kMaskBytes = sizeof(uint32_t);
constexpr size_t kLargestRecord = kLongestStep + kMaskBytes + CPackedTiles::kTileRows * sizeof(uint64_t);
// Writing or reading a row touches a whole word, up to seven bytes past the record's end.
constexpr size_t kWordSpill = sizeof(uint64_t);
// Room kept free of the block heap's largest block for its headers.
constexpr size_t kBlockSlack = 64;
constexpr int64_t kCoordinateBias = int64_t{1} << 31;

uint64_t Load(const std::byte* at) {
    uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

void Store(std::byte* at, uint64_t word) { std::memcpy(at, &word, sizeof word); }

struct CCompactRow {
    unsigned first;  // the first byte that holds a live cell
    unsigned count;  // bytes from it to the last that does
};

CCompactRow CompactRowOf(uint64_t row) {
    const auto first = static_cast<unsigned>(std::countr_zero(row)) / 8;
    const auto last = static_cast<unsigned>(63 - std::countl_zero(row)) / 8;
    return {first, last - first + 1};
}

size_t CompactBytes(uint32_t rowMask, const uint64_t* rows) {
    size_t bytes = 0;
    for (uint32_t bits = rowMask; bits; bits &= bits - 1)
        bytes += 1 + CompactRowOf(rows[std::countr_zero(bits)]).count;
    return bytes;
}

size_t StepBytes(uint64_t step) {
    size_t bytes = 1;
    for (; step >= 0x80; step >>= 7) ++bytes;
    return bytes;
}

std::byte* WriteStep(std::byte* out, uint64_t step) {
    for (; step >= 0x80; step >>= 7) *out++ = static_cast<std::byte>(step | 0x80);
    *out++ = static_cast<std::byte>(step);
    return out;
}

const std::byte* ReadStep(const std::byte* in, uint64_t& step) {
    step = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<uint64_t>(*in++);
        step |= (byte & 0x7F) << shift;
        if (byte < 0x80) return in;
    }
}

size_t WideBytes(uint32_t rowMask) { return sizeof(uint64_t) * static_cast<size_t>(std::popcount(rowMask)); }

uint32_t TileRowOf(uint64_t key) { return static_cast<uint32_t>(key >> 32); }
int64_t LeftOf(uint64_t key) { return static_cast<int64_t>((key & 0xFFFFFFFF) << 6) - kCoordinateBias; }
int64_t TopOf(uint32_t tileRow) { return (int64_t{tileRow} << 5) - kCoordinateBias; }

}  // namespace

CPackedTiles::CPackedTiles(size_t bytes) {
    const size_t largest = TheBlockHeap().LargestBlock();
    const size_t cap = largest > kBlockSlack + kLargestRecord + kWordSpill
                           ? largest - kBlockSlack - kWordSpill
                           : kLargestRecord;
    blockBytes_ = std::clamp(bytes, kLargestRecord, cap);
}

CPackedTiles::~CPackedTiles() {
    for (const CBlock& block : blocks_) TheBlockHeap().Free(block.start);
}

size_t CPackedTiles::RecordBytes(uint64_t keyStep, uint32_t rowMask, const uint64_t* rows) {
    return StepBytes(keyStep << 1) + kMaskBytes + std::min(CompactBytes(rowMask, rows), WideBytes(rowMask));
}

void CPackedTiles::Append(uint64_t key, uint32_t rowMask, const uint64_t* rows) {
    const size_t compact = CompactBytes(rowMask, rows);
    const bool wide = compact >= WideBytes(rowMask);
    const uint64_t step = (key - lastKey_) << 1 | uint64_t{wide};
    const size_t bytes = StepBytes(step) + kMaskBytes + (wide ? WideBytes(rowMask) : compact);
    if (bytes > room_) {
        blocks_.reserve(blocks_.size() + 1);
        // Row-heap blocks are counted in 4-byte cells.
        void* block = GuardedRowHeapAlloc(static_cast<uint32_t>((blockBytes_ + kWordSpill + 3) / 4));
        blocks_.push_back({static_cast<std::byte*>(block), 0});
        room_ = blockBytes_;
    }
    CBlock& block = blocks_.back();
    std::byte* out = WriteStep(block.start + block.used, step);
    std::memcpy(out, &rowMask, sizeof rowMask);
    out += sizeof rowMask;
    for (uint32_t bits = rowMask; bits; bits &= bits - 1) {
        const uint64_t row = rows[std::countr_zero(bits)];
        if (wide) {
            Store(out, row);
            out += sizeof row;
            continue;
        }
        const CCompactRow compactRow = CompactRowOf(row);
        *out = static_cast<std::byte>(compactRow.first << 3 | (compactRow.count - 1));
        Store(out + 1, row >> (8 * compactRow.first));
        out += 1 + compactRow.count;
    }
    block.used += bytes;
    room_ -= bytes;
    lastKey_ = key;
}

bool CPackedTiles::CReader::Next(uint64_t& key, uint64_t* rows) {
    while (at_ == end_) {
        if (block_ == packed_.blocks_.size()) return false;
        const CBlock& block = packed_.blocks_[block_++];
        at_ = block.start;
        end_ = block.start + block.used;
    }
    uint64_t step = 0;
    const std::byte* in = ReadStep(at_, step);
    key_ += step >> 1;
    key = key_;
    const bool wide = (step & 1) != 0;
    uint32_t rowMask = 0;
    std::memcpy(&rowMask, in, sizeof rowMask);
    in += sizeof rowMask;
    for (uint32_t bits = rowMask; bits; bits &= bits - 1) {
        uint64_t& row = rows[std::countr_zero(bits)];
        if (wide) {
            row = Load(in);
            in += sizeof row;
            continue;
        }
        const auto code = static_cast<unsigned>(*in);
        const unsigned count = (code & 7) + 1;
        const uint64_t used = count == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * count)) - 1;
        row = (Load(in + 1) & used) << (8 * (code >> 3));
        in += 1 + count;
    }
    at_ = in;
    return true;
}

namespace {

struct CDecodedTile {
    uint64_t key;
    uint32_t rowMask;
    std::array<uint64_t, CPackedTiles::kTileRows> rows;
};
using CBand = std::vector<CDecodedTile>;
using CRowCounts = std::array<uint32_t, CPackedTiles::kTileRows>;

// Calls visitBand with the decoded tiles of each band (one tile row), top to bottom.
template <class F>
void ForEachBand(const CPackedTiles& packed, F&& visitBand) {
    CBand band;
    CPackedTiles::CReader reader(packed);
    CDecodedTile tile{};
    for (tile.rows = {}; reader.Next(tile.key, tile.rows.data()); tile.rows = {}) {
        if (!band.empty() && TileRowOf(band.front().key) != TileRowOf(tile.key)) {
            visitBand(band);
            band.clear();
        }
        tile.rowMask = 0;
        for (size_t r = 0; r < tile.rows.size(); ++r) tile.rowMask |= uint32_t{tile.rows[r] != 0} << r;
        band.push_back(tile);
    }
    if (!band.empty()) visitBand(band);
}

// The live cells of each row of a band.
TESSERA_COUNTS_BITS CRowCounts CountRows(const CBand& band) {
    CRowCounts counts{};
    for (const CDecodedTile& tile : band) {
        for (uint32_t bits = tile.rowMask; bits; bits &= bits - 1) {
            const auto r = static_cast<size_t>(std::countr_zero(bits));
            counts[r] += static_cast<uint32_t>(std::popcount(tile.rows[r]));
        }
    }
    return counts;
}

}  // namespace

uint32_t CPackedTiles::MaxRowPopulation() const {
    uint32_t largest = 0;
    ForEachBand(*this, [&](const CBand& band) {
        for (uint32_t count : CountRows(band)) largest = std::max(largest, count);
    });
    return largest;
}

void CPackedTiles::WriteRows(CRowSink& sink) const {
    ForEachBand(*this, [&](const CBand& band) {
        const CRowCounts counts = CountRows(band);
        uint32_t rowsUsed = 0;
        for (const CDecodedTile& tile : band) rowsUsed |= tile.rowMask;
        const int64_t top = TopOf(TileRowOf(band.front().key));
        for (uint32_t bits = rowsUsed; bits; bits &= bits - 1) {
            const auto r = static_cast<size_t>(std::countr_zero(bits));
            int32_t* out = sink.Begin(static_cast<int32_t>(top + static_cast<int64_t>(r)), counts[r]);
            for (const CDecodedTile& tile : band) {
                if (!(tile.rowMask >> r & 1)) continue;
                const int64_t left = LeftOf(tile.key);
                for (uint64_t cells = tile.rows[r]; cells; cells &= cells - 1)
                    *out++ = static_cast<int32_t>(left + std::countr_zero(cells));
            }
            sink.End();
        }
    });
}

}  // namespace tessera
