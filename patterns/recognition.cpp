#include "patterns/recognition.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "config/parameters.h"
#include "engine/growable_universe.h"
#include "engine/searchable_universe.h"
#include "engine/transform.h"
#include "patterns/component_index.h"
#include "patterns/discriminator_tree.h"
#include "patterns/pattern.h"
#include "patterns/recognition_port.h"

namespace tessera {
namespace {

// What surrounds a pattern over its cycle: every phase of orientation 0 at each of the nine offsets
// around it. The phases are grown from the base universe, so each stands where growth puts it, not where
// the cache serves a folded phase from another orientation. Placements name phases below the fold, which
// the cache serves from the orientation's own growth, so the envelope turned with the placement fits.
using CEnvelope = std::unique_ptr<CSearchableUniverse>;

struct CRecognitionState {
    std::map<const CPattern*, CEnvelope> envelopes;
    int libraryActivity = 0;
};

CRecognitionState& State() {
    static CRecognitionState state;
    return state;
}

int32_t EnvelopePhases(CPattern& pattern) {
    if (pattern.DeclaredType() == EPatternType::Precursor || pattern.Period() <= 0) return 1;
    return pattern.Period();
}

CEnvelope BuildEnvelope(CPattern& pattern) {
    auto envelope = std::make_unique<CSearchableUniverse>();
    std::unique_ptr<CGrowableUniverse> generation = pattern.Base().Clone();
    const int32_t phases = EnvelopePhases(pattern);
    for (int32_t phase = 0; phase < phases; ++phase) {
        if (phase > 0) generation = generation->Grow(nullptr);
        ExplorePtr e = generation->ExploreAll();
        while (e->Next()) {
            const CLPoint p = e->Current();
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) envelope->SetCell(p.x + dx, p.y + dy);
        }
    }
    return envelope;
}

class CRecognitionIndex : public CRecognitionIndexPort {
public:
    void AddPattern(CPattern& pattern) override { AddPatternToIndex(pattern); }
    void RemovePattern(CPattern& pattern) override { RemovePatternFromRecognition(pattern); }
};

CRecognitionIndex theIndex;

class CPhaseIndexer : public CPattern::CUniverseHelper {
public:
    void Visit(CPattern& pattern, CPatternUniverse& universe, int32_t phase, int transform) override {
        CUniverseUse use(universe);
        AddPhasePlacement(universe, CPatternRef{&pattern, 0, 0, transform, phase});
    }
};

bool MayBuildTree(const CComponent& component) {
    return !CLibraryActivity::Busy() && component.Key().population <= params::MaxDiscriminatorPop.GetUInt() &&
           component.PartialCount() > 1 &&
           static_cast<uint32_t>(component.PartialCount()) >= params::MinDiscriminatorReferences.GetUInt();
}

CPatternRef Shifted(const CPatternRef& ref, CLSize offset) {
    CPatternRef placed = ref;
    placed.offsetX += offset.cx;
    placed.offsetY += offset.cy;
    return placed;
}

// Among refs, the verified placement with the smallest phase (the earlier on ties).
bool BestVerified(const CDeque<CComponentBackReference>& refs, CLSize offset, CUniverse& world,
                  CPatternRef& placement) {
    bool found = false;
    for (const CComponentBackReference* r = refs.First(); r; r = r->Next()) {
        if (found && r->ref.phase >= placement.phase) continue;
        const CPatternRef candidate = Shifted(r->ref, offset);
        if (VerifyPlacement(candidate, world)) placement = candidate, found = true;
    }
    return found;
}

}  // namespace

CLibraryActivity::CLibraryActivity() { ++State().libraryActivity; }
CLibraryActivity::~CLibraryActivity() { --State().libraryActivity; }
bool CLibraryActivity::Busy() { return State().libraryActivity > 0; }

void InstallRecognition() { InstallRecognitionIndex(&theIndex); }

void ResetRecognition() {
    if (RecognitionIndex() == &theIndex) InstallRecognitionIndex(nullptr);
    TheComponentFinder().DestroyAll();
    State().envelopes.clear();
}

void AddPatternToIndex(CPattern& pattern) {
    CPatternUniverse& base = pattern.Base();
    if (base.Population() == 0) return;
    // A pattern whose shape is already indexed under another pattern only points to that one.
    std::unique_ptr<CUniverse> first = ConnectedCells(base, base.FirstCell(), UniverseLimits);
    CPatternRef existing;
    if (FindComponent(*first) && Recognise(*first, base, existing) && existing.pattern != &pattern) {
        CUniverse& phase = existing.pattern->GetPatternGeneration(existing.transform, existing.phase);
        if (phase.Population() == base.Population()) {
            pattern.SetDuplicateOf(existing.pattern);
            existing.pattern->SetDuplicateCount(existing.pattern->DuplicateCount() + 1);
            return;
        }
    }
    CPhaseIndexer indexer;
    pattern.ForEachPhaseAndOrientation(indexer, pattern.DeclaredType() == EPatternType::Precursor ? 1 : 0);
    State().envelopes[&pattern] = BuildEnvelope(pattern);
}

void RemovePatternFromRecognition(CPattern& pattern) {
    RemovePatternFromIndex(pattern);
    State().envelopes.erase(&pattern);
    std::vector<CPattern*> duplicates;
    for (CPattern* p = CPattern::AllPatterns().First(); p; p = p->Next()) {
        if (p->DuplicateOf() != &pattern) continue;
        p->SetDuplicateOf(nullptr);
        duplicates.push_back(p);
    }
    pattern.SetDuplicateCount(0);
    // The earliest created duplicate takes the place of the pattern; the others become its duplicates.
    std::stable_sort(duplicates.begin(), duplicates.end(),
                     [](CPattern* a, CPattern* b) { return a->CreationTime() < b->CreationTime(); });
    for (CPattern* duplicate : duplicates) AddPatternToIndex(*duplicate);
    if (CPattern* target = pattern.DuplicateOf()) {
        target->SetDuplicateCount(target->DuplicateCount() - 1);
        pattern.SetDuplicateOf(nullptr);
    }
}

bool VerifyPlacement(const CPatternRef& placement, CUniverse& world) {
    CPattern& pattern = *placement.pattern;
    if (world.GetRuleCode() != pattern.Base().GetRuleCode()) return false;
    CPatternUniverse& phase = pattern.GetPatternGeneration(placement.transform, placement.phase);
    CUniverseUse use(phase);
    {
        ExplorePtr e = phase.ExploreAll();
        while (e->Next()) {
            const CLPoint p = e->Current();
            if (!world.IsAlive(p.x + placement.offsetX, p.y + placement.offsetY)) return false;
        }
    }
    const auto found = State().envelopes.find(&pattern);
    if (found == State().envelopes.end()) return true;  // not indexed: no halo known
    const CTransform turn(0, 0, placement.transform);
    ExplorePtr e = found->second->ExploreAll();
    while (e->Next()) {
        const CLPoint local = turn.Apply(e->Current());
        if (phase.IsAlive(local.x, local.y)) continue;
        if (world.IsAlive(local.x + placement.offsetX, local.y + placement.offsetY)) return false;
    }
    return true;
}

bool Recognise(CUniverse& object, CUniverse& world, CPatternRef& placement) {
    CComponent* component = FindComponent(object);
    if (!component) return false;
    CLSize offset;  // from the component's shape to the object
    if (!IsSameUniverse(component->Shape(), object, offset)) return false;
    if (!component->Tree() && MayBuildTree(*component))
        component->SetTree(CDiscriminatorTree::Build(*component));
    if (const CDiscriminatorTree* tree = component->Tree()) {
        const CComponentBackReference* found = tree->Find(
            world, offset,
            [&](const CComponentBackReference& r) { return VerifyPlacement(Shifted(r.ref, offset), world); });
        if (found) {
            placement = Shifted(found->ref, offset);
            return true;
        }
        // The tree covers the partial references; a piece that is a whole phase is tried below.
    } else if (BestVerified(component->PartialReferences(), offset, world, placement)) {
        return true;
    }
    return BestVerified(component->WholeReferences(), offset, world, placement);
}

}  // namespace tessera
