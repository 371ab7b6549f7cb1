#pragma once
// CPackedTiles: the live cells of one generation kept as bit tiles of 64 x 32 cells, only the tiles with
// a live cell and of each only its non-empty rows, in blocks of the block heap. A generation grown on
// tiles keeps its cells this way once the tiles have moved on to the next generation; its rows are made
// from them only when something reads them.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessera {

class CPackedTiles {
public:
    // A tile's key is (tile row << 32 | tile column), both counted from the most negative coordinate.
    struct CRecord {
        uint64_t key;
        uint32_t rowMask;  // bit r: row r of the tile holds a live cell
        uint32_t population;
        // The non-empty rows, top to bottom.
        const uint64_t* Rows() const { return reinterpret_cast<const uint64_t*>(this + 1); }
        uint64_t* Rows() { return reinterpret_cast<uint64_t*>(this + 1); }
    };
    static_assert(sizeof(CRecord) == 16);

    // Receives the rows of the cells in ascending y: Begin answers room for count cells, End takes them.
    class CRowSink {
    public:
        virtual int32_t* Begin(int32_t y, uint32_t count) = 0;
        virtual void End() = 0;

    protected:
        ~CRowSink() = default;
    };

    // Room for `bytes` bytes of records of `tiles` tiles, in ascending key order.
    CPackedTiles(size_t bytes, size_t tiles);
    CPackedTiles(const CPackedTiles&) = delete;
    CPackedTiles& operator=(const CPackedTiles&) = delete;
    ~CPackedTiles();

    static size_t RecordBytes(uint32_t rowMask) {
        return sizeof(CRecord) + sizeof(uint64_t) * static_cast<size_t>(std::popcount(rowMask));
    }
    // Appends a tile (its 32 rows, which rowMask and population describe) with at least one live
    // cell; keys come in ascending order.
    void Append(uint64_t key, uint32_t rowMask, uint32_t population, const uint64_t* rows);

    size_t TileCount() const { return records_.size(); }
    const CRecord& Tile(size_t i) const { return *records_[i]; }

    // The most live cells of any row.
    uint32_t MaxRowPopulation() const;
    // Hands every non-empty row to sink, ascending y, each row's cells ascending x.
    void WriteRows(CRowSink& sink) const;

private:
    std::vector<void*> blocks_;
    std::vector<CRecord*> records_;
    std::byte* free_ = nullptr;
    size_t room_ = 0;
    size_t blockBytes_ = 0;
};

}  // namespace tessera
