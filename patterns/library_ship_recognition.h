#pragma once
// Automatic stop's view of recognition: the ships among a group of cells, named from the loaded
// libraries as the census names objects.
#include "games/ship_recognition.h"

namespace tessera {

class CLibraryShipRecognition : public CShipRecognition {
public:
    CShipClassification Classify(CUniverse& cells) override;
};

}  // namespace tessera
