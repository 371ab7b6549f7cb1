#pragma once
// Ownership helpers for universes, which live by use counts: a universe is discarded by its owner and
// destroyed once no operation holds it any more.
#include <memory>

#include "engine/growable_universe.h"
#include "engine/universe.h"
#include "foundation/deque.h"

namespace tessera {

struct CDiscardUniverse {
    void operator()(CUniverse* universe) const { universe->Discard(); }
};
// A universe owned alone, discarded when the owner lets go.
using UniverseRef = std::unique_ptr<CUniverse, CDiscardUniverse>;

// Takes over a universe the engine has just made (a clone or a grown generation).
inline UniverseRef Owned(GrowablePtr universe) { return UniverseRef(universe.release()); }

// A game's stored generations in increasing generation number; it owns them and discards them all when
// it is destroyed.
class CGenerationList {
public:
    CGenerationList() = default;
    CGenerationList(CGenerationList&& other) noexcept { other.list_.MoveAllTo(list_); }
    CGenerationList& operator=(CGenerationList&&) = delete;
    ~CGenerationList() { DiscardAll(); }

    CUniverse* First() const { return list_.First(); }
    CUniverse* Last() const { return list_.Last(); }
    bool IsEmpty() const { return list_.IsEmpty(); }
    int Count() const { return list_.Count(); }

    void PushBack(UniverseRef universe) { list_.PushBack(universe.release()); }
    CUniverse* InsertAfter(UniverseRef universe, CUniverse* position) {
        CUniverse* raw = universe.release();
        CDeque<CUniverse>::InsertAfter(raw, position);
        return raw;
    }
    // Unlinks and discards one stored generation.
    static void Discard(CUniverse* universe) {
        universe->Unlink();
        universe->Discard();
    }
    void DiscardAll() {
        while (CUniverse* universe = list_.First()) Discard(universe);
    }

private:
    CDeque<CUniverse> list_;
};

}  // namespace tessera
