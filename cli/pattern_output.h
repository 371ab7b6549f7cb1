#pragma once
// Writing the run's result in the form asked for.
#include <iosfwd>

#include "cli/run_options.h"

namespace tessera {
class CGame;
}

namespace tessera::cli {

// The game's current generation (with the game's description and originator), or for the game form
// the game with its kept generations.
void WritePattern(CGame& game, EOutputFormat format, std::ostream& out);

}  // namespace tessera::cli
