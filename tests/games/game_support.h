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
#include "support/cells.h"
#include "support/temp_folder.h"

namespace tessera::test {

inline const Cells& Blinker() {
    static const Cells blinker = CellsFromPicture("***");
    return blinker;
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
class GameTestBase : public DefaultParametersTest {
protected:
    void TearDown() override {
        games.DeleteAllGames();
        DefaultParametersTest::TearDown();
    }

    CGameRegistry games;
};

}  // namespace tessera::test
