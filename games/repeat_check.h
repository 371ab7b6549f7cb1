#pragma once
// Automatic stop: the repeat check a game runs after each forward step, the exact comparison of two
// generations, and the texts of its reports.
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/geometry.h"

namespace tessera {

class CGame;
class CUniverse;
class CShipRecognition;

// Compares the game's newest generations for a repeat. Answers 0 to let growth go on, or the number of
// the message that reports the repeat (growth then stops).
int CheckRepeat(CGame& game);

// The "Autostop" command: forgets the current game's candidate cycle (keeping its next check generation
// and fired flag), then turns automatic stop on or off and saves the parameters.
void ToggleAutostop(CGame* current);

// The repeat last found: its start generation and the span compared; found is false without a candidate.
struct CRepeatReport {
    int32_t start = 0;
    int32_t span = 0;
    bool found = false;
};
CRepeatReport GetRepeat(CGame& game);

// The text of a repeat report of the game, its generation numbers filled in.
std::string RepeatMessage(CGame& game, int code);
// Whether the message number is one of the reports automatic stop gives.
bool IsRepeatReport(int messageId);

// The exact comparison of a newer and an older generation span generations apart: a repeat in place
// or moved, "not interesting" when only recognised ships fly apart, a wait until the generation at
// which they can no longer meet anything, or "very similar".
struct CComparison {
    int code = 0;
    int32_t waitGeneration = 0;  // for the wait answer
};
CComparison CompareGenerations(CUniverse& newer, CUniverse& older, int32_t span,
                               CShipRecognition* recognition);

// A moving body for the meeting computation: its bounds at a common generation, its period and its
// displacement per period.
struct CMovingBody {
    CLRect bounds;
    int32_t period = 1;
    int32_t dx = 0;
    int32_t dy = 0;
};
// Generations [low, high) during which two bodies' boxes (each widened by one cell) overlap, counted
// from generation t0. Unbounded both ways when they move together touching; low ≥ high when never.
struct CGenerationInterval {
    int64_t low = 0;
    int64_t high = 0;
    bool IsEmpty() const { return low >= high; }
    bool IsUnbounded() const;
};
CGenerationInterval MeetingInterval(const CMovingBody& a, const CMovingBody& b, int32_t t0);

}  // namespace tessera
