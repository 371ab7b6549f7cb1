#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "engine/growable_universe.h"
#include "engine/split_objects.h"

using namespace tessera;

namespace {

using Cell = std::pair<int32_t, int32_t>;
using Cells = std::set<Cell>;

Cells CellsOf(CUniverse& universe) {
    Cells cells;
    ExplorePtr e = RequireExploration(universe.ExploreAll());
    while (e->Next()) cells.insert({e->Current().x, e->Current().y});
    return cells;
}

std::unique_ptr<CGrowableUniverse> MakeUniverse(const Cells& cells) {
    auto u = std::make_unique<CGrowableUniverse>();
    for (const Cell& c : cells) u->SetCell(c.first, c.second);
    return u;
}

std::vector<Cells> Objects(CUniverse& universe) {
    std::vector<Cells> out;
    SplitIntoObjects(universe, [&](CUniverse& object) { out.push_back(CellsOf(object)); });
    return out;
}

// The reference: 8-connected components by a plain flood fill.
std::set<Cells> ReferenceObjects(const Cells& cells) {
    std::set<Cells> out;
    Cells left = cells;
    while (!left.empty()) {
        Cells object;
        std::vector<Cell> stack = {*left.begin()};
        left.erase(left.begin());
        while (!stack.empty()) {
            const Cell c = stack.back();
            stack.pop_back();
            object.insert(c);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (auto it = left.find({c.first + dx, c.second + dy}); it != left.end()) {
                        stack.push_back(*it);
                        left.erase(it);
                    }
        }
        out.insert(object);
    }
    return out;
}

}  // namespace

TEST(SplitIntoObjects, TouchingCornersJoinAndAGapSeparates) {
    auto diagonal = MakeUniverse({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 2}, {3, 2}, {2, 3}, {3, 3}});
    EXPECT_EQ(1u, Objects(*diagonal).size());
    auto apart = MakeUniverse({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {3, 0}, {4, 0}, {3, 1}, {4, 1}});
    EXPECT_EQ(2u, Objects(*apart).size());
    auto single = MakeUniverse({{-7, 9}});
    EXPECT_EQ((std::vector<Cells>{{{-7, 9}}}), Objects(*single));
    CGrowableUniverse empty;
    EXPECT_TRUE(Objects(empty).empty());
    // The universe itself is not changed.
    EXPECT_EQ(8u, apart->Population());
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
        const std::vector<Cells> objects = Objects(*u);
        EXPECT_EQ(ReferenceObjects(cells), std::set<Cells>(objects.begin(), objects.end()))
            << "round " << round;
        EXPECT_EQ(objects.size(), std::set<Cells>(objects.begin(), objects.end()).size());
    }
}

TEST(RemoveCells, ClearsExactlyTheObjectsCells) {
    auto u = MakeUniverse({{0, 0}, {1, 0}, {5, 5}});
    auto object = MakeUniverse({{0, 0}, {1, 0}, {9, 9}});
    RemoveCells(*u, *object);
    EXPECT_EQ((Cells{{5, 5}}), CellsOf(*u));
}
