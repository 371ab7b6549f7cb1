#pragma once
// A pattern that dies before the generation asked for is an ordinary result: the empty pattern at that
// generation.
#include <cstdint>

namespace tessera {
class CGame;
class CGameRegistry;
}  // namespace tessera

namespace tessera::cli {

// The game's current universe is empty and nothing can be born from nothing (no birth on 0
// neighbours; with one the engine decides).
bool HasDied(const CGame& game);

// A game carried on to the generation: its start, then the empty universe (with the rule it died
// under) as the current generation. Name, description, originator and population records travel
// with it; the old game is destroyed.
CGame& CarryDiedGameTo(CGameRegistry& games, CGame& game, int32_t generation);

}  // namespace tessera::cli
