#include "engine/bit_field.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "engine/bit_count.h"
#include "engine/grow_listener.h"
#include "engine/packed_tiles.h"
#include "engine/tile_row_store.h"
#include "foundation/block_heap.h"
#include "foundation/memory_recovery.h"

namespace tessera {
namespace {

constexpr int kH = CBitField::kTileHeight;
constexpr int64_t kCoordinateBias = int64_t{1} << 31;  // makes every coordinate non-negative
constexpr int kTileColumnShift = 6;
constexpr int kTileRowShift = 5;
constexpr uint64_t kAll = ~uint64_t{0};
// Tiles under 23/3 are computed in groups of rows, several rows at once.
constexpr int kRowGroup = 4;

// Neighbouring tiles, with their offsets in tiles.
enum EDirection { kN, kS, kW, kE, kNW, kNE, kSW, kSE, kDirections };
constexpr std::array<int, kDirections> kDx{0, 0, -1, 1, -1, 1, -1, 1};
constexpr std::array<int, kDirections> kDy{-1, 1, 0, 0, -1, -1, 1, 1};
constexpr std::array<EDirection, kDirections> kOpposite{kS, kN, kE, kW, kSE, kSW, kNE, kNW};

uint64_t KeyOf(uint64_t tileX, uint64_t tileY) { return tileY << 32 | tileX; }
uint64_t TileXOf(uint64_t key) { return key & 0xFFFFFFFF; }
uint64_t TileYOf(uint64_t key) { return key >> 32; }
uint64_t TileXOfCell(int32_t x) { return static_cast<uint64_t>(x + kCoordinateBias) >> kTileColumnShift; }
uint64_t TileYOfCell(int32_t y) { return static_cast<uint64_t>(y + kCoordinateBias) >> kTileRowShift; }

}  // namespace

// The next state as a sum of products over the bit planes of the neighbour count (b0..b3), the centre
// cell and, for birth on 0, whether the 3 x 3 window holds any live cell at all (a window without one
// is never looked at, so nothing is born there).
class CBitField::CRuleLogic {
public:
    static constexpr int kVariables = 6;  // b0, b1, b2, b3, centre, any

    explicit CRuleLogic(RuleCode code) : code_(code) {
        const uint32_t neighbours = (code >> kNeighbourhoodShift) & kNeighbourWindowMask;
        for (int k = 0; k < 9; ++k) counts_[k] = (neighbours >> k) & 1 ? kAll : 0;
        std::vector<CTerm> terms;
        for (int n = 0; n <= 8; ++n) {
            // Count n as bit planes; 8 is the only count with b3, so b3 alone identifies it.
            const uint32_t countCare = n == 8 ? 0x8u : 0xFu;
            const uint32_t countValue = n == 8 ? 0x8u : static_cast<uint32_t>(n);
            if (Survives(code, n)) terms.push_back({countValue | 0x10, countCare | 0x10});
            if (IsBorn(code, n)) {
                const uint32_t any = n == 0 ? 0x20u : 0u;
                terms.push_back({countValue | any, countCare | 0x10 | any});
            }
        }
        // Merge pairs of terms that differ in one variable they both care about, until none do.
        for (bool merged = true; merged;) {
            merged = false;
            for (size_t i = 0; i < terms.size() && !merged; ++i) {
                for (size_t j = i + 1; j < terms.size() && !merged; ++j) {
                    const uint32_t diff = terms[i].value ^ terms[j].value;
                    if (terms[i].care == terms[j].care && std::has_single_bit(diff)) {
                        terms[i].care &= ~diff;
                        terms[i].value &= ~diff;
                        terms.erase(terms.begin() + static_cast<std::ptrdiff_t>(j));
                        merged = true;
                    }
                }
            }
        }
        terms_ = std::move(terms);
        conway_ = code == kConwayRuleCode;
    }

    RuleCode Code() const { return code_; }
    uint64_t Counted(int k) const { return counts_[k]; }
    bool IsConway() const { return conway_; }
    bool NeedsAny() const { return IsBorn(code_, 0); }

    uint64_t Next(const std::array<uint64_t, kVariables>& v) const {
        uint64_t alive = 0;
        for (const CTerm& term : terms_) {
            uint64_t product = kAll;
            for (int i = 0; i < kVariables; ++i) {
                if (term.care >> i & 1) product &= (term.value >> i & 1) ? v[i] : ~v[i];
            }
            alive |= product;
        }
        return alive;
    }

private:
    struct CTerm {
        uint32_t value;
        uint32_t care;
    };
    RuleCode code_;
    std::array<uint64_t, 9> counts_{};
    std::vector<CTerm> terms_;
    bool conway_ = false;
};

namespace {

inline void FullAdd(uint64_t a, uint64_t b, uint64_t c, uint64_t& sum, uint64_t& carry) {
    const uint64_t t = a ^ b;
    sum = t ^ c;
    carry = (a & b) | (t & c);
}

}  // namespace

// What changed in a buffer against the generation two before it: the rows, and the rows whose first
// (west) and last (east) column changed, which are all the tiles beside it read.
struct CBitField::CChanges {
    uint32_t rows;
    uint32_t west;
    uint32_t east;

    static CChanges All() { return {~0u, ~0u, ~0u}; }
};

struct CBitField::CTile {
    // What the totals and the step read of every tile comes first, to share its cache lines.
    uint64_t key;
    uint64_t columns[2];  // the buffer's rows ORed together: its occupied columns
    uint32_t rowMask[2];  // bit r: row r of the buffer holds a live cell
    uint32_t population[2];
    bool empty[2];
    // The other buffer holds the generation before the current one (not so for tiles read from rows).
    bool historyKnown;
    // The rows the step of an epoch computes (indexed by the epoch's parity): those next to rows where
    // the tile's own cells or the cells beside it changed against two generations before. The tiles
    // that change put them here, so that a step reads no other tile to know its work.
    uint32_t need[2];
    uint32_t activeMark;  // the epoch of the last active list that holds the tile
    CTile* neighbours[kDirections];
    // The generation index (the field's step count) at which the buffer last got new cells, and one
    // more than the index at which its signature was summed (0: never).
    uint32_t cellsStep[2];
    uint32_t signatureStep[2];
    uint32_t signature[2];
    CTile* nextFree;
    uint64_t rows[2][kH];  // bit i of a row is the cell at column (tile x) * 64 + i
};

namespace {

// Tiles per block-heap block: as many as fit in one chunk, at most 32.
uint32_t TilesPerSlab(size_t tileBytes) {
    const size_t largest = TheBlockHeap().LargestBlock();
    const size_t room = largest > 64 ? (largest - 64) / tileBytes : 0;
    return static_cast<uint32_t>(std::clamp<size_t>(room, 1, 32));
}

}  // namespace

CBitField::CBitField(const CRow* firstRow) {
    CTile* tile = nullptr;
    for (const CRow* row = firstRow; row; row = row->next) {
        const uint64_t ty = TileYOfCell(row->y);
        const int r = static_cast<int>(static_cast<uint64_t>(row->y + kCoordinateBias) & (kH - 1));
        for (const int32_t* x = row->Cells(); x != row->End(); ++x) {
            const uint64_t key = KeyOf(TileXOfCell(*x), ty);
            if (!tile || tile->key != key) {
                tile = TileAt(key);
                if (!tile) tile = AddTile(key);
            }
            tile->rows[parity_][r] |= uint64_t{1} << (static_cast<uint64_t>(*x + kCoordinateBias) & 63);
        }
    }
    SortTiles();
    for (CTile* t : tiles_) Summarize(*t, parity_);
}

CBitField::CBitField(const CPackedTiles& cells) {
    CPackedTiles::CReader reader(cells);
    uint64_t key = 0;
    uint64_t rows[kH] = {};
    while (reader.Next(key, rows)) {
        std::memcpy(AddTile(key)->rows[parity_], rows, sizeof rows);
        std::fill(std::begin(rows), std::end(rows), uint64_t{0});
    }
    SortTiles();
    for (CTile* t : tiles_) Summarize(*t, parity_);
}

void CBitField::Summarize(CTile& tile, int p) {
    tile.columns[p] = 0;
    tile.rowMask[p] = 0;
    for (int r = 0; r < kH; ++r) {
        const uint64_t row = tile.rows[p][r];
        tile.columns[p] |= row;
        tile.rowMask[p] |= static_cast<uint32_t>(row != 0) << r;
    }
    tile.population[p] = CountBits(tile.rows[p], kH);
    tile.empty[p] = tile.population[p] == 0;
    tile.signatureStep[0] = tile.signatureStep[1] = 0;
    tile.historyKnown = false;
}

CBitField::~CBitField() {
    for (void* slab : slabs_) TheBlockHeap().Free(slab);
}

CBitField::CTile* CBitField::TileAt(uint64_t key) const { return index_.Find(key); }

CBitField::CTile* CBitField::NewTileMemory() {
    if (!freeTiles_) {
        const uint32_t count = TilesPerSlab(sizeof(CTile));
        const size_t bytes = count * sizeof(CTile);
        // Row-heap blocks are counted in 4-byte cells with 20 bytes of header.
        void* slab = GuardedRowHeapAlloc(static_cast<uint32_t>((bytes + 3) / 4));
        slabs_.push_back(slab);
        auto* tiles = static_cast<CTile*>(slab);
        for (uint32_t i = count; i-- > 0;) {
            tiles[i].nextFree = freeTiles_;
            freeTiles_ = &tiles[i];
        }
    }
    CTile* tile = freeTiles_;
    freeTiles_ = tile->nextFree;
    return tile;
}

// A new empty tile, linked with the tiles around it. Its buffers agree with the plane it joins: no tile
// meant no live cell there.
CBitField::CTile* CBitField::AddTile(uint64_t key) {
    CTile* tile = NewTileMemory();
    std::memset(tile, 0, sizeof(CTile));
    tile->key = key;
    tile->empty[0] = tile->empty[1] = true;
    tile->historyKnown = true;
    index_.Insert(key, tile);
    const uint64_t tx = TileXOf(key), ty = TileYOf(key);
    for (int d = 0; d < kDirections; ++d) {
        CTile* other = TileAt(KeyOf(tx + kDx[d], ty + kDy[d]));
        tile->neighbours[d] = other;
        if (other) other->neighbours[kOpposite[d]] = tile;
    }
    added_.push_back(tile);
    // A new tile has no history yet: the step computes it whole. (No tile meant no live cell, and
    // a change beside it that could bring one reached no tile.)
    tile->activeMark = epoch_;
    tile->need[epoch_ & 1] = ~0u;
    active_.push_back(tile);
    return tile;
}

void CBitField::RemoveTile(CTile* tile) {
    for (int d = 0; d < kDirections; ++d) {
        if (CTile* other = tile->neighbours[d]) other->neighbours[kOpposite[d]] = nullptr;
    }
    index_.Erase(tile->key);
    tile->nextFree = freeTiles_;
    freeTiles_ = tile;
}

void CBitField::SortTiles() {
    if (added_.empty()) return;
    const auto byKey = [](const CTile* a, const CTile* b) { return a->key < b->key; };
    std::sort(added_.begin(), added_.end(), byKey);
    const size_t old = tiles_.size();
    tiles_.insert(tiles_.end(), added_.begin(), added_.end());
    std::inplace_merge(tiles_.begin(), tiles_.begin() + static_cast<std::ptrdiff_t>(old), tiles_.end(),
                       byKey);
    added_.clear();
}

void CBitField::KeepActive(CTile* tile, uint32_t rows) {
    uint32_t& need = tile->need[(epoch_ + 1) & 1];
    if (tile->activeMark == epoch_ + 1) {
        need |= rows;
        return;
    }
    need = rows;
    tile->activeMark = epoch_ + 1;
    nextActive_.push_back(tile);
}

// A missing tile holds no live cell and stays so until a change beside it reaches it: only tiles without
// history (just read in, or under a new rule) and tiles whose border changed next to a missing tile,
// which the last step noted, can need a new tile beside them.
void CBitField::Expand() {
    const size_t count = active_.size();
    for (size_t i = 0; i < count; ++i) {
        if (!active_[i]->historyKnown) AddTilesBeside(active_[i]);
    }
    for (CTile* tile : bordering_) AddTilesBeside(tile);
    bordering_.clear();
    SortTiles();
}

void CBitField::AddTilesBeside(CTile* tile) {
    const int p = parity_;
    if (tile->empty[p]) return;
    bool missing = false;
    for (CTile* other : tile->neighbours) missing |= other == nullptr;
    if (!missing) return;
    const uint64_t any = tile->columns[p];
    const uint64_t top = tile->rows[p][0], bottom = tile->rows[p][kH - 1];
    const bool need[kDirections] = {top != 0,       bottom != 0,      (any & 1) != 0,    (any >> 63) != 0,
                                    (top & 1) != 0, (top >> 63) != 0, (bottom & 1) != 0, (bottom >> 63) != 0};
    const uint64_t tx = TileXOf(tile->key), ty = TileYOf(tile->key);
    for (int d = 0; d < kDirections; ++d) {
        if (need[d] && !tile->neighbours[d]) AddTile(KeyOf(tx + kDx[d], ty + kDy[d]));
    }
}

void CBitField::Collect() {
    size_t kept = 0;
    for (CTile* tile : tiles_) {
        if (tile->empty[0] && tile->empty[1] && tile->activeMark != epoch_) {
            RemoveTile(tile);
        } else {
            tiles_[kept++] = tile;
        }
    }
    tiles_.resize(kept);
}

namespace {

// The rows of a tile's buffer with one row above and below (from the tiles there), each also shifted
// so that bit i holds the cell one column to the left (west) or right (east) of column i.
struct CNeighbourRows {
    uint64_t centre[kH + 2];
    uint64_t west[kH + 2];
    uint64_t east[kH + 2];
};

template <class Tile>
void Gather(const Tile& tile, int p, CNeighbourRows& n, int from = 0, int to = kH + 1) {
    const Tile* const* nb = tile.neighbours;
    // A tile beside is read only where its border holds a live cell.
    const auto rowOf = [p](const Tile* t, int r) {
        return t && (t->rowMask[p] >> r & 1) ? t->rows[p][r] : 0;
    };
    const auto put = [&n](int j, uint64_t centre, uint64_t west, uint64_t east) {
        n.centre[j] = centre;
        n.west[j] = centre << 1 | west >> 63;
        n.east[j] = centre >> 1 | east << 63;
    };
    if (from == 0) put(0, rowOf(nb[kN], kH - 1), rowOf(nb[kNW], kH - 1), rowOf(nb[kNE], kH - 1));
    const int first = std::max(from, 1), last = std::min(to, kH);
    const uint64_t* west = nb[kW] && nb[kW]->columns[p] >> 63 ? nb[kW]->rows[p] : nullptr;
    const uint64_t* east = nb[kE] && nb[kE]->columns[p] & 1 ? nb[kE]->rows[p] : nullptr;
    for (int j = first; j <= last; ++j)
        put(j, tile.rows[p][j - 1], west ? west[j - 1] : 0, east ? east[j - 1] : 0);
    if (to == kH + 1) put(kH + 1, rowOf(nb[kS], 0), rowOf(nb[kSW], 0), rowOf(nb[kSE], 0));
}

// Each live cell adds 527 (the nine windows it lies in, and its own window's centre) and, for each
// live neighbour at window offset k, 2^k to its own window; pairs are counted once per direction.
// Built twice where the compiler can: with the processor's population count instruction when it has
// one, otherwise with the portable sequence.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
__attribute__((target_clones("popcnt", "default")))
#endif
uint32_t
SignatureOf(const CNeighbourRows& n) {
    uint32_t cells = 0, right = 0, below = 0, belowRight = 0, belowLeft = 0;
    for (int j = 1; j <= kH; ++j) {
        const uint64_t c = n.centre[j];
        if (!c) continue;
        cells += std::popcount(c);
        right += std::popcount(c & n.east[j]);
        below += std::popcount(c & n.centre[j + 1]);
        belowRight += std::popcount(c & n.east[j + 1]);
        belowLeft += std::popcount(c & n.west[j + 1]);
    }
    return 527 * cells + 40 * right + 130 * below + 257 * belowRight + 68 * belowLeft;
}

}  // namespace

uint32_t CBitField::TileSignature(CTile& tile, int p) const {
    // A tile's sum reads its own cells and those of the tiles west, east and below it.
    bool known = tile.signatureStep[p] != 0;
    for (const CTile* t : {&tile, tile.neighbours[kW], tile.neighbours[kE], tile.neighbours[kS],
                           tile.neighbours[kSW], tile.neighbours[kSE]})
        known = known && (!t || t->cellsStep[p] < tile.signatureStep[p]);
    if (known) return tile.signature[p];
    CNeighbourRows n;
    Gather(tile, p, n);
    tile.signature[p] = SignatureOf(n);
    tile.signatureStep[p] = steps_ + 1;
    return tile.signature[p];
}

uint32_t CBitField::Signature() {
    uint32_t sum = 0;
    for (CTile* tile : tiles_) {
        if (!tile->empty[parity_]) sum += TileSignature(*tile, parity_);
    }
    return sum;
}

namespace {

// Row j of the next generation of a gathered tile under 23/3: born on 3 neighbours, surviving on 2 or 3.
inline uint64_t ConwayRow(const CNeighbourRows& n, int j) {
    uint64_t s1, c1, s2, c2, b0, c3, t2, c4;
    FullAdd(n.east[j + 1], n.centre[j + 1], n.west[j + 1], s1, c1);
    FullAdd(n.east[j], n.west[j], n.east[j - 1], s2, c2);
    const uint64_t s3 = n.centre[j - 1] ^ n.west[j - 1], c3a = n.centre[j - 1] & n.west[j - 1];
    FullAdd(s1, s2, s3, b0, c3);
    FullAdd(c1, c2, c3a, t2, c4);
    const uint64_t b1 = t2 ^ c3, fourOrMore = c4 | (t2 & c3);
    return b1 & ~fourOrMore & (b0 | n.centre[j]);
}

// Rows first to end - 1 of a gathered tile under 23/3, without branches, so that the compiler advances
// several rows at once.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
__attribute__((target_clones("avx2", "default")))
#endif
void ConwayRows(const CNeighbourRows& n, int first, int end, uint64_t* __restrict next) {
    for (int r = first; r < end; ++r) next[r] = ConwayRow(n, r + 1);
}

// Row j of the next generation of a gathered tile; `occupied` marks the columns whose window holds a
// live cell (no other column can come alive).
uint64_t NextRow(const CBitField::CRuleLogic& logic, const CNeighbourRows& n, int j, uint64_t occupied) {
    const uint64_t window[9] = {n.east[j + 1], n.centre[j + 1], n.west[j + 1],   n.east[j],    n.centre[j],
                                n.west[j],     n.east[j - 1],   n.centre[j - 1], n.west[j - 1]};
    if (logic.IsConway()) return ConwayRow(n, j);
    uint64_t in[8];
    int m = 0;
    for (int k = 0; k < 9; ++k) {
        if (k != 4) in[m++] = window[k] & logic.Counted(k);
    }
    uint64_t s1, c1, s2, c2, b0, c3, t2, c4;
    FullAdd(in[0], in[1], in[2], s1, c1);
    FullAdd(in[3], in[4], in[5], s2, c2);
    const uint64_t s3 = in[6] ^ in[7], c3a = in[6] & in[7];
    FullAdd(s1, s2, s3, b0, c3);
    FullAdd(c1, c2, c3a, t2, c4);
    const uint64_t b1 = t2 ^ c3, c5 = t2 & c3;
    const uint64_t b2 = c4 ^ c5, b3 = c4 & c5;
    return logic.Next({b0, b1, b2, b3, window[4], occupied});
}

}  // namespace

// True when no cell of the tile's buffer or of the cells around the tile is alive: every window of the
// tile is empty, so nothing is born there.
bool CBitField::IsQuiet(const CTile& tile, int p) {
    if (!tile.empty[p]) return false;
    const CTile* const* nb = tile.neighbours;
    return !(nb[kN] && nb[kN]->rows[p][kH - 1]) && !(nb[kS] && nb[kS]->rows[p][0]) &&
           !(nb[kW] && nb[kW]->columns[p] >> 63) && !(nb[kE] && nb[kE]->columns[p] & 1) &&
           !(nb[kNW] && nb[kNW]->rows[p][kH - 1] >> 63) && !(nb[kNE] && nb[kNE]->rows[p][kH - 1] & 1) &&
           !(nb[kSW] && nb[kSW]->rows[p][0] >> 63) && !(nb[kSE] && nb[kSE]->rows[p][0] & 1);
}

// A change wakes the tile for the next step, and each tile beside it whose cells read the changed ones.
void CBitField::WakeReaders(CTile* tile, const CChanges& c) {
    if (!c.rows) return;
    const auto spread = [](uint32_t rows) { return rows | rows << 1 | rows >> 1; };
    constexpr uint32_t kTop = 1, kBottom = 1u << (kH - 1);
    const auto bottomIf = [](uint32_t bit) { return bit ? kBottom : 0u; };
    const auto topIf = [](uint32_t bit) { return bit ? kTop : 0u; };
    KeepActive(tile, spread(c.rows));
    // The rows of each tile around that read a changed cell: the tile above reads this tile's top
    // row with its bottom row, the tile to the west reads its west column, and so on.
    const uint32_t needs[kDirections] = {
        bottomIf(c.rows & kTop), topIf(c.rows & kBottom), spread(c.west),          spread(c.east),
        bottomIf(c.west & kTop), bottomIf(c.east & kTop), topIf(c.west & kBottom), topIf(c.east & kBottom)};
    CTile* const* nb = tile->neighbours;
    bool missing = false;
    for (int d = 0; d < kDirections; ++d) {
        if (!needs[d]) continue;
        if (nb[d])
            KeepActive(nb[d], needs[d]);
        else
            missing = true;
    }
    if (missing) bordering_.push_back(tile);
}

void CBitField::Step(RuleCode code) {
    const int p = parity_, q = 1 - p;
    if (!logic_ || logic_->Code() != code) {
        // Under another rule a place that repeated need not repeat: every tile is stepped afresh.
        for (CTile* tile : tiles_) {
            tile->historyKnown = false;
            if (tile->activeMark != epoch_) {
                tile->activeMark = epoch_;
                active_.push_back(tile);
            }
        }
        logic_ = std::make_unique<CRuleLogic>(code);
    }
    const CRuleLogic& logic = *logic_;
    Expand();
    nextActive_.clear();
    for (CTile* tile : active_) {
        // Nothing in reach changed since the generation before last: the tile repeats the generation
        // before, which the other buffer holds already.
        // Without history every row is computed.
        const uint32_t need = tile->historyKnown ? tile->need[epoch_ & 1] : ~0u;
        if (!need) continue;
        CChanges changed{};  // of the other buffer, against what it held
        uint64_t* out = tile->rows[q];
        uint32_t rowMask = 0;  // of the rows computed
        uint32_t computed = ~0u;
        int32_t populationChange = 0;
        bool populationKnown = false;  // populationChange holds
        if (IsQuiet(*tile, p)) {
            changed.rows = tile->rowMask[q];
            if (changed.rows) {
                for (int r = 0; r < kH; ++r) {
                    changed.west |= static_cast<uint32_t>(out[r] & 1) << r;
                    changed.east |= static_cast<uint32_t>(out[r] >> 63) << r;
                }
                std::memset(out, 0, sizeof(tile->rows[q]));
            }
        } else if (logic.IsConway()) {
            // The rows from the first to the last one needed, in whole groups: rows in between that
            // no change reached come out as the buffer holds them already.
            const int first = std::countr_zero(need) & ~(kRowGroup - 1);
            const int end = (kH - std::countl_zero(need) + kRowGroup - 1) & ~(kRowGroup - 1);
            CNeighbourRows n;
            Gather(*tile, p, n, first, end + 1);
            uint64_t next[kH];
            ConwayRows(n, first, end, next);
            const CStoredRows stored = StoreTileRows(next, out, first, end);
            computed = (end == kH ? ~0u : (1u << end) - 1) & ~((1u << first) - 1);
            changed.rows = stored.changed;
            rowMask = stored.occupied;
            populationChange = stored.populationChange;
            populationKnown = true;
            // A changed border column counts as changed in every changed row, which at worst makes the
            // tile beside compute a few more rows.
            changed.west = stored.changedColumns & 1 ? changed.rows : 0;
            changed.east = stored.changedColumns >> 63 ? changed.rows : 0;
        } else {
            CNeighbourRows n;
            computed = need;
            Gather(*tile, p, n, std::countr_zero(need), kH + 1 - std::countl_zero(need));
            for (uint32_t bits = need; bits; bits &= bits - 1) {
                const int r = std::countr_zero(bits);
                const int j = r + 1;
                uint64_t next = 0;
                const uint64_t around = n.centre[j - 1] | n.centre[j] | n.centre[j + 1];
                const uint64_t occupied = around | n.west[j - 1] | n.west[j] | n.west[j + 1] | n.east[j - 1] |
                                          n.east[j] | n.east[j + 1];
                if (occupied) next = NextRow(logic, n, j, occupied);
                const uint64_t diff = next ^ out[r];
                changed.rows |= static_cast<uint32_t>(diff != 0) << r;
                changed.west |= static_cast<uint32_t>(diff & 1) << r;
                changed.east |= static_cast<uint32_t>(diff >> 63) << r;
                rowMask |= static_cast<uint32_t>(next != 0) << r;
                out[r] = next;
            }
        }
        if (changed.rows) {
            uint64_t columns = 0;
            for (int r = 0; r < kH; ++r) columns |= out[r];
            tile->empty[q] = columns == 0;
            tile->columns[q] = columns;
            tile->rowMask[q] = (tile->rowMask[q] & ~computed) | rowMask;
            if (!columns)
                tile->population[q] = 0;
            else if (populationKnown)
                tile->population[q] =
                    static_cast<uint32_t>(static_cast<int32_t>(tile->population[q]) + populationChange);
            else
                tile->population[q] = CountBits(out, kH);
            tile->cellsStep[q] = steps_ + 1;  // the signatures that read these cells are out of date
        }
        // Without history the other buffer held no generation: count every place as changed.
        if (!tile->historyKnown) changed = CChanges::All();
        tile->historyKnown = true;
        WakeReaders(tile, changed);
    }
    parity_ = q;
    active_.swap(nextActive_);
    ++epoch_;
    if (++steps_ % 8 == 0) Collect();
}

TESSERA_COUNTS_BITS CFieldTotals CBitField::Totals() const {
    const int p = parity_;
    CFieldTotals totals;
    CLRect& bounds = totals.bounds;
    uint64_t bandKey = ~uint64_t{0};
    uint32_t bandRows = 0, bandCells = 0;
    for (const CTile* tile : tiles_) {
        if (tile->empty[p]) continue;
        const uint64_t ty = TileYOf(tile->key);
        if (ty != bandKey) {
            totals.rowCount += static_cast<uint32_t>(std::popcount(bandRows));
            bandRows = 0;
            bandCells = 0;
            bandKey = ty;
        }
        bandRows |= tile->rowMask[p];
        bandCells += tile->population[p];
        totals.largestBand = std::max(totals.largestBand, bandCells);
        totals.population += tile->population[p];
        const int64_t left = static_cast<int64_t>(TileXOf(tile->key) << kTileColumnShift) - kCoordinateBias;
        const int64_t top = static_cast<int64_t>(ty << kTileRowShift) - kCoordinateBias;
        const uint64_t columns = tile->columns[p];
        const uint32_t rows = tile->rowMask[p];
        bounds.left = std::min(bounds.left, static_cast<int32_t>(left + std::countr_zero(columns)));
        bounds.right = std::max(bounds.right, static_cast<int32_t>(left + 64 - std::countl_zero(columns)));
        bounds.top = std::min(bounds.top, static_cast<int32_t>(top + std::countr_zero(rows)));
        bounds.bottom = std::max(bounds.bottom, static_cast<int32_t>(top + 32 - std::countl_zero(rows)));
    }
    totals.rowCount += static_cast<uint32_t>(std::popcount(bandRows));
    return totals;
}

std::unique_ptr<CPackedTiles> CBitField::Pack() const {
    const int p = parity_;
    size_t bytes = 0;
    uint64_t lastKey = 0;
    for (const CTile* tile : tiles_) {
        if (tile->empty[p]) continue;
        bytes += CPackedTiles::RecordBytes(tile->key - lastKey, tile->rowMask[p], tile->rows[p]);
        lastKey = tile->key;
    }
    auto packed = std::make_unique<CPackedTiles>(bytes);
    for (const CTile* tile : tiles_) {
        if (!tile->empty[p]) packed->Append(tile->key, tile->rowMask[p], tile->rows[p]);
    }
    return packed;
}

// Only tiles with a live cell in either generation take part.
void CBitField::BeginReadOut() {
    bandStart_ = 0;
    readTiles_.clear();
    for (CTile* tile : tiles_) {
        if (!tile->empty[0] || !tile->empty[1]) readTiles_.push_back(tile);
    }
}

uint32_t CBitField::ReadRow(int32_t y, int32_t* out, CGrowListener* listener) {
    const uint64_t ty = TileYOfCell(y);
    const int r = static_cast<int>(static_cast<uint64_t>(y + kCoordinateBias) & (kH - 1));
    while (bandStart_ < readTiles_.size() && TileYOf(readTiles_[bandStart_]->key) < ty) ++bandStart_;
    int32_t* const start = out;
    for (size_t i = bandStart_; i < readTiles_.size() && TileYOf(readTiles_[i]->key) == ty; ++i) {
        const CTile& tile = *readTiles_[i];
        const uint64_t now = tile.rows[parity_][r];
        const uint64_t before = tile.rows[1 - parity_][r];
        if (!(now | before)) continue;
        const int64_t left = static_cast<int64_t>(TileXOf(tile.key) << kTileColumnShift) - kCoordinateBias;
        for (uint64_t bits = now; bits; bits &= bits - 1)
            *out++ = static_cast<int32_t>(left + std::countr_zero(bits));
        if (listener) {
            for (uint64_t bits = now ^ before; bits; bits &= bits - 1) {
                const uint64_t bit = bits & (~bits + 1);
                const int32_t x = static_cast<int32_t>(left + std::countr_zero(bits));
                if (now & bit)
                    listener->OnCellBorn(x);
                else
                    listener->OnCellDied(x);
            }
        }
    }
    return static_cast<uint32_t>(out - start);
}

}  // namespace tessera
