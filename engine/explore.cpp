#include "engine/explore.h"

#include "foundation/messages.h"
#include "foundation/errors.h"
#include "foundation/near_pool.h"

namespace tessera {
namespace {

CNearPool& ExplorationPool() {
    static CNearPool pool(kExplorationSlots, kExplorationSlotSize);
    return pool;
}

int slotsInUse = 0;

}  // namespace

void* CExplorationSlot::operator new(std::size_t size) noexcept {
    if (size > kExplorationSlotSize) return nullptr;
    void* slot = ExplorationPool().Take();
    if (slot) ++slotsInUse;
    return slot;
}

void CExplorationSlot::operator delete(void* slot) noexcept {
    if (!slot) return;
    --slotsInUse;
    ExplorationPool().Give(slot);
}

int CExplorationSlot::SlotsInUse() { return slotsInUse; }

static_assert(sizeof(CExploreTransform) <= kExplorationSlotSize);

ExplorePtr Transformed(ExplorePtr inner, const CTransform& transform) {
    if (!inner) return nullptr;
    return ExplorePtr(new CExploreTransform(std::move(inner), transform));
}

ExplorePtr RequireExploration(ExplorePtr exploration) {
    if (!exploration) throw CErrorException(msg::TooManyExplorations);
    return exploration;
}

ExploreRowPtr RequireExploration(ExploreRowPtr exploration) {
    if (!exploration) throw CErrorException(msg::TooManyExplorations);
    return exploration;
}

}  // namespace tessera
