#include "patterns/component_index.h"

#include "engine/growable_universe.h"
#include "engine/split_objects.h"
#include "patterns/discriminator_tree.h"
#include "patterns/pattern.h"

namespace tessera {
namespace {

uint32_t nextComponentSerial = 0;

CComponentOrder OrderOf(CUniverse& universe, uint32_t serial) {
    return {universe.GetSignature(), universe.Population(), serial};
}

std::unique_ptr<CUniverse> CopyOf(CUniverse& universe) {
    auto copy = std::make_unique<CGrowableUniverse>();
    copy->SetRuleCode(universe.GetRuleCode());
    PasteFrom(*copy, universe);
    copy->Consolidate();
    return copy;
}

// Removes every reference to pattern from refs; the number removed.
int RemoveReferencesTo(CDeque<CComponentBackReference>& refs, const CPattern& pattern) {
    int removed = 0;
    for (CComponentBackReference* r = refs.First(); r;) {
        CComponentBackReference* next = r->Next();
        if (r->ref.pattern == &pattern) {
            delete r;
            ++removed;
        }
        r = next;
    }
    return removed;
}

}  // namespace

bool operator<(const CPatternRef& a, const CPatternRef& b) {
    const uint32_t sa = a.pattern ? a.pattern->SerialNumber() : 0;
    const uint32_t sb = b.pattern ? b.pattern->SerialNumber() : 0;
    if (sa != sb) return sa < sb;
    if (a.transform != b.transform) return a.transform < b.transform;
    return a.phase < b.phase;
}

CComponentKey::CComponentKey(CUniverse& universe) : universe_(universe), key_(OrderOf(universe, 0)) {}

CComponent::CComponent(CUniverse& shape) : shape_(CopyOf(shape)) {
    key_ = OrderOf(*shape_, ++nextComponentSerial);
}

CComponent::~CComponent() = default;

void CComponent::SetTree(std::unique_ptr<CDiscriminatorTree> tree) { tree_ = std::move(tree); }

void CComponent::DiscardTree() { tree_.reset(); }

void CComponent::AddReference(const CPatternRef& ref, uint32_t phasePopulation) {
    auto* entry = new CComponentBackReference(ref, phasePopulation);
    if (phasePopulation == key_.population) {
        whole_.PushBack(entry);
        ++wholeCount_;
    } else {
        // Larger phases first: a new reference goes before the first one whose phase is not larger.
        CComponentBackReference* before = partial_.First();
        while (before && before->phasePopulation > phasePopulation) before = before->Next();
        if (before)
            CDeque<CComponentBackReference>::InsertBefore(entry, before);
        else
            partial_.PushBack(entry);
        ++partialCount_;
    }
    DiscardTree();
}

bool CComponent::RemovePatternReferences(CPattern& pattern) {
    partialCount_ -= RemoveReferencesTo(partial_, pattern);
    wholeCount_ -= RemoveReferencesTo(whole_, pattern);
    DiscardTree();
    return partial_.IsEmpty() && whole_.IsEmpty();
}

CComponentFinder::~CComponentFinder() { DestroyAll(); }

void CComponentFinder::DestroyAll() {
    for (CComponent* component : Components()) {
        RemoveObject(component);
        delete component;
    }
}

std::vector<CComponent*> CComponentFinder::Components() const {
    std::vector<CComponent*> all;
    for (CDictRefNode<CComponentBase>* n = First(); n; n = Next(n))
        all.push_back(static_cast<CComponent*>(n->Object()));
    return all;
}

CComponentFinder& TheComponentFinder() {
    static CComponentFinder finder;
    return finder;
}

CComponent* FindComponent(CUniverse& universe) {
    const CComponentKey probe(universe);
    const CComponentOrder key = probe.Key();
    CComponentFinder& finder = TheComponentFinder();
    for (CDictRefNode<CComponentBase>* node = finder.CeilingNode(key); node;
         node = CComponentFinder::Next(node)) {
        auto* component = static_cast<CComponent*>(node->Object());
        const CComponentOrder entry = component->Key();
        if (entry.signature != key.signature || entry.population != key.population) break;
        CLSize shift;
        if (IsSameUniverse(component->Shape(), universe, shift)) return component;
    }
    return nullptr;
}

CComponent& GetOrAddComponent(CUniverse& universe) {
    if (CComponent* found = FindComponent(universe)) return *found;
    auto component = std::make_unique<CComponent>(universe);
    TheComponentFinder().InsertObject(component.get());
    return *component.release();
}

void RemovePatternFromIndex(CPattern& pattern) {
    CComponentFinder& finder = TheComponentFinder();
    for (CComponent* component : finder.Components()) {
        if (!component->RemovePatternReferences(pattern)) continue;
        finder.RemoveObject(component);
        delete component;
    }
}

void AddPhasePlacement(CUniverse& phase, const CPatternRef& ref) {
    const uint32_t phasePopulation = phase.Population();
    SplitIntoObjects(phase, [&](CUniverse& object) {
        CComponent& component = GetOrAddComponent(object);
        CLSize shift;  // from the object to the component's shape
        IsSameUniverse(object, component.Shape(), shift);
        CPatternRef placed = ref;
        placed.offsetX = shift.cx;
        placed.offsetY = shift.cy;
        component.AddReference(placed, phasePopulation);
    });
}

}  // namespace tessera
