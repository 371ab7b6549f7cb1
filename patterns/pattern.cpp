#include "patterns/pattern.h"

#include <algorithm>
#include <climits>
#include <ctime>

#include "config/parameters.h"
#include "engine/transform.h"
#include "engine/universe.h"
#include "patterns/pattern_info.h"
#include "patterns/recognition_port.h"

namespace tessera {
namespace {

uint32_t gNextSerial = 0;
uint32_t gNextUseStamp = 0;
int32_t gLivePatterns = 0;

// Same cells up to translation; empty universes are alike wherever they are said to be.
bool SameShape(CUniverse& a, CUniverse& b, CLSize& offset) {
    offset = {};
    if (a.Population() != b.Population()) return false;
    if (a.Population() == 0) return true;
    return IsSameUniverse(a, b, offset);
}

// The cells as a sorted list, moved so that the smallest coordinates are 0.
std::vector<CLPoint> NormalisedCells(std::vector<CLPoint> cells) {
    int32_t left = INT32_MAX, top = INT32_MAX;
    for (const CLPoint& p : cells) {
        left = std::min(left, p.x);
        top = std::min(top, p.y);
    }
    for (CLPoint& p : cells) p = {p.x - left, p.y - top};
    std::sort(cells.begin(), cells.end(),
              [](CLPoint a, CLPoint b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    return cells;
}

// Compared on plain lists: turned copies as universes would cost a universe each.
bool IsInvariantUnder(const std::vector<CLPoint>& cells, int transform) {
    std::vector<CLPoint> turned;
    turned.reserve(cells.size());
    const CTransform turn(0, 0, transform);
    for (const CLPoint& p : cells) turned.push_back(turn.Apply(p));
    return NormalisedCells(std::move(turned)) == cells;
}

CPatternUniverse* AsPatternUniverse(CUniverse* universe) { return static_cast<CPatternUniverse*>(universe); }

int DistinctIndex(EPatternSymmetry symmetry, int orientation) {
    int index = 0;
    for (const int d : DistinctOrientations(symmetry)) {
        if (d == orientation) return index;
        ++index;
    }
    return -1;
}

}  // namespace

CDeque<CPattern>& CPattern::AllPatterns() {
    static CDeque<CPattern> patterns;
    return patterns;
}

int32_t CPattern::LiveCount() { return gLivePatterns; }

CPattern::CPattern(CUniverse& source) : serial_(gNextSerial++), creationTime_(std::time(nullptr)) {
    AllPatterns().PushBack(this);
    ++gLivePatterns;
    CTransform toOrigin;
    if (source.Population() != 0) {
        const CLRect bounds = source.GetBounds();
        toOrigin = CTransform(-bounds.left, -bounds.top, 0);
    }
    base_ = new CPatternUniverse(source, toOrigin);
    generations_.PushBack(base_);
    ComputeSymmetry();
    otherOrientations_ = std::vector<CDeque<CUniverse>>(DistinctOrientations(symmetry_).size());
}

CPattern::~CPattern() {
    if (recognizable_ == ERecognizable::Yes) {
        if (CRecognitionIndexPort* index = RecognitionIndex()) index->RemovePattern(*this);
    }
    auto discardAll = [](CDeque<CUniverse>& list) {
        while (CUniverse* universe = list.First()) {
            universe->Unlink();
            universe->Discard();
        }
    };
    discardAll(generations_);
    for (CDeque<CUniverse>& list : otherOrientations_) discardAll(list);
    --gLivePatterns;
}

std::unique_ptr<CPattern> CPattern::Create(CUniverse& source, ERecognizable request) {
    std::unique_ptr<CPattern> pattern(new CPattern(source));
    pattern->SetRecognizable(request);
    return pattern;
}

void CPattern::SetNamed(CNamedPattern* named, std::string fullName) {
    named_ = named;
    fullName_ = std::move(fullName);
}

// Invariance is tested in an order that stops at the first decision.
void CPattern::ComputeSymmetry() {
    std::vector<CLPoint> base;
    base.reserve(base_->Population());
    for (ExplorePtr cells = RequireExploration(base_->ExploreAll()); cells->Next();)
        base.push_back(cells->Current());
    base = NormalisedCells(std::move(base));
    if (IsInvariantUnder(base, 2)) {
        if (IsInvariantUnder(base, 5))
            symmetry_ = IsInvariantUnder(base, 1) ? EPatternSymmetry::Final : EPatternSymmetry::Diagonal180;
        else if (IsInvariantUnder(base, 1))
            symmetry_ = EPatternSymmetry::Horizontal;
        else if (IsInvariantUnder(base, 4))
            symmetry_ = EPatternSymmetry::Rotational;
        else
            symmetry_ = EPatternSymmetry::Reflected180;
    } else if (IsInvariantUnder(base, 5)) {
        symmetry_ = EPatternSymmetry::Vertical;
    } else if (IsInvariantUnder(base, 7)) {
        symmetry_ = EPatternSymmetry::MinorDiagonal;
    } else if (IsInvariantUnder(base, 4)) {
        symmetry_ = EPatternSymmetry::All;
    } else if (IsInvariantUnder(base, 6)) {
        symmetry_ = EPatternSymmetry::MajorDiagonal;
    } else {
        symmetry_ = EPatternSymmetry::None;
    }
}

CDeque<CUniverse>& CPattern::CacheOf(int orientation) {
    const int index = orientation == 0 ? -1 : DistinctIndex(symmetry_, orientation);
    return index < 0 ? generations_ : otherOrientations_[static_cast<size_t>(index)];
}

CPatternUniverse& CPattern::CachedGeneration(int orientation, int32_t phase) {
    if (DistinctIndex(symmetry_, orientation) < 0) orientation = 0;
    CDeque<CUniverse>& list = CacheOf(orientation);
    CUniverse* at = nullptr;
    for (CUniverse* u = list.First(); u && u->Generation() <= phase; u = u->Next()) at = u;
    if (!at) {  // only another orientation's generation 0 can be missing
        at = new CPatternUniverse(*base_, CTransform(0, 0, orientation));
        list.PushFront(at);
    }
    while (at->Generation() < phase) {
        CUniverse* next = AsPatternUniverse(at)->GrowPattern().release();
        CDeque<CUniverse>::InsertAfter(next, at);
        at = next;
    }
    return *AsPatternUniverse(at);
}

int32_t CPattern::CycleLength() const {
    if (cycleStart_ <= 0) return period_;
    return period_ > cycleStart_ ? period_ - cycleStart_ : 1;  // a doomed pattern stays empty
}

EPatternType CPattern::Classify(int32_t maxCycle) {
    period_ = cycleStart_ = foldPeriod_ = 0;
    foldTransform_ = 0;
    velocity_ = {};
    EPatternType result = EPatternType::Unstable;
    std::vector<CPatternUniverse*> seen{base_};
    for (int32_t g = 1; g <= maxCycle; ++g) {
        CPatternUniverse& newest = CachedGeneration(0, g);
        seen.push_back(&newest);
        int32_t e = 0;
        CLSize offset;
        while (e < g && !SameShape(*seen[static_cast<size_t>(e)], newest, offset)) ++e;
        if (e == g) continue;
        period_ = foldPeriod_ = g - e;
        cycleStart_ = e;
        velocity_ = offset;
        if (e >= 1 && seen[static_cast<size_t>(e)]->Population() != 0) {
            result = EPatternType::Precursor;
            period_ = g;
        } else if (e >= 1) {
            result = EPatternType::Doomed;
            period_ = e;
        } else if (velocity_ != CLSize{}) {
            result = EPatternType::Ship;
        } else if (period_ != 1) {
            result = EPatternType::Oscillator;
            FoldSearch();
        } else {
            result = EPatternType::Still;
        }
        break;
    }
    ReleaseUnusedGenerations();
    declaredType_ = classifiedType_ = result;
    return result;
}

// The first generation that is generation 0 turned or reflected: later phases follow from earlier ones
// by that transform.
void CPattern::FoldSearch() {
    for (int32_t h = 1; h < period_; ++h) {
        CPatternUniverse& phase = CachedGeneration(0, h);
        CUniverseUse hold(phase);
        for (const int d : DistinctOrientations(symmetry_)) {
            CLSize offset;
            if (SameShape(phase, CachedGeneration(d, 0), offset)) {
                foldPeriod_ = h;
                foldTransform_ = d;
                return;
            }
        }
    }
}

EPatternType CPattern::GetType() {
    if (declaredType_ == EPatternType::Unknown) Classify(params::PatternMaxCycle.GetInt());
    return declaredType_;
}

CPatternUniverse& CPattern::GetPatternGeneration(int transform, int32_t generation) {
    if (generation < 0) generation = 0;
    int orientation = CanonicalOrientation(symmetry_, transform);
    int32_t phase = generation;
    const int32_t length = CycleLength();
    if (period_ > 0 && length > 0 && generation >= cycleStart_) {
        phase = (generation - cycleStart_) % length + cycleStart_;
        if (cycleStart_ == 0 && foldPeriod_ >= 1 && foldPeriod_ < period_) {
            int folded = 0;
            while (phase > foldPeriod_) {
                phase -= foldPeriod_;
                folded = ComposeOrientations(folded, foldTransform_);
            }
            // Generation n is the phase carried by the fold transform once per fold; transform applies
            // after that.
            orientation = CanonicalOrientation(symmetry_, ComposeOrientations(folded, transform & 7));
        }
    }
    CPatternUniverse& result = CachedGeneration(orientation, phase);
    useStamp_ = ++gNextUseStamp;
    CUniverseUse hold(result);
    EnforceCacheLimit(&result);
    return result;
}

int32_t CPattern::PhaseCount() const {
    if (foldPeriod_ != 0) return foldPeriod_;
    if (period_ != 0) return period_;
    return 1;
}

void CPattern::ForEachPhaseAndOrientation(CUniverseHelper& visitor, int32_t count) {
    if (count <= 0) count = PhaseCount();
    for (int32_t phase = 0; phase < count; ++phase) {
        auto visit = [&](int orientation) {
            CPatternUniverse& universe = GetPatternGeneration(orientation, phase);
            CUniverseUse hold(universe);
            visitor.Visit(*this, universe, phase, orientation);
        };
        visit(0);
        for (const int d : DistinctOrientations(symmetry_)) visit(d);
    }
}

int32_t CPattern::CachedGenerationCount() const {
    int32_t count = generations_.Count();
    for (const CDeque<CUniverse>& list : otherOrientations_) count += list.Count();
    return count;
}

bool CPattern::ReleaseUnusedGenerations() {
    bool released = false;
    auto releaseFrom = [&](CDeque<CUniverse>& list) {
        for (CUniverse* u = list.First(); u;) {
            CUniverse* next = u->Next();
            if (u != base_ && u->UseCount() <= 0) {
                u->Unlink();
                delete u;
                released = true;
            }
            u = next;
        }
    };
    releaseFrom(generations_);
    for (CDeque<CUniverse>& list : otherOrientations_) releaseFrom(list);
    return released;
}

void CPattern::EnforceCacheLimit(CUniverse* keep) {
    const int32_t limit = params::PatternUniverseLimit.GetInt();
    CUniverseUse hold(*keep);
    while (CPatternUniverse::LiveCount() > gLivePatterns + limit) {
        // The least recently used pattern that holds a generation nobody uses.
        CPattern* oldest = nullptr;
        for (CPattern* p = AllPatterns().First(); p; p = p->Next()) {
            if (oldest && p->useStamp_ >= oldest->useStamp_) continue;
            bool releasable = false;
            auto scan = [&](const CDeque<CUniverse>& list) {
                for (CUniverse* u = list.First(); u && !releasable; u = u->Next())
                    releasable = u != p->base_ && u->UseCount() <= 0;
            };
            scan(p->generations_);
            for (const CDeque<CUniverse>& list : p->otherOrientations_) scan(list);
            if (releasable) oldest = p;
        }
        if (!oldest || !oldest->ReleaseUnusedGenerations()) return;
    }
}

bool CPattern::DefaultRuleHolds() {
    switch (GetType()) {
        case EPatternType::Still:
        case EPatternType::Oscillator:
        case EPatternType::Ship:
        case EPatternType::Gun:
        case EPatternType::Puffer:
            break;
        default:
            return false;
    }
    return base_->Population() <= params::DefaultPatternRecogPopLimit.GetUInt() &&
           period_ <= params::DefaultPatternRecogPeriodLimit.GetInt();
}

void CPattern::SetRecognizable(ERecognizable request) {
    if (request == recognizable_) return;
    if (request == ERecognizable::ByDefaultRule) {
        request = DefaultRuleHolds() ? ERecognizable::Yes : ERecognizable::No;
        if (request == recognizable_) return;
    }
    CRecognitionIndexPort* index = RecognitionIndex();
    if (request == ERecognizable::Yes) {
        GetType();
        recognizable_ = ERecognizable::Yes;
        if (index) index->AddPattern(*this);
    } else {
        if (index) index->RemovePattern(*this);
        recognizable_ = ERecognizable::No;
    }
}

void CPattern::ReapplyRecognizable() {
    if (recognizable_ != ERecognizable::Yes) return;
    if (CRecognitionIndexPort* index = RecognitionIndex()) {
        index->RemovePattern(*this);
        index->AddPattern(*this);
    }
}

void CPattern::SetDeclaredProperties(EPatternType type, int32_t period, int32_t velocityX,
                                     int32_t velocityY) {
    declaredType_ = type;
    if (type == EPatternType::Unstable) {
        period_ = 0;
        velocity_ = {};
    } else {
        period_ = period < 0 ? 0 : period;
        velocity_ = {velocityX, velocityY};
    }
    ReapplyRecognizable();
}

void CPattern::TakeStoredProperties(const CPatternInfo& info) {
    if (declaredType_ != EPatternType::Unknown) return;
    // A record that cannot describe a cycle is left to classification.
    const bool knownType = info.type >= EPatternType::Still && info.type <= EPatternType::Doomed;
    if (!knownType || info.period < 0 || info.cycleStart < 0 || info.foldPeriod < 0 ||
        info.foldPeriod > info.period || info.foldTransform >= static_cast<uint32_t>(kOrientationCount))
        return;
    declaredType_ = classifiedType_ = info.type;
    period_ = info.period;
    cycleStart_ = info.cycleStart;
    foldPeriod_ = info.foldPeriod;
    foldTransform_ = static_cast<int>(info.foldTransform);
    velocity_ = info.velocity;
}

void CPattern::TakeDeclaredProperties(const CPatternInfo& info) {
    const bool knownType = info.type >= EPatternType::Still && info.type <= EPatternType::Doomed;
    if (!knownType || declaredType_ == EPatternType::Unknown) return;
    if (info.type != declaredType_ || (info.WritesPeriod() && info.period != period_))
        SetDeclaredProperties(info.type, info.period, info.velocity.cx, info.velocity.cy);
}

CPatternInfo CPattern::Info() const {
    CPatternInfo info;
    info.pattern = const_cast<CPattern*>(this);
    info.symmetry = symmetry_;
    info.period = period_;
    info.cycleStart = cycleStart_;
    info.foldPeriod = foldPeriod_;
    info.type = declaredType_;
    info.foldTransform = static_cast<uint32_t>(foldTransform_);
    info.velocity = velocity_;
    info.recognizable = static_cast<int32_t>(recognizable_);
    return info;
}

}  // namespace tessera
