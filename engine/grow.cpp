// One generation: a single sweep over the source rows. Three adjacent rows are merged column by column,
// a 3 x 3 window slides along them, and the rule's transition table gives the next window and the fate
// of the centre cell.
#include <algorithm>

#include "engine/grow_listener.h"
#include "engine/growable_universe.h"
#include "foundation/errors.h"
#include "rules/rules.h"

namespace tessera {
namespace {

// Stands in for a missing neighbour row: no cells, only the end marker.
struct EmptyRow {
    CRow header{nullptr, 0, 0x7FFFFFFE};
    int32_t endMarker = kRowEndMarker;
};
const EmptyRow kEmptyRow;
const CRow* const kNoRow = &kEmptyRow.header;

// Window bits of the newest column of each row.
constexpr uint32_t kAboveBit = 64, kCentreBit = 8, kBelowBit = 1;
constexpr uint32_t kCentreAlive = 16;

// Branch-free minimum: the three rows' next columns are unpredictable, a jump on them costs more
// than the arithmetic.
inline int32_t Min(int32_t a, int32_t b) {
    const int32_t less = -static_cast<int32_t>(a < b);
    return b ^ ((a ^ b) & less);
}

struct RowSweep {
    const int32_t* above;
    const int32_t* centre;
    const int32_t* below;
    int32_t* out;
};

// Sweeps one output row; answers the number of cells written. The loop does no allocation and no
// search: one table lookup, three comparisons and one store per visited column, and columns with an
// empty window are skipped by jumping to the next live column of the three rows.
template <bool kListening>
uint32_t SweepRow(RowSweep& s, const uint32_t* table, uint32_t& signature, uint64_t& windows,
                  GrowListener* listener) {
    const int32_t* above = s.above;
    const int32_t* centre = s.centre;
    const int32_t* below = s.below;
    int32_t* const outStart = s.out;
    int32_t* out = outStart;
    uint32_t w = 0;
    uint32_t sum = 0;
    uint64_t visited = 0;
    int32_t x = 0;
    for (;;) {
        if (w == 0) {
            x = Min(*above, Min(*centre, *below));
            if (x == kRowEndMarker) break;
        }
        const uint32_t a = *above == x;
        const uint32_t c = *centre == x;
        const uint32_t b = *below == x;
        above += a;
        centre += c;
        below += b;
        w |= a * kAboveBit | c * kCentreBit | b * kBelowBit;
        sum += w << ((w & kCentreAlive) >> 4);  // a live centre counts its window twice
        const uint32_t e = table[w];
        // The store is unconditional; only a live result keeps it.
        *out = x - 1;
        out += (e & kNextAlive) >> 9;
        if constexpr (kListening) {
            if (e & kBorn) listener->OnCellBorn(x - 1);
            else if (e & kDied) listener->OnCellDied(x - 1);
        }
        w = e & kWindowMask;
        ++x;
        ++visited;
    }
    signature += sum;
    windows += visited;
    return static_cast<uint32_t>(out - outStart);
}

// Cells one beyond the bounds must stay clear of the row end marker and of 32-bit overflow.
bool CoordinatesAllowGrowth(const CLRect& b) {
    return b.left > -2147483647 && b.right < 2147483645 && b.top > -2147483647 && b.bottom < 2147483645;
}

}  // namespace

std::unique_ptr<CGrowableUniverse> CGrowableUniverse::Grow(GrowListener* listener) { return Grow(listener, nullptr); }

std::unique_ptr<CGrowableUniverse> CGrowableUniverse::Grow(GrowListener* listener, GrowStatistics* statistics) {
    Consolidate();
    CUniverseUse hold(*this);
    const TransitionTable& table = GetRule(ruleCode_).Table();
    const bool wide = (ruleCode_ & 0xC00) != 0;  // births on 1 or 2 neighbours reach further
    signature_ = 0;
    auto result = NewSibling(generation_ + 1);
    if (!firstRow_) return result;
    // Growth is not asked for beyond the limits (CheckGrowable); refusing here keeps the sweep's
    // coordinate arithmetic in range whatever the caller did.
    if (!CoordinatesAllowGrowth(bounds_)) throw CErrorException(msg::GameTooBig);

    GrowStatistics counted;
    try {
        if (listener) listener->OnGrowBegin(*this);

        const uint64_t p = population_, m = maxRowPopulation_, k = wide ? 3 : 1;
        uint64_t capacity;
        if (p < 10000) capacity = (3 * k + 1) * p + kRowOverheadWords;
        else if (m > 10000) capacity = 3 * k * m + kRowOverheadWords;
        else capacity = std::max<uint64_t>(wide ? 90000 : 30000, 3 * k * m + kRowOverheadWords);
        result->rowHeap_.Create(static_cast<uint32_t>(capacity));

        CRowBuilder builder(*result);
        uint32_t signature = 0;
        const CRow* above = kNoRow;
        const CRow* centre = kNoRow;
        const CRow* below = firstRow_;
        const CRow* next = firstRow_->next;
        int32_t y = firstRow_->y - 1;
        for (;;) {
            const uint32_t need = static_cast<uint32_t>(k * (uint64_t{above->count} + centre->count + below->count));
            CRow* row = builder.Reserve(y, need);
            if (listener) listener->OnGrowRow(y);
            RowSweep sweep{above->Cells(), centre->Cells(), below->Cells(), row->Cells()};
            row->count = listener ? SweepRow<true>(sweep, table.data(), signature, counted.windowsVisited, listener)
                                  : SweepRow<false>(sweep, table.data(), signature, counted.windowsVisited, nullptr);
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
