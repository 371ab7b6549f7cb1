#pragma once
// Universes, cell sets and fakes shared by the game tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <set>
#include <utility>
#include <vector>

#include "config/parameters.h"
#include "engine/grow_listener.h"
#include "engine/growable_universe.h"
#include "games/front_end.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "games/generation_list.h"

namespace tessera::testing {

using Cells = std::set<std::pair<int32_t, int32_t>>;

inline UniverseRef MakeUniverse(std::initializer_list<std::pair<int32_t, int32_t>> cells) {
    UniverseRef universe = Owned(std::make_unique<CGrowableUniverse>());
    for (auto [x, y] : cells) universe->SetCell(x, y);
    return universe;
}

inline UniverseRef RPentomino() { return MakeUniverse({{1, 0}, {2, 0}, {0, 1}, {1, 1}, {1, 2}}); }
inline UniverseRef Glider() { return MakeUniverse({{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}); }
inline UniverseRef Blinker() { return MakeUniverse({{0, 0}, {1, 0}, {2, 0}}); }

// The live cells, read cell by cell inside the bounds (independent of the explorations).
inline Cells CellsOf(CUniverse& universe) {
    Cells cells;
    CLRect bounds = universe.GetBounds();
    for (int32_t y = bounds.top; y < bounds.bottom; ++y)
        for (int32_t x = bounds.left; x < bounds.right; ++x)
            if (universe.IsAlive(x, y)) cells.insert({x, y});
    return cells;
}

// Generations 0..count of a start universe, grown directly one after another.
inline std::vector<Cells> GrowDirectly(CUniverse& start, int count) {
    std::vector<Cells> history;
    UniverseRef u = Owned(start.Clone());
    history.push_back(CellsOf(*u));
    for (int i = 0; i < count; ++i) {
        UniverseRef next = Owned(u->Grow(nullptr));
        u = std::move(next);
        history.push_back(CellsOf(*u));
    }
    return history;
}

inline std::vector<int32_t> StoredGenerations(const CGame& game) {
    std::vector<int32_t> numbers;
    for (CUniverse* u = game.Generations().First(); u; u = u->Next()) numbers.push_back(u->Generation());
    return numbers;
}

// Counts births and deaths reported during growth.
class CountingListener : public CGrowListener {
public:
    void OnGrowBegin(CUniverse&) override { ++begins; }
    void OnGrowRow(int32_t) override {}
    void OnCellBorn(int32_t) override { ++births; }
    void OnCellDied(int32_t) override { ++deaths; }
    void OnGrowRowEnd() override {}
    void OnGrowEnd(CUniverse&) override { ++ends; }
    int begins = 0, births = 0, deaths = 0, ends = 0;
};

// A universe window that shows a game.
class FakeGameWindow : public CDisplayContext {
public:
    explicit FakeGameWindow(CGame* game = nullptr) : game_(game) {}
    CGrowListener* Listener() override { return &listener; }
    CUniverse* FloatingObject() override { return floating.get(); }
    void CurrentGenerationChanged() override {
        ++changes;
        if (game_) changedTo.push_back(game_->Generation());
    }
    void SaveViewState(CViewState& state) override { state.words[0] = 0xC0FFEE; }
    int GrowOneGeneration() override {
        int status = game_->StepForward(this);
        if (status == 0) shown.push_back(game_->Generation());
        return status;
    }

    CountingListener listener;
    UniverseRef floating;
    int changes = 0;
    std::vector<int32_t> changedTo;  // the game's generation at each change
    std::vector<int32_t> shown;

private:
    CGame* game_;
};

// Default parameters (no configuration file is read or written) and a fresh set of games per test.
class GameTestBase : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TESSERA_INI", "/nonexistent-tessera-folder/TESSERA.INI", 1);
        ResetAllParameters();
    }
    void TearDown() override {
        games.DeleteAllGames();
        ResetAllParameters();
        ::unsetenv("TESSERA_INI");
    }

    CGameRegistry games;
};

}  // namespace tessera::testing
