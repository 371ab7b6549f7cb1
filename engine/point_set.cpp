#include "engine/point_set.h"

#include <limits>
#include <new>

#include "foundation/far_pool.h"

namespace tessera {

CFarPool& PointSetNodePool() {
    static CFarPool pool(10000, sizeof(CPointSetNode), "CPointSetNode");
    return pool;
}

void* CPointSetNode::operator new(std::size_t size) {
    if (size > PointSetNodePool().ElementSize()) throw std::bad_alloc();
    return PointSetNodePool().Allocate();
}

void CPointSetNode::operator delete(void* p) noexcept { PointSetNodePool().Free(p); }

EPointState CPointSet::StateOf(CLPoint point) const {
    const CPointSetNode* node = Find(point);
    return node ? node->state : EPointState::None;
}

EPointState CPointSet::Record(CLPoint point, EPointState state) {
    CPointSetNode* node = Find(point);
    if (!node) {
        if (state != EPointState::None) {
            Insert(new CPointSetNode(point, state));
            ++count_;
        }
        return EPointState::None;
    }
    const EPointState old = node->state;
    if (state == EPointState::None || (old == EPointState::Added && state == EPointState::Removed)) {
        Remove(node);
        delete node;
        --count_;
    } else {
        node->state = state;
    }
    return old;
}

int64_t CPointSet::NetAddedInRow(int32_t y) const {
    int64_t added = 0;
    for (const CPointSetNode* node = Ceiling({std::numeric_limits<int32_t>::min(), y});
         node && node->Key().y == y; node = Next(node)) {
        added += node->state == EPointState::Added ? 1 : -1;
    }
    return added;
}

}  // namespace tessera
