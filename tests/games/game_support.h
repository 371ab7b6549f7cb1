#pragma once
// Universes, cell sets and fakes shared by the game tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "config/parameters.h"
#include "engine/growable_universe.h"
#include "games/front_end.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "games/generation_list.h"
#include "support/cells.h"
#include "support/recording_listener.h"
#include "support/temp_folder.h"

namespace tessera::test {

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
    void SaveViewState(CViewState&) override {}
    int GrowOneGeneration() override { return game_->StepForward(this); }

    RecordingListener listener;
    UniverseRef floating;
    int changes = 0;
    std::vector<int32_t> changedTo;  // the game's generation at each change

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
