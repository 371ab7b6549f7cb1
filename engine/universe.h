#pragma once
// CUniverse: one configuration of live cells with its generation number and rule.
#include <cstdint>
#include <memory>

#include "engine/explore.h"
#include "foundation/deque.h"
#include "foundation/geometry.h"
#include "rules/rule_code.h"

namespace tessera {

class CGrowableUniverse;
class CGrowListener;

// Every universe can be in at most one deque of universes at a time (a game's generations, for example).
class CUniverse : public CDequeElement<CUniverse> {
public:
    CUniverse(const CUniverse&) = delete;
    CUniverse& operator=(const CUniverse&) = delete;
    ~CUniverse() override = default;

    // Owners' flag: SetModified always sets it, whatever the argument.
    virtual bool IsModified() const { return modified_; }
    virtual void SetModified(bool flag = true);
    virtual bool IsGrowable() const { return false; }
    virtual CGrowableUniverse& GetGrowable() = 0;
    // A new growable universe with the same generation, rule, cells and modified flag.
    [[nodiscard]] virtual std::unique_ptr<CGrowableUniverse> Clone() = 0;
    // Destroys the universe at once, or, while it is in use, unlinks it and parks it in
    // DiscardedUniverses until its last user releases it.
    virtual void Discard();
    // Translation-independent checksum of the cells; 0 for an empty universe.
    virtual uint32_t GetSignature() = 0;
    virtual bool SetCell(int32_t x, int32_t y) = 0;
    virtual bool ClearCell(int32_t x, int32_t y) = 0;
    virtual bool IsAlive(int32_t x, int32_t y) = 0;
    // First live cell of the area in (y, x) order, or kExploreEndPoint.
    virtual CLPoint FirstCellIn(const CLRect& area) = 0;
    virtual CLPoint FirstCell() = 0;
    [[nodiscard]] virtual std::unique_ptr<CGrowableUniverse> Grow(CGrowListener* listener) = 0;
    // 0, or the message number of the reason growth is refused.
    virtual int CheckGrowable() = 0;
    virtual CLRect GetBounds() = 0;
    [[nodiscard]] virtual ExplorePtr ExploreArea(const CLRect& area) = 0;
    [[nodiscard]] virtual ExplorePtr ExploreAll() = 0;
    [[nodiscard]] virtual ExplorePtr ExploreSorted() = 0;
    [[nodiscard]] virtual ExploreRowPtr ExploreRows(const CLRect& area) = 0;
    [[nodiscard]] virtual ExploreRowPtr ExploreAllRows() = 0;
    // Paints the live cells of rect into a 1-bit-per-pixel buffer, most significant bit first.
    // scale 1: one pixel per cell; scale -s (s a power of two): one pixel per s x s square;
    // scale 2 to 8: s x s pixels per cell of which the last g(s) columns and lines stay blank.
    virtual void RenderBits(uint8_t* buffer, const CLRect& rect, int bytesPerLine, int scale) = 0;
    virtual void Consolidate() = 0;

    uint32_t Population() const { return population_; }
    int32_t Generation() const { return generation_; }
    void SetGeneration(int32_t generation) { generation_ = generation; }
    RuleCode GetRuleCode() const { return ruleCode_; }
    void SetRuleCode(RuleCode code) { ruleCode_ = code; }
    // The signature last computed (0 when not computed yet).
    uint32_t KnownSignature() const { return signature_; }

    // Use counts protect a universe that an operation holds across work that may discard it.
    void Acquire() { ++useCount_; }
    void Release();
    int32_t UseCount() const { return useCount_; }
    bool IsDiscardPending() const { return discardPending_; }

protected:
    CUniverse() = default;
    void ExtendBounds(int32_t x, int32_t y);

    CLRect bounds_ = EmptyRect;
    uint32_t population_ = 0;
    int32_t generation_ = 0;
    uint32_t signature_ = 0;
    RuleCode ruleCode_ = 0;
    int32_t useCount_ = 0;
    bool modified_ = false;
    bool discardPending_ = false;
};

using UniversePtr = std::unique_ptr<CUniverse>;
using GrowablePtr = std::unique_ptr<CGrowableUniverse>;

// Holds a universe for the lifetime of the guard.
class CUniverseUse {
public:
    explicit CUniverseUse(CUniverse& universe) : universe_(universe) { universe_.Acquire(); }
    CUniverseUse(const CUniverseUse&) = delete;
    CUniverseUse& operator=(const CUniverseUse&) = delete;
    ~CUniverseUse() { universe_.Release(); }

private:
    CUniverse& universe_;
};

// Universes discarded while in use, waiting for their last release.
CDeque<CUniverse>& DiscardedUniverses();
// Destroys every universe still parked there (for resets between tests and at exit).
void DestroyDiscardedUniverses();

// Set operations between universes.
// Sets every cell of source here; a cell that was already alive is also set in collisions (if given).
void PasteFrom(CUniverse& target, CUniverse& source, CUniverse* collisions = nullptr);
void PasteFrom(CUniverse& target, CUniverse& source, const CLRect& area, CUniverse* collisions = nullptr);
void PasteFrom(CUniverse& target, CUniverse& source, const CTransform& transform,
               CUniverse* collisions = nullptr);
void PasteFromExploration(CUniverse& target, CExploreContext& cells, CUniverse* collisions = nullptr);
void RemoveCellsOf(CUniverse& target, CUniverse& source);
void RemoveCellsOf(CUniverse& target, CUniverse& source, const CTransform& transform);
// Merges two explorations in (y, x) order; each target (optional) receives its cells by SetCell.
void Difference(CExploreContext& a, CExploreContext& b, CUniverse* onlyA, CUniverse* onlyB, CUniverse* both);
// The cells of universe that other lacks, set into onlyThis (optionally only inside area).
void Difference(CUniverse& universe, CUniverse& other, CUniverse& onlyThis);
void Difference(CUniverse& universe, CUniverse& other, const CLRect& area, CUniverse& onlyThis);
// A new growable universe (generation 0, the rule of universe) holding the cells of universe that other
// lacks.
[[nodiscard]] GrowablePtr Minus(CUniverse& universe, CUniverse& other);
// Same cells up to a shift; the shift from a to b is reported in offset.
bool IsSameUniverse(CUniverse& a, CUniverse& b, CLSize& offset);
// Same cells in place.
bool IsSameUniverse(CUniverse& a, CUniverse& b);

}  // namespace tessera
