#include "patterns/library_ship_recognition.h"

#include <algorithm>

#include "engine/growable_universe.h"
#include "engine/transform.h"
#include "patterns/classify_universe.h"
#include "patterns/pattern.h"

namespace tessera {

CShipClassification CLibraryShipRecognition::Classify(CUniverse& cells) {
    CCensusResult record;
    ClassifyUniverse(record, cells, 0, kClassifyListShips);
    CShipClassification result;
    result.otherCount = record.otherCount;
    result.unclassified = record.unclassifiable->Population() > 0;
    for (const CObj* obj = record.objects.First(); obj; obj = obj->Next()) {
        CPattern& pattern = *obj->pattern;
        CRecognisedShip ship;
        ship.period = std::max(pattern.Period(), 1);
        const CLPoint move =
            CTransform(0, 0, obj->transform).Apply({pattern.Velocity().cx, pattern.Velocity().cy});
        ship.dx = move.x;
        ship.dy = move.y;
        CUniverse& phase = pattern.GetPatternGeneration(obj->transform, obj->phase);
        CUniverseUse use(phase);
        ship.bounds = EmptyRect;
        ExplorePtr e = phase.ExploreAll();
        while (e->Next()) {
            const CLPoint p{e->Current().x + obj->offsetX, e->Current().y + obj->offsetY};
            ship.cells.push_back(p);
            ship.bounds.left = std::min(ship.bounds.left, p.x),
            ship.bounds.right = std::max(ship.bounds.right, p.x + 1);
            ship.bounds.top = std::min(ship.bounds.top, p.y),
            ship.bounds.bottom = std::max(ship.bounds.bottom, p.y + 1);
        }
        result.ships.push_back(std::move(ship));
    }
    return result;
}

}  // namespace tessera
