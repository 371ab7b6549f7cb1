#pragma once
// CBitField: the live cells of one generation as tiles of 64 x 32 bit cells, for growth that advances a
// whole tile row with word-wide arithmetic. Each tile keeps two buffers: the current generation and the
// one before it. A tile none of whose cells, nor the cells beside it, changed since two generations ago
// will repeat the generation before, which its other buffer already holds: such tiles (still lifes,
// period-2 oscillators, empty space next to them) are skipped, and a tile is visited only when a change
// reaches it. Rows of a universe are read in once; after each step the new generation is read out row
// by row.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/row_heap.h"
#include "engine/tile_index.h"
#include "foundation/geometry.h"
#include "rules/rule_code.h"

namespace tessera {

class CGrowListener;
class CPackedTiles;

// What a generation on tiles tells without its rows.
struct CFieldTotals {
    uint32_t population = 0;
    uint32_t rowCount = 0;  // rows holding a live cell
    CLRect bounds = EmptyRect;
    uint32_t largestBand = 0;  // the most live cells in one band of 32 rows: no row holds more
};

class CBitField {
public:
    static constexpr int kTileWidth = 64;
    static constexpr int kTileHeight = 32;

    // The cells of a row list (ascending y, each row ascending x).
    explicit CBitField(const CRow* firstRow);
    explicit CBitField(const CPackedTiles& cells);
    CBitField(const CBitField&) = delete;
    CBitField& operator=(const CBitField&) = delete;
    ~CBitField();

    // The signature of the current generation (see CUniverse::GetSignature).
    uint32_t Signature();
    // Advances every tile one generation under the rule; the generation before stays readable.
    void Step(RuleCode code);
    // Population, row count and bounds of the current generation.
    CFieldTotals Totals() const;
    // The current generation's cells, kept apart from the tiles (in block-heap memory).
    std::unique_ptr<CPackedTiles> Pack() const;

    // Reading out the generation the last Step produced, in ascending y (each call with a larger y than
    // the one before; BeginReadOut starts over). Writes the cells of row y in ascending x to out and
    // answers their number; with a listener, reports each cell that differs from the generation before.
    void BeginReadOut();
    uint32_t ReadRow(int32_t y, int32_t* out, CGrowListener* listener);

    uint32_t TileCount() const { return static_cast<uint32_t>(tiles_.size()); }

    class CRuleLogic;

private:
    struct CTile;
    struct CChanges;

    CTile* TileAt(uint64_t key) const;
    CTile* AddTile(uint64_t key);
    void RemoveTile(CTile* tile);
    CTile* NewTileMemory();
    // Sets the summaries of a buffer that was filled from outside the step.
    static void Summarize(CTile& tile, int parity);
    // Makes sure every tile next to a live border cell exists, so that births there have a tile.
    void Expand();
    void AddTilesBeside(CTile* tile);
    // Drops empty tiles that the next step does not visit.
    void Collect();
    void SortTiles();
    // Puts a tile in the list the next step visits, with rows it must compute.
    void KeepActive(CTile* tile, uint32_t rows);
    void WakeReaders(CTile* tile, const CChanges& changes);
    uint32_t TileSignature(CTile& tile, int parity) const;
    static bool IsQuiet(const CTile& tile, int parity);

    CTileIndex<CTile> index_;
    std::vector<CTile*> tiles_;      // ascending key: tile rows top to bottom, each left to right
    std::vector<CTile*> added_;      // created since the last sort
    std::vector<CTile*> readTiles_;  // the tiles the read-out visits, in the order of tiles_
    // The tiles the next step visits: every other tile and its neighbours repeat the generation before
    // last, so the step leaves it as it is. A tile is in the list when its mark equals epoch_.
    std::vector<CTile*> active_;
    std::vector<CTile*> nextActive_;
    std::vector<CTile*> bordering_;  // changed next to a missing tile in the last step
    uint32_t epoch_ = 1;
    std::vector<void*> slabs_;  // blocks of the block heap that tiles are carved from
    CTile* freeTiles_ = nullptr;
    std::unique_ptr<CRuleLogic> logic_;  // for the rule of the last step
    int parity_ = 0;                     // the buffer holding the current generation
    uint32_t steps_ = 0;
    // Read-out cursor: the first tile of the band that holds the row asked for last.
    size_t bandStart_ = 0;
};

}  // namespace tessera
