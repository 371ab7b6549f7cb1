// One generation on bit tiles. The cells and the listener calls are those of the row sweep; only the
// arithmetic differs. The tiles pass from each generation to the one grown from it, so a long growth
// reads the rows in once. Unless a listener hears the step (a window then draws the new generation),
// the grown generation gets no rows: they are made when something reads its cells, which most
// generations of a long growth never see before the game trims them.
#include <memory>

#include "engine/bit_field.h"
#include "engine/grow_listener.h"
#include "engine/grow_sizing.h"
#include "engine/growable_universe.h"
#include "engine/packed_tiles.h"
#include "foundation/errors.h"
#include "rules/rules.h"

namespace tessera {
namespace {

EGrowthEngine gGrowthEngine = EGrowthEngine::Tiles;

}  // namespace

void SetGrowthEngine(EGrowthEngine engine) { gGrowthEngine = engine; }
EGrowthEngine GrowthEngine() { return gGrowthEngine; }

// Tiles step only where a change reaches, so they serve sparse patterns as well as dense ones; the row
// sweep stays as the reference.
std::unique_ptr<CGrowableUniverse> CGrowableUniverse::Grow(CGrowListener* listener) {
    if (gGrowthEngine == EGrowthEngine::Tiles) return GrowWithTiles(listener);
    Consolidate();  // the sweep reads rows
    field_.reset();
    return Grow(listener, nullptr);
}

std::unique_ptr<CGrowableUniverse> CGrowableUniverse::GrowWithTiles(CGrowListener* listener) {
    // A listener hears the rows visited, which follow the source's rows.
    if (listener || !rowsMissing_) Consolidate();
    CUniverseUse hold(*this);
    GetRule(ruleCode_);  // keeps the rule's use stamp fresh, as every growth does
    const bool wide = BirthsOnFewNeighbours(ruleCode_);
    auto result = NewSibling(generation_ + 1);
    if (population_ == 0) return result;
    if (!CoordinatesAllowGrowth(bounds_)) throw CErrorException(msg::GameTooBig);

    // Taken out for the step: after a failure neither generation holds half-stepped tiles.
    std::unique_ptr<CBitField> field = std::move(field_);
    // Without rows, this generation keeps the way to its cells before the tiles move on: the stretch
    // of replayed generations it belongs to, or, where a stretch ends, its cells packed. The grown
    // generation continues the stretch.
    std::shared_ptr<const CPackedTiles> base = packed_;
    uint32_t steps = 1;
    try {
        if (listener) listener->OnGrowBegin(*this);
        if (!field) field = TilesOfCells();
        if (!base && rowsMissing_) {
            if (replayBase_ && replayRule_ == ruleCode_ && replaySteps_ < kReplayStretch) {
                base = replayBase_;
                steps = replaySteps_ + 1;
            } else {
                packed_ = field->Pack();
                replayBase_.reset();
                base = packed_;
            }
        }
        field->Step(ruleCode_);
        if (!listener) {
            const CFieldTotals totals = field->Totals();
            result->population_ = totals.population;
            result->rowCount_ = totals.rowCount;
            result->bounds_ = totals.bounds;
            result->maxRowPopulation_ = totals.largestBand;  // a bound until the rows are made
            result->rowsMissing_ = totals.population != 0;
            result->field_ = std::move(field);
            if (base && result->rowsMissing_) {
                result->replayBase_ = std::move(base);
                result->replaySteps_ = steps;
                result->replayRule_ = ruleCode_;
            }
            return result;
        }
        result->rowHeap_.Create(GrownRowHeapCapacity(wide, population_, maxRowPopulation_));

        CRowBuilder builder(*result);
        field->BeginReadOut();
        const CRow empty{nullptr, 0, 0};
        const CRow* above = &empty;
        const CRow* centre = &empty;
        const CRow* below = firstRow_;
        const CRow* next = firstRow_->next;
        int32_t y = firstRow_->y - 1;
        for (;;) {
            CRow* row = builder.Reserve(y, OutputRowBound(wide, above->count, centre->count, below->count));
            if (listener) listener->OnGrowRow(y);
            row->count = field->ReadRow(y, row->Cells(), listener);
            builder.Append(row);
            if (listener) listener->OnGrowRowEnd();

            // The rows next to a source row, as the row sweep visits them.
            if (centre != &empty || below != &empty) {
                ++y;
                above = centre;
                centre = below;
                if (next && next->y == y + 1) {
                    below = next;
                    next = next->next;
                } else {
                    below = &empty;
                }
            } else if (next) {
                y = next->y - 1;
                above = &empty;
                centre = &empty;
                below = next;
                next = next->next;
            } else {
                break;
            }
        }
        builder.Finish();
        if (listener) listener->OnGrowEnd(*result);
    } catch (...) {
        // Tiles that were this generation's only copy of its cells (packing them failed) stay.
        if (rowsMissing_ && !packed_ && !replayBase_) field_ = std::move(field);
        if (listener) listener->OnGrowEnd(*this);
        throw;
    }
    result->field_ = std::move(field);
    return result;
}

}  // namespace tessera
