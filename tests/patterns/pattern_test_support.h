#pragma once
// Helpers of the pattern tests: shapes normalised to the origin, turned by the orientation formulas,
// and a fake recognition index.
#include <vector>

#include "patterns/pattern.h"
#include "patterns/recognition_port.h"
#include "support/cells.h"

namespace tessera::test {

// The orientation formulas, written out independently of the engine.
inline Cells Turned(const Cells& cells, int orientation) {
    Cells out;
    for (const CLPoint& p : cells) {
        const int32_t x = p.x, y = p.y;
        const CLPoint images[8] = {{x, y}, {-y, x}, {-x, -y}, {y, -x}, {-y, -x}, {x, -y}, {y, x}, {-x, y}};
        out.insert(images[orientation]);
    }
    return out;
}

inline Cells ShapeOf(CUniverse& universe) { return Normalised(CellsOf(universe)); }

// Records the calls the patterns make, and installs itself for its lifetime.
class CFakeRecognitionIndex : public CRecognitionIndexPort {
public:
    CFakeRecognitionIndex() { InstallRecognitionIndex(this); }
    ~CFakeRecognitionIndex() override { InstallRecognitionIndex(nullptr); }
    void AddPattern(CPattern& pattern) override { added.push_back(pattern.SerialNumber()); }
    void RemovePattern(CPattern& pattern) override { removed.push_back(pattern.SerialNumber()); }
    std::vector<uint32_t> added;
    std::vector<uint32_t> removed;
};

}  // namespace tessera::test
