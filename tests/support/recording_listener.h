#pragma once
// A growth listener that writes down every call as text, and the calls one step must make.
#include <string>
#include <vector>

#include "engine/grow_listener.h"
#include "engine/universe.h"
#include "support/cells.h"

namespace tessera::test {

class RecordingListener : public CGrowListener {
public:
    std::vector<std::string> calls;
    CUniverse* begun = nullptr;
    CUniverse* ended = nullptr;

    void OnGrowBegin(CUniverse& source) override;
    void OnGrowRow(int32_t y) override;
    void OnCellBorn(int32_t x) override;
    void OnCellDied(int32_t x) override;
    void OnGrowRowEnd() override;
    void OnGrowEnd(CUniverse& universe) override;
};

// The calls a listener sees for one step from cells to next: "begin", then for every row within one
// of a live cell "row y", its births and deaths left to right ("born x", "died x") and "rowend";
// then "end". No calls at all for no cells.
std::vector<std::string> ExpectedCalls(const Cells& cells, const Cells& next);

}  // namespace tessera::test
