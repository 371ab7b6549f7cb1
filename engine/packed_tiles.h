#pragma once
// CPackedTiles: the live cells of one generation kept as bit tiles of 64 x 32 cells, only the tiles with
// a live cell and of each only its non-empty rows, in blocks of the block heap. A generation grown on
// tiles keeps its cells this way once the tiles have moved on to the next generation; its rows are made
// from them only when something reads them. Every kept generation of a long growth is held like this,
// so rows are stored by the bytes they use: a glider's row takes two or three bytes, not eight.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessera {

class CPackedTiles {
public:
    static constexpr int kTileRows = 32;

    // Receives the rows of the cells in ascending y: Begin answers room for count cells, End takes them.
    class CRowSink {
    public:
        virtual int32_t* Begin(int32_t y, uint32_t count) = 0;
        virtual void End() = 0;

    protected:
        ~CRowSink() = default;
    };

    // Reads the tiles back in ascending key order. A tile's key is (tile row << 32 | tile column), both
    // counted from the most negative coordinate.
    class CReader {
    public:
        explicit CReader(const CPackedTiles& packed) : packed_(packed) {}
        // Moves to the next tile, giving its key and writing its non-empty rows to rows[r] (the others
        // are left as they are); false after the last.
        bool Next(uint64_t& key, uint64_t* rows);

    private:
        const CPackedTiles& packed_;
        size_t block_ = 0;
        const std::byte* at_ = nullptr;  // the next tile's record
        const std::byte* end_ = nullptr;
        uint64_t key_ = 0;
    };

    // Room for `bytes` bytes of records (the sum of their RecordBytes).
    explicit CPackedTiles(size_t bytes);
    CPackedTiles(const CPackedTiles&) = delete;
    CPackedTiles& operator=(const CPackedTiles&) = delete;
    ~CPackedTiles();

    // What a tile with these rows (all 32 of them, rowMask telling the non-empty ones) takes when its
    // key is keyStep past the key appended before it (the first tile's: past 0).
    static size_t RecordBytes(uint64_t keyStep, uint32_t rowMask, const uint64_t* rows);
    // Appends a tile with at least one live cell; keys come in ascending order.
    void Append(uint64_t key, uint32_t rowMask, const uint64_t* rows);

    // The most live cells of any row.
    uint32_t MaxRowPopulation() const;
    // Hands every non-empty row to sink, ascending y, each row's cells ascending x.
    void WriteRows(CRowSink& sink) const;

private:
    struct CBlock {
        std::byte* start;
        size_t used;
    };
    std::vector<CBlock> blocks_;
    size_t room_ = 0;
    size_t blockBytes_ = 0;
    uint64_t lastKey_ = 0;
};

}  // namespace tessera
