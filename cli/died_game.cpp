#include "cli/died_game.h"

#include <memory>

#include "engine/growable_universe.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "games/generation_list.h"

namespace tessera::cli {

bool HasDied(const CGame& game) {
    CUniverse& current = game.Current();
    return current.Population() == 0 && !IsBorn(current.GetRuleCode(), 0);
}

CGame& CarryDiedGameTo(CGameRegistry& games, CGame& game, int32_t generation) {
    CGenerationList generations;
    generations.PushBack(Owned(game.First().Clone()));
    generations.PushBack(Owned(std::make_unique<CGrowableUniverse>(generation, &game.Current())));
    CGame& carried = games.NewGame(std::move(generations));
    carried.SetDescription(game.Description());
    carried.SetOriginator(game.Originator());
    carried.SetMaxPopulation(game.MaxPopulation());
    carried.SetMaxPopulationGeneration(game.MaxPopulationGeneration());
    carried.SetMinPopulation(game.MinPopulation());
    carried.SetMinPopulationGeneration(game.MinPopulationGeneration());
    carried.SetFileName(game.FileName());
    const CName name = game.Name();
    const bool named = game.IsNamed();
    games.DestroyGame(game);
    if (named) carried.SetName(name);
    return carried;
}

}  // namespace tessera::cli
