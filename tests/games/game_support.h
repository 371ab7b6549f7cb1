#pragma once
// Universes, cell sets, fakes and a clock shared by the game tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "config/parameters.h"
#include "engine/growable_universe.h"
#include "games/fakes.h"
#include "games/front_end.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "games/generation_list.h"
#include "games/millitime.h"
#include "support/cells.h"
#include "support/recording_listener.h"
#include "support/reference_life.h"
#include "support/temp_folder.h"

namespace tessera::test {

// Generations 0..count of Life from start, by the reference stepper.
inline std::vector<Cells> ReferenceHistory(const Cells& start, int count) {
    std::vector<Cells> history{start};
    while (int(history.size()) <= count) history.push_back(ReferenceStep(history.back(), kConwayRuleCode));
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
    explicit FakeGameWindow(CGame* game) : game_(game) {}
    CGrowListener* Listener() override { return &listener; }
    CUniverse* FloatingObject() override { return floating.get(); }
    void CurrentGenerationChanged() override { changedTo.push_back(game_->Generation()); }
    void SaveViewState(CViewState&) override {}
    int GrowOneGeneration() override { return game_->StepForward(this); }

    RecordingListener listener;
    UniverseRef floating;
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
