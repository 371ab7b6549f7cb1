#pragma once
// What automatic stop asks of pattern recognition: which parts of a group of cells are known ships, with
// their place, period and movement. Recognition lives above the games; the application installs an
// implementation in the game registry, and without one no ship is ever recognised.
#include <cstdint>
#include <vector>

#include "foundation/geometry.h"

namespace tessera {

class CUniverse;

// One recognised placement of a library pattern of type Ship.
struct CRecognisedShip {
    CLRect bounds;       // its cells' bounds in the classified universe
    int32_t period = 1;  // generations per period
    int32_t dx = 0;      // displacement per period, in the orientation in which it was found
    int32_t dy = 0;
    std::vector<CLPoint> cells;  // its live cells in the classified universe
};

struct CShipClassification {
    std::vector<CRecognisedShip> ships;
    uint32_t otherCount = 0;    // recognised placements of any other type
    bool unclassified = false;  // some cells matched no library pattern
};

class CShipRecognition {
public:
    virtual ~CShipRecognition() = default;
    // Classifies every object of the cells against the loaded libraries.
    virtual CShipClassification Classify(CUniverse& cells) = 0;
};

}  // namespace tessera
