#include "foundation/hash_set.h"

namespace tessera {

CFarPool& HashEntryPool() {
    static CFarPool pool(10000, sizeof(CHashEntry<CLPoint>), "CSearchableUniverse::hash_t::entry_t");
    return pool;
}

}  // namespace tessera
