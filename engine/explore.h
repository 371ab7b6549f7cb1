#pragma once
// Explorations: cursors over the live cells of any universe. They come from one fixed pool of slots;
// creating one when every slot is taken yields none (a null pointer), never a silent failure.
#include <cstddef>
#include <memory>

#include "engine/transform.h"
#include "foundation/geometry.h"

namespace tessera {

// Held by a cell exploration before its first step, and after its last.
inline constexpr CLPoint kExploreStartPoint{-2147483647, -2147483647};
inline constexpr CLPoint kExploreEndPoint{2147483646, 2147483646};
// The current x of a row exploration whose row has no further cell.
inline constexpr int32_t kRowEndX = 2147483646;

inline constexpr int kExplorationSlots = 32;
inline constexpr std::size_t kExplorationSlotSize = 96;

// Exploration objects live in the slots of the exploration pool. The allocation function does not
// throw: a new-expression yields nullptr when the pool is exhausted.
class CExplorationSlot {
public:
    static void* operator new(std::size_t size) noexcept;
    static void operator delete(void* slot) noexcept;
    // Slots in use right now (for tests and diagnostics).
    static int SlotsInUse();
};

// Use: call Next before the first Current; read Current after each Next that answered true.
class CExploreContext : public CExplorationSlot {
public:
    virtual ~CExploreContext() = default;
    virtual bool Next() = 0;
    virtual CLPoint Current() const = 0;
    virtual bool AtEnd() const = 0;
};

// Use: each NextRow that answers true is followed by NextCell calls until one answers false.
class CExploreRowContext : public CExplorationSlot {
public:
    virtual ~CExploreRowContext() = default;
    virtual bool NextCell() = 0;
    virtual bool NextRow() = 0;
    virtual CLPoint Current() const = 0;
    virtual bool AtEnd() const = 0;
    virtual bool RowEnd() const = 0;
};

// Destroying the pointer returns the slot to the pool. Null when the pool was exhausted.
using ExplorePtr = std::unique_ptr<CExploreContext>;
using ExploreRowPtr = std::unique_ptr<CExploreRowContext>;

// Provides Current and AtEnd for cell explorations that keep their current point.
class CExplorePrimCtx : public CExploreContext {
public:
    CLPoint Current() const override { return current_; }
    bool AtEnd() const override { return current_ == kExploreEndPoint; }

protected:
    CLPoint current_ = kExploreStartPoint;
};

// The cells of an inner exploration, each mapped by a transform, in the inner order.
class CExploreTransform : public CExploreContext {
public:
    CExploreTransform(ExplorePtr inner, const CTransform& transform)
        : inner_(std::move(inner)), transform_(transform) {}
    bool Next() override { return inner_->Next(); }
    CLPoint Current() const override { return transform_.Apply(inner_->Current()); }
    bool AtEnd() const override { return inner_->AtEnd(); }

private:
    ExplorePtr inner_;
    CTransform transform_;
};

// A transformed exploration that owns inner; none when inner is none or no slot is free.
ExplorePtr Transformed(ExplorePtr inner, const CTransform& transform);

// The exploration, or CErrorException when the pool was exhausted (for operations that cannot go on).
ExplorePtr RequireExploration(ExplorePtr exploration);
ExploreRowPtr RequireExploration(ExploreRowPtr exploration);

}  // namespace tessera
