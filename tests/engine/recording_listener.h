#pragma once
// A growth listener that writes down every call as text, for comparing call sequences.
#include <string>
#include <vector>

#include "engine/grow_listener.h"
#include "engine/universe.h"

namespace tessera::test {

class RecordingListener : public CGrowListener {
public:
    std::vector<std::string> calls;
    CUniverse* begun = nullptr;
    CUniverse* ended = nullptr;

    void OnGrowBegin(CUniverse& source) override {
        begun = &source;
        calls.push_back("begin");
    }
    void OnGrowRow(int32_t y) override { calls.push_back("row " + std::to_string(y)); }
    void OnCellBorn(int32_t x) override { calls.push_back("born " + std::to_string(x)); }
    void OnCellDied(int32_t x) override { calls.push_back("died " + std::to_string(x)); }
    void OnGrowRowEnd() override { calls.push_back("rowend"); }
    void OnGrowEnd(CUniverse& universe) override {
        ended = &universe;
        calls.push_back("end");
    }
};

}  // namespace tessera::test
