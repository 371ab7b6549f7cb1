#include "engine/split_objects.h"

#include <memory>

#include "engine/searchable_universe.h"

namespace tessera {

void RemoveCells(CUniverse& universe, CUniverse& object) { RemoveCellsOf(universe, object); }

void SplitIntoObjects(CUniverse& universe, const std::function<void(CUniverse& object)>& action) {
    CSearchableUniverse work(universe);
    while (work.Population() > 0) {
        std::unique_ptr<CUniverse> object = ConnectedCells(work, work.FirstCell(), UniverseLimits);
        action(*object);
        RemoveCells(work, *object);
    }
}

}  // namespace tessera
