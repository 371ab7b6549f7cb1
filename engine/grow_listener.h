#pragma once
// Observers of one growth step.
#include <cstdint>

namespace tessera {

class CUniverse;

// Calls come in this order: OnGrowBegin(source); for each output row OnGrowRow(y), its births and deaths
// in ascending x, OnGrowRowEnd(); finally OnGrowEnd(result) — or OnGrowEnd(source) when growth failed.
class CGrowListener {
public:
    virtual ~CGrowListener() = default;
    virtual void OnGrowBegin(CUniverse& source) = 0;
    virtual void OnGrowRow(int32_t y) = 0;
    virtual void OnCellBorn(int32_t x) = 0;
    virtual void OnCellDied(int32_t x) = 0;
    virtual void OnGrowRowEnd() = 0;
    virtual void OnGrowEnd(CUniverse& universe) = 0;
};

// Work done by one growth step, for measurements.
struct CGrowStatistics {
    uint64_t windowsVisited = 0;
    uint64_t rowsVisited = 0;
};

}  // namespace tessera
