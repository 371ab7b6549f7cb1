#pragma once
// The repeat check a game runs after each forward step while automatic stop is on.

namespace tessera {

class CGame;

// Compares the game's newest generations for a repeat. Answers 0 to let growth go on, or the number of
// the message that reports the repeat (growth then stops).
int CheckRepeat(CGame& game);

}  // namespace tessera
