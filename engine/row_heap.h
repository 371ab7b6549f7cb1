#pragma once
// Rows of a growable universe and the chains of word blocks they are carved from.
//
// A row is a record of 32-bit words: the link to the next row (two words: a native pointer), the cell
// count n, y, then n x coordinates strictly ascending and the end marker 0x7FFFFFFF. Rows are padded to
// an even number of words so that every link stays aligned: a row takes RowWords(n) = n + 5 or n + 6
// words, never more than n + kRowOverheadWords.
#include <cstdint>

namespace tessera {

inline constexpr int32_t kRowEndMarker = 0x7FFFFFFF;
inline constexpr uint32_t kRowOverheadWords = 6;
// A row holds at most 99996 cells, as many as 100000 words held with 4-byte links. Consolidation
// sizes no block above the words such a row takes with the wider links.
inline constexpr uint32_t kMaxRowCells = 99996;
inline constexpr uint32_t kMaxBlockWords = kMaxRowCells + kRowOverheadWords;

struct CRow {
    CRow* next;
    uint32_t count;
    int32_t y;

    int32_t* Cells() { return reinterpret_cast<int32_t*>(this + 1); }
    const int32_t* Cells() const { return reinterpret_cast<const int32_t*>(this + 1); }
    const int32_t* End() const { return Cells() + count; }
};
static_assert(sizeof(CRow) == 16, "a row header is four words");

constexpr uint32_t RowWords(uint32_t cells) { return (cells + 6) & ~1u; }

// A chain of blocks from the block heap. New rows always go into the last block. Owns its blocks.
class CRowHeap {
public:
    CRowHeap() = default;
    CRowHeap(const CRowHeap&) = delete;
    CRowHeap& operator=(const CRowHeap&) = delete;
    CRowHeap(CRowHeap&& other) noexcept;
    CRowHeap& operator=(CRowHeap&& other) noexcept;
    ~CRowHeap() { Free(); }

    // Starts a chain with one block of capacity data words; further blocks get the same capacity.
    // Throws CMemoryException when memory recovery cannot make room.
    void Create(uint32_t capacity);
    bool IsEmpty() const { return first_ == nullptr; }
    void Free();

    // A row under construction at y with room for need cells: count 0, the end marker in its first cell
    // word. Chains a new block when the last one is too full. need + kRowOverheadWords must not exceed
    // the default capacity.
    CRow* Reserve(int32_t y, uint32_t need) {
        if (CRow* row = TryReserve(last_, y, need)) return row;
        return ReserveInNewBlock(y, need);
    }
    // Finishes the reserved row: an empty row is dropped (false), otherwise its end marker is written and
    // its words are taken (true).
    bool Commit(CRow* row) {
        last_->reserved = 0;
        if (row->count == 0) return false;
        row->Cells()[row->count] = kRowEndMarker;
        last_->used += RowWords(row->count);
        return true;
    }
    // Gives the unused tail of the last block back to the block heap.
    void ShrinkLast();

    uint32_t BlockCount() const;
    uint32_t DefaultCapacity() const;

private:
    struct CBlock {
        uint32_t capacity;
        uint32_t used;
        uint32_t reserved;
        uint32_t defaultCapacity;
        CBlock* next;
        uint32_t* Data() { return reinterpret_cast<uint32_t*>(this + 1); }
    };
    static_assert(sizeof(CBlock) == 24, "a block header is six words");

    static CBlock* NewBlock(uint32_t capacity, uint32_t defaultCapacity);
    [[nodiscard]] static CRow* TryReserve(CBlock* block, int32_t y, uint32_t need) {
        if (block->capacity - block->used < need + kRowOverheadWords) return nullptr;
        auto* row = reinterpret_cast<CRow*>(block->Data() + block->used);
        row->next = nullptr;
        row->count = 0;
        row->y = y;
        row->Cells()[0] = kRowEndMarker;
        block->reserved = need;
        return row;
    }
    CRow* ReserveInNewBlock(int32_t y, uint32_t need);

    CBlock* first_ = nullptr;
    CBlock* last_ = nullptr;
};

}  // namespace tessera
