#pragma once
// The shape index on which recognition rests: every distinct shape (up to translation) that occurs as a
// separate piece of a recognisable pattern, in any phase and orientation, is held once as a component,
// with back references to the placements it occurs in. Lookups narrow by signature and population
// before comparing cells.
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/deque.h"
#include "foundation/dict.h"
#include "patterns/pattern_ref.h"

namespace tessera {

class CUniverse;
class CDiscriminatorTree;

// Index order: signature, then population, then serial number, all ascending.
struct CComponentOrder {
    uint32_t signature = 0;
    uint32_t population = 0;
    uint32_t serial = 0;
    auto operator<=>(const CComponentOrder&) const = default;
};

class CComponentBase {
public:
    virtual ~CComponentBase() = default;
    virtual CComponentOrder Key() const = 0;
    virtual CUniverse& Shape() const = 0;
    // Removes the references to pattern; true when none are left.
    virtual bool RemovePatternReferences(CPattern&) { return false; }
};

// A search probe wrapping a universe (not owned): serial 0 sorts it before every component of equal
// signature and population.
class CComponentKey : public CComponentBase {
public:
    explicit CComponentKey(CUniverse& universe);
    CComponentOrder Key() const override { return key_; }
    CUniverse& Shape() const override { return universe_; }

private:
    CUniverse& universe_;
    CComponentOrder key_;
};

// One placement a component occurs in: the offset brings the placed phase's piece onto the shape.
class CComponentBackReference : public CDequeElement<CComponentBackReference> {
public:
    CComponentBackReference(const CPatternRef& ref, uint32_t phasePopulation)
        : ref(ref), phasePopulation(phasePopulation) {}
    CPatternRef ref;
    uint32_t phasePopulation;
};

class CComponent : public CComponentBase {
public:
    // Holds a private copy of the cells of shape.
    explicit CComponent(CUniverse& shape);
    ~CComponent() override;

    CComponentOrder Key() const override { return key_; }
    CUniverse& Shape() const override { return *shape_; }
    bool RemovePatternReferences(CPattern& pattern) override;

    // Whole references when the placed phase is just this piece, else partial references (kept in
    // descending order of phase population). Either change discards the discriminator tree.
    void AddReference(const CPatternRef& ref, uint32_t phasePopulation);
    const CDeque<CComponentBackReference>& PartialReferences() const { return partial_; }
    const CDeque<CComponentBackReference>& WholeReferences() const { return whole_; }
    int PartialCount() const { return partialCount_; }
    int WholeCount() const { return wholeCount_; }

    // The discriminator tree, built by recognition when it may be (none until then).
    CDiscriminatorTree* Tree() const { return tree_.get(); }
    void SetTree(std::unique_ptr<CDiscriminatorTree> tree);

private:
    void DiscardTree();

    CComponentOrder key_;
    int partialCount_ = 0;
    int wholeCount_ = 0;
    std::unique_ptr<CUniverse> shape_;
    CTidyDeque<CComponentBackReference> partial_;
    CTidyDeque<CComponentBackReference> whole_;
    std::unique_ptr<CDiscriminatorTree> tree_;
};

// The process-wide index of components.
class CComponentFinder : public CDictKeyed<CComponentBase, CComponentOrder> {
public:
    ~CComponentFinder() override;
    // Destroys every component (for resets between tests and at exit).
    void DestroyAll();
    // The components, in index order.
    std::vector<CComponent*> Components() const;
};

CComponentFinder& TheComponentFinder();

// The component whose shape equals universe up to translation, or none.
CComponent* FindComponent(CUniverse& universe);
// FindComponent, or a new component holding a copy of universe.
CComponent& GetOrAddComponent(CUniverse& universe);
// Removes pattern's references from every component; components left empty are destroyed.
void RemovePatternFromIndex(CPattern& pattern);
// Enters every object of a phase universe (the pattern's generation for ref's transform and phase).
void AddPhasePlacement(CUniverse& phase, const CPatternRef& ref);

}  // namespace tessera
