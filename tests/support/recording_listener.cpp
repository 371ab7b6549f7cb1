#include "support/recording_listener.h"

#include <map>
#include <set>

namespace tessera::test {

void RecordingListener::OnGrowBegin(CUniverse& source) {
    begun = &source;
    calls.push_back("begin");
}
void RecordingListener::OnGrowRow(int32_t y) { calls.push_back("row " + std::to_string(y)); }
void RecordingListener::OnCellBorn(int32_t x) { calls.push_back("born " + std::to_string(x)); }
void RecordingListener::OnCellDied(int32_t x) { calls.push_back("died " + std::to_string(x)); }
void RecordingListener::OnGrowRowEnd() { calls.push_back("rowend"); }
void RecordingListener::OnGrowEnd(CUniverse& universe) {
    ended = &universe;
    calls.push_back("end");
}

std::vector<std::string> ExpectedCalls(const Cells& cells, const Cells& next) {
    if (cells.empty()) return {};
    std::set<int32_t> rows;
    for (const CLPoint& p : cells) {
        for (int dy = -1; dy <= 1; ++dy) rows.insert(p.y + dy);
    }
    std::map<int32_t, std::map<int32_t, std::string>> changes;  // y -> x -> report
    for (const CLPoint& p : next) {
        if (!cells.count(p)) changes[p.y][p.x] = "born " + std::to_string(p.x);
    }
    for (const CLPoint& p : cells) {
        if (!next.count(p)) changes[p.y][p.x] = "died " + std::to_string(p.x);
    }
    std::vector<std::string> calls{"begin"};
    for (int32_t y : rows) {
        calls.push_back("row " + std::to_string(y));
        for (const auto& [x, report] : changes[y]) calls.push_back(report);
        calls.push_back("rowend");
    }
    calls.push_back("end");
    return calls;
}

}  // namespace tessera::test
