// One generation: a single sweep over the source rows. For each output row the rows above, at and below
// it are read together; every column whose 3 x 3 window holds a live cell is looked up in the rule's
// transition table, which gives the fate of the centre cell. Empty stretches are never visited.
#include <algorithm>
#include <array>
#include <bit>
#include <memory>

#include "engine/grow_listener.h"
#include "engine/grow_sizing.h"
#include "engine/growable_universe.h"
#include "foundation/errors.h"
#include "rules/rules.h"

namespace tessera {
namespace {

// Stands in for a missing neighbour row: no cells, only the end marker.
struct CEmptyRow {
    CRow header{nullptr, 0, 0x7FFFFFFE};
    int32_t endMarker = kRowEndMarker;
};
const CEmptyRow kEmptyRow;
const CRow* const kNoRow = &kEmptyRow.header;

// The sweep reads the three rows 64 columns at a time into bit masks (bit i standing for column
// start + i) and visits, in ascending x, every column whose 3 x 3 block holds a live cell: exactly the
// windows of the column-by-column walk, in the same order, without a comparison per column.
//
// The window of the column whose block starts at bit j is the three bits j..j+2 of each mask, lowest
// column highest. Reading them in mask order gives each row group reversed, so the sweep uses the
// rule's table through a copy indexed by the reversed groups, whose entries carry the flags (bits
// 9-11) and the window's share of the signature (bits 12 and up: the window, twice when its centre
// is alive).
class CSweepTable {
public:
    explicit CSweepTable(const TransitionTable& table) {
        for (uint32_t index = 0; index < 512; ++index) {
            const uint32_t w = ReverseGroups(index);
            const uint32_t share = (w & 16) ? 2 * w : w;
            entries_[index] = (table[w] & (kNextAlive | kBorn | kDied)) | (share << kShareShift);
        }
    }
    uint32_t operator[](uint32_t index) const { return entries_[index]; }

    static constexpr int kShareShift = 12;

private:
    static uint32_t ReverseGroups(uint32_t index) {
        uint32_t w = 0;
        for (int group = 0; group < 3; ++group) {
            const uint32_t bits = (index >> (3 * group)) & 7;
            const uint32_t reversed = ((bits & 1) << 2) | (bits & 2) | ((bits & 4) >> 2);
            w |= reversed << (3 * group);
        }
        return w;
    }

    std::array<uint32_t, 512> entries_;
};

// The sweep table depends only on the rule code; the last one built is kept for the next step. A
// growth holds its own reference, so a listener that grows another universe cannot pull it away.
std::shared_ptr<const CSweepTable> SweepTableFor(RuleCode code, const TransitionTable& table) {
    static RuleCode cachedCode = 0;
    static std::shared_ptr<const CSweepTable> cached;
    if (!cached || cachedCode != code) {
        cached = std::make_shared<const CSweepTable>(table);
        cachedCode = code;
    }
    return cached;
}

struct CRowSweep {
    const int32_t* above;
    const int32_t* centre;
    const int32_t* below;
    int32_t* out;
};

inline int32_t Min(int32_t a, int32_t b) { return a < b ? a : b; }

// Adds the cells of a row that lie before limit to mask (bit i for column start + i).
inline uint64_t TakeCells(const int32_t*& cells, uint64_t mask, int64_t start, int64_t limit) {
    for (int64_t x = *cells; x < limit; x = *++cells) mask |= uint64_t{1} << (x - start);
    return mask;
}

// Sweeps one output row; answers the number of cells written. No allocation and no search: per
// visited column one table lookup and one store; empty stretches are skipped by jumping to the next
// live column of the three rows.
template <bool kListening>
uint32_t SweepRow(CRowSweep& s, const CSweepTable& table, uint32_t& signature, uint64_t& windows,
                  CGrowListener* listener) {
    constexpr int kCentres = 62;  // block starts 0..61 use bits up to 63
    constexpr uint64_t kCentreMask = (uint64_t{1} << kCentres) - 1;
    const int32_t* above = s.above;
    const int32_t* centre = s.centre;
    const int32_t* below = s.below;
    int32_t* const outStart = s.out;
    int32_t* out = outStart;
    uint32_t sum = 0;
    uint64_t visited = 0;
    uint64_t ma = 0, mc = 0, mb = 0;
    int64_t start = 0;
    bool jump = true;
    for (;;) {
        if (jump) {
            const int32_t next = Min(*above, Min(*centre, *below));
            if (next == kRowEndMarker) break;
            start = int64_t{next} - 2;  // the first block holding `next` starts two columns before it
        }
        // The end marker is never below the limit, so it is never taken as a cell.
        const int64_t limit = std::min<int64_t>(start + 64, kRowEndMarker);
        ma = TakeCells(above, ma, start, limit);
        mc = TakeCells(centre, mc, start, limit);
        mb = TakeCells(below, mb, start, limit);
        const uint64_t occupied = ma | mc | mb;
        uint64_t blocks = (occupied | occupied >> 1 | occupied >> 2) & kCentreMask;
        const int64_t firstColumn = start + 1;
        while (blocks) {
            const int j = std::countr_zero(blocks);
            blocks &= blocks - 1;
            ++visited;
            const uint32_t index =
                static_cast<uint32_t>(((ma >> j) & 7) << 6 | ((mc >> j) & 7) << 3 | ((mb >> j) & 7));
            const uint32_t e = table[index];
            sum += e >> CSweepTable::kShareShift;
            const int32_t x = static_cast<int32_t>(firstColumn + j);
            *out = x;  // the store is unconditional; only a live result keeps it
            out += (e & kNextAlive) >> kNextAliveBit;
            if constexpr (kListening) {
                if (e & kBorn)
                    listener->OnCellBorn(x);
                else if (e & kDied)
                    listener->OnCellDied(x);
            }
        }
        // The last two columns carry over into the next 64; with nothing carried, jump ahead.
        ma >>= kCentres;
        mc >>= kCentres;
        mb >>= kCentres;
        start += kCentres;
        jump = (ma | mc | mb) == 0;
    }
    signature += sum;
    windows += visited;
    return static_cast<uint32_t>(out - outStart);
}

}  // namespace

std::unique_ptr<CGrowableUniverse> CGrowableUniverse::Grow(CGrowListener* listener,
                                                           CGrowStatistics* statistics) {
    Consolidate();
    CUniverseUse hold(*this);
    const TransitionTable& table = GetRule(ruleCode_).Table();
    const bool wide = BirthsOnFewNeighbours(ruleCode_);
    signature_ = 0;
    auto result = NewSibling(generation_ + 1);
    if (!firstRow_) return result;
    // Growth is not asked for beyond the limits (CheckGrowable); refusing here keeps the sweep's
    // coordinate arithmetic in range whatever the caller did.
    if (!CoordinatesAllowGrowth(bounds_)) throw CErrorException(msg::GameTooBig);

    CGrowStatistics counted;
    try {
        if (listener) listener->OnGrowBegin(*this);

        result->rowHeap_.Create(GrownRowHeapCapacity(wide, population_, maxRowPopulation_));

        const std::shared_ptr<const CSweepTable> sweepTableHeld = SweepTableFor(ruleCode_, table);
        const CSweepTable& sweepTable = *sweepTableHeld;
        CRowBuilder builder(*result);
        uint32_t signature = 0;
        const CRow* above = kNoRow;
        const CRow* centre = kNoRow;
        const CRow* below = firstRow_;
        const CRow* next = firstRow_->next;
        int32_t y = firstRow_->y - 1;
        for (;;) {
            const uint32_t need = OutputRowBound(wide, above->count, centre->count, below->count);
            CRow* row = builder.Reserve(y, need);
            if (listener) listener->OnGrowRow(y);
            CRowSweep sweep{above->Cells(), centre->Cells(), below->Cells(), row->Cells()};
            row->count = listener
                             ? SweepRow<true>(sweep, sweepTable, signature, counted.windowsVisited, listener)
                             : SweepRow<false>(sweep, sweepTable, signature, counted.windowsVisited, nullptr);
            builder.Append(row);
            if (listener) listener->OnGrowRowEnd();
            ++counted.rowsVisited;

            // Continue with y + 1 while row y or y + 1 exists; otherwise jump next to the next source row.
            if (centre != kNoRow || below != kNoRow) {
                ++y;
                above = centre;
                centre = below;
                if (next && next->y == y + 1) {
                    below = next;
                    next = next->next;
                } else {
                    below = kNoRow;
                }
            } else if (next) {
                y = next->y - 1;
                above = kNoRow;
                centre = kNoRow;
                below = next;
                next = next->next;
            } else {
                break;
            }
        }
        builder.Finish();
        signature_ = signature;
        if (listener) listener->OnGrowEnd(*result);
    } catch (...) {
        // The window keeps showing the source; the partial result is destroyed.
        if (listener) listener->OnGrowEnd(*this);
        throw;
    }
    if (statistics) *statistics = counted;
    return result;
}

}  // namespace tessera
