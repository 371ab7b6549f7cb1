#pragma once
// The pending-edit overlay of a growable universe: cells whose state differs from what the rows say,
// ordered by y, then x.
#include <cstddef>
#include <cstdint>

#include "foundation/dict.h"
#include "foundation/geometry.h"

namespace tessera {

class CFarPool;

enum class EPointState : uint8_t {
    None = 0,     // no pending edit: the rows are right
    Added = 2,    // alive although the rows say dead
    Removed = 3,  // dead although the rows say alive
};

class CPointSetNode : public CDictScalarNode<CPointSetNode, CLPoint> {
public:
    CPointSetNode(CLPoint point, EPointState s) : CDictScalarNode<CPointSetNode, CLPoint>(point), state(s) {}

    // Nodes come from the "CPointSetNode" pool.
    static void* operator new(std::size_t size);
    static void operator delete(void* p) noexcept;

    EPointState state;
};

// The "CPointSetNode" pool (10000 nodes per chunk).
CFarPool& PointSetNodePool();

class CPointSet : public CDictScalar<CPointSetNode, CLPoint> {
public:
    uint32_t Count() const { return count_; }
    EPointState StateOf(CLPoint point) const;
    // Records a new state for point and answers the old one. Asking an Added node to become Removed
    // deletes it (the rows do not hold the cell); None deletes the node.
    EPointState Record(CLPoint point, EPointState state);
    // Added minus Removed nodes with this y: how much row y grows when the edits are folded in.
    int64_t NetAddedInRow(int32_t y) const;

private:
    uint32_t count_ = 0;
};

}  // namespace tessera
