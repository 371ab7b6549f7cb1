#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine/split_objects.h"
#include "support/cells.h"

namespace tessera::test {
namespace {

// Objects in a canonical order, so that two splits compare equal whatever order they come in.
std::vector<std::vector<CLPoint>> Canonical(const std::vector<Cells>& objects) {
    std::vector<std::vector<CLPoint>> out;
    for (const Cells& o : objects) out.emplace_back(o.begin(), o.end());
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), CellLess());
    });
    return out;
}

std::vector<Cells> Objects(CUniverse& universe) {
    std::vector<Cells> out;
    SplitIntoObjects(universe, [&](CUniverse& object) { out.push_back(CellsOf(object)); });
    return out;
}

// The reference: 8-connected components by a plain flood fill.
std::vector<Cells> ReferenceObjects(const Cells& cells) {
    std::vector<Cells> out;
    Cells left = cells;
    while (!left.empty()) {
        Cells object;
        std::vector<CLPoint> stack = {*left.begin()};
        left.erase(left.begin());
        while (!stack.empty()) {
            const CLPoint c = stack.back();
            stack.pop_back();
            object.insert(c);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (auto it = left.find({c.x + dx, c.y + dy}); it != left.end()) {
                        stack.push_back(*it);
                        left.erase(it);
                    }
        }
        out.push_back(object);
    }
    return out;
}

TEST(SplitIntoObjects, RandomSoupsMatchAFloodFill) {
    std::mt19937 random(4242);
    for (int round = 0; round < 30; ++round) {
        Cells cells;
        const int percent = 5 + random() % 40;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                if (static_cast<int>(random() % 100) < percent) cells.insert({x - 20, y * 3 / 2});
        auto u = MakeUniverse(cells);
        EXPECT_EQ(Canonical(ReferenceObjects(cells)), Canonical(Objects(*u))) << "round " << round;
        EXPECT_EQ(CellsOf(*u), cells) << "the universe itself is not changed";
    }
    CGrowableUniverse empty;
    EXPECT_TRUE(Objects(empty).empty());
}

}  // namespace
}  // namespace tessera::test
