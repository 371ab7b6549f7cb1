#pragma once
// Growing a game to a target generation the way the desktop's Goto Generation does: a background growth
// task run slice after slice, here back to back, with a terminal cancel box that Ctrl+C presses.
#include <cstdint>

namespace tessera {
class CGame;
}

namespace tessera::cli {

class CInterruptGuard;
class CTerminalMainWindow;

struct CGrowthOutcome {
    bool cancelled = false;  // Ctrl+C stopped it; the game stays at the generation reached
    int messageId = 0;       // a refusal or failure that was reported (the game stays where it stopped)
};

// A pattern that dies on the way ends the growth with "There is nothing to grow." (msg::NothingToGrow),
// which is left to the caller to report.
CGrowthOutcome GrowToGeneration(CGame& game, int32_t target, CTerminalMainWindow& window,
                                const CInterruptGuard& interrupt);

}  // namespace tessera::cli
