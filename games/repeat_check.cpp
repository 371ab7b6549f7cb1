#include "games/repeat_check.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>

#include "config/parameters.h"
#include "engine/growable_universe.h"
#include "engine/split_objects.h"
#include "engine/universe.h"
#include "foundation/messages.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "games/ship_recognition.h"

namespace tessera {
namespace {

constexpr int32_t kNever = INT32_MAX;  // next check generation: no further exact comparison
constexpr int64_t kUnboundedLow = INT32_MIN;
constexpr int64_t kUnboundedHigh = INT32_MAX;

int32_t MaxCycle() { return params::GameMaxCycle.GetInt(); }

// The first period p whose last 2p + 1 signatures, ending at generation g, repeat with period p.
int32_t FindCandidatePeriod(const CSignatureRing& ring, int32_t g) {
    const uint32_t newest = ring.At(g);
    for (int32_t p = 1; p < MaxCycle() && g - p >= 0; ++p) {
        if (!ring.Holds(g - p) || !ring.Holds(int64_t(g) - 2 * int64_t(p))) return 0;
        if (ring.At(g - p) != newest || ring.At(g - 2 * p) != newest) continue;
        bool repeats = true;
        for (int32_t i = 0; i < p && repeats; ++i) repeats = ring.At(g - 2 * p + i) == ring.At(g - p + i);
        if (repeats) return p;
    }
    return 0;
}

int32_t Saturate(int64_t value) { return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

// The interval along one axis for extents [a0, a1) and [b0, b1).
CGenerationInterval AxisInterval(int32_t a0, int32_t a1, int64_t da, int32_t b0, int32_t b1, int64_t db,
                                 int64_t pa, int64_t pb, int32_t t0) {
    // Boxes one cell apart still touch: widen both by a cell.
    const int64_t aLow = Saturate(int64_t(a0) - 1), aHigh = Saturate(int64_t(a1) + 1);
    const int64_t bLow = Saturate(int64_t(b0) - 1), bHigh = Saturate(int64_t(b1) + 1);
    const int64_t u = da * pb, w = db * pa;
    if (u == w) {
        if (aHigh >= bLow && aLow <= bHigh) return {kUnboundedLow, kUnboundedHigh};
        return {0, 0};
    }
    // F gains on S by v cells every P generations.
    const bool aFaster = u > w;
    const int64_t fLow = aFaster ? aLow : bLow, fHigh = aFaster ? aHigh : bHigh;
    const int64_t sLow = aFaster ? bLow : aLow, sHigh = aFaster ? bHigh : aHigh;
    const int64_t v = std::llabs(u - w), period = pa * pb;
    return {t0 + (sLow - fHigh) * period / v, t0 + (sHigh - fLow) * period / v};
}

// Adds an interval to a hull; an empty one adds nothing.
void Unite(CGenerationInterval& hull, const CGenerationInterval& interval) {
    if (interval.IsEmpty()) return;
    if (hull.IsEmpty()) {
        hull = interval;
        return;
    }
    hull.low = std::min(hull.low, interval.low);
    hull.high = std::max(hull.high, interval.high);
}

GrowablePtr UniverseOfCells(const std::vector<CLPoint>& a, const std::vector<CLPoint>& b, RuleCode rule) {
    auto universe = std::make_unique<CGrowableUniverse>();
    universe->SetRuleCode(rule);
    for (const CLPoint& p : a) universe->SetCell(p.x, p.y);
    for (const CLPoint& p : b) universe->SetCell(p.x, p.y);
    return universe;
}

// Whether the universe grown some generations gives the same cells up to a shift (or dies out).
bool RegrowsAsOneUnit(CGrowableUniverse& start, int64_t generations) {
    GrowablePtr u = start.Clone();
    for (int64_t i = 0; i < generations; ++i) {
        if (u->CheckGrowable() != 0) return false;
        u = u->Grow(nullptr);
    }
    CLSize shift;
    return IsSameUniverse(*u, start, shift);
}

// Two ships that travel together, touching, unless they move as one unit.
bool TravelApartOrMeet(const CRecognisedShip& a, const CRecognisedShip& b, RuleCode rule) {
    GrowablePtr together = UniverseOfCells(a.cells, b.cells, rule);
    const int64_t generations = a.period == b.period ? a.period : int64_t(a.period) * b.period;
    return !RegrowsAsOneUnit(*together, generations);
}

CMovingBody BodyOf(const CRecognisedShip& ship) { return {ship.bounds, ship.period, ship.dx, ship.dy}; }

// The generations during which the ships may still meet each other or the box of the periodic rest.
CGenerationInterval ShipsMeetingInterval(const std::vector<CRecognisedShip>& ships, const CLRect& rest,
                                         int32_t t0, RuleCode rule) {
    CGenerationInterval hull{0, 0};
    for (size_t i = 0; i < ships.size(); ++i) {
        for (size_t j = i + 1; j < ships.size(); ++j) {
            const CGenerationInterval meet = MeetingInterval(BodyOf(ships[i]), BodyOf(ships[j]), t0);
            if (meet.IsEmpty()) continue;
            if (meet.IsUnbounded()) {
                if (TravelApartOrMeet(ships[i], ships[j], rule)) Unite(hull, meet);
            } else if (meet.high >= 1) {
                Unite(hull, meet);
            }
        }
        if (!rest.IsValid()) continue;  // nothing periodic is left to meet
        const CGenerationInterval meet = MeetingInterval(BodyOf(ships[i]), CMovingBody{rest, 1, 0, 0}, t0);
        if (!meet.IsEmpty() && meet.high >= 1) Unite(hull, meet);
    }
    return hull;
}

CLRect UniteRects(const CLRect& a, const CLRect& b) {
    if (!a.IsValid()) return b;
    if (!b.IsValid()) return a;
    return {std::min(a.left, b.left), std::max(a.right, b.right), std::min(a.top, b.top),
            std::max(a.bottom, b.bottom)};
}

}  // namespace

bool CGenerationInterval::IsUnbounded() const { return low == kUnboundedLow && high == kUnboundedHigh; }

CGenerationInterval MeetingInterval(const CMovingBody& a, const CMovingBody& b, int32_t t0) {
    const CGenerationInterval x = AxisInterval(a.bounds.left, a.bounds.right, a.dx, b.bounds.left,
                                               b.bounds.right, b.dx, a.period, b.period, t0);
    const CGenerationInterval y = AxisInterval(a.bounds.top, a.bounds.bottom, a.dy, b.bounds.top,
                                               b.bounds.bottom, b.dy, a.period, b.period, t0);
    if (x.IsEmpty() || y.IsEmpty()) return {0, 0};
    return {std::max(x.low, y.low), std::min(x.high, y.high)};
}

CComparison CompareGenerations(CUniverse& newer, CUniverse& older, int32_t span,
                               CShipRecognition* recognition) {
    CUniverseUse holdNewer(newer), holdOlder(older);
    CLSize shift;
    if (IsSameUniverse(newer, older, shift))
        return {shift == CLSize{} ? msg::RepeatInPlace : msg::RepeatMoved, 0};

    // C: the objects of the older generation that hold a cell the newer one lacks; R: the rest.
    GrowablePtr lost = Minus(older, newer);
    GrowablePtr changed = std::make_unique<CGrowableUniverse>();
    changed->SetRuleCode(older.GetRuleCode());
    SplitIntoObjects(older, [&](CUniverse& object) {
        ExplorePtr cells = object.ExploreAll();
        while (cells->Next()) {
            if (lost->IsAlive(cells->Current().x, cells->Current().y)) {
                PasteFrom(*changed, object);
                return;
            }
        }
    });
    GrowablePtr rest = older.Clone();
    RemoveCellsOf(*rest, *changed);

    // The rest must repeat in place over the span; X is the box it sweeps on the way.
    CLRect sweep = rest->GetBounds();
    GrowablePtr grown = rest->Clone();
    for (int32_t i = 0; i < span; ++i) {
        if (i > 0) sweep = UniteRects(sweep, grown->GetBounds());
        if (grown->Population() != 0 && grown->CheckGrowable() != 0) return {msg::RepeatSimilar, 0};
        grown = grown->Grow(nullptr);
    }
    if (!IsSameUniverse(*grown, *rest)) return {msg::RepeatSimilar, 0};

    if (!recognition) return {msg::RepeatSimilar, 0};
    const CShipClassification found = recognition->Classify(*changed);
    if (found.ships.empty() || found.otherCount != 0 || found.unclassified) return {msg::RepeatSimilar, 0};

    const int32_t t0 = older.Generation();
    const CGenerationInterval meet =
        ShipsMeetingInterval(found.ships, rest->Population() ? sweep : EmptyRect, t0, older.GetRuleCode());
    if (meet.IsEmpty() || meet.high < t0) return {msg::NotInteresting, 0};
    if (meet.high >= kUnboundedHigh) return {msg::RepeatSimilar, 0};
    return {msg::RepeatWait, int32_t(meet.high)};
}

int CheckRepeat(CGame& game) {
    CUniverse* previous = game.PreviousGeneration();
    if (!previous) return 0;
    CUniverse& q = *previous;
    const int32_t g = q.Generation();
    CRepeatState& state = game.Repeat();
    CSignatureRing& ring = game.SignatureRing();

    // Generations grown while automatic stop was off left no signatures: start the ring afresh here so
    // that each entry stays with its own generation.
    if (int64_t(ring.Base()) + ring.Count() != g) {
        ring.Restart(g);
        state.Clear();
    }
    const uint32_t signature = q.GetSignature();
    ring.Add(signature);
    if (state.period == 0) {
        if (const int32_t p = FindCandidatePeriod(ring, g)) {
            state.cycleStart = g - 2 * p;
            state.period = p;
            state.multiple = 0;
        }
    }
    if (state.period == 0) return 0;

    if (game.Generation() < state.nextCheck) {
        const int32_t back = g - state.period;
        if (!ring.Holds(back) || ring.At(back) != signature) state.Clear();
        return 0;
    }

    const int32_t span = (state.multiple + 1) * state.period;
    CUniverseUse holdNewer(q);
    CUniverse* older = game.GetGeneration(g - span);
    if (!older) return 0;
    const CComparison result = CompareGenerations(q, *older, span, game.Registry().ShipRecognition());
    switch (result.code) {
        case msg::RepeatInPlace:
        case msg::RepeatMoved:
        case msg::NotInteresting:
            state.nextCheck = kNever;
            return result.code;
        case msg::RepeatWait:
            state.nextCheck = result.waitGeneration;
            return 0;
        default:
            if (state.multiple < params::GameMaxCycleCheck.GetInt() &&
                (state.multiple + 1) * state.period < MaxCycle()) {
                state.multiple += 1;
                state.nextCheck = (state.multiple + 1) * state.period + state.cycleStart;
                return 0;
            }
            return msg::RepeatSimilar;
    }
}

void ToggleAutostop(CGame* current) {
    if (current) current->Repeat().ClearCandidate();
    params::AutoStopGrow.SetInt(params::AutoStopGrow.GetInt() != 0 ? 0 : 1);
    SaveAllParametersIfAuto();
}

CRepeatReport GetRepeat(CGame& game) {
    const CRepeatState& state = game.Repeat();
    return {state.cycleStart, (state.multiple + 1) * state.period, state.period != 0};
}

std::string RepeatMessage(CGame& game, int code) {
    const CRepeatReport repeat = GetRepeat(game);
    if (code == msg::NotInteresting) return FormatMessage(code, std::to_string(repeat.start));
    return FormatMessage(code, std::to_string(repeat.start + repeat.span), std::to_string(repeat.start));
}

bool IsRepeatReport(int messageId) {
    return messageId == msg::RepeatInPlace || messageId == msg::RepeatMoved ||
           messageId == msg::RepeatSimilar || messageId == msg::NotInteresting;
}

}  // namespace tessera
