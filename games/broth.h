#pragma once
// Random broth: a rectangle of random cells at a chosen density, filled from the program's own
// pseudo-random generator, and the checks of the broth configuration.
#include <cstdint>
#include <string_view>

#include "foundation/geometry.h"

namespace tessera {

class CUniverse;
class CMillitime;

// The program's pseudo-random generator: a linear congruence on 32 bits.
class CRandomGenerator {
public:
    // Seeded from the clock, as at start-up.
    explicit CRandomGenerator(const CMillitime& now);

    // state := (milliseconds × seconds, low 32 bits) XOR 0x1234FEDC.
    void Seed(const CMillitime& now);
    // Mixes the clock into the state when commands are stirred in ("Randomize" 0) and no broth is
    // being filled.
    void Stir(const CMillitime& now);
    // A number from 0 to n inclusive.
    uint32_t NextRandom(uint32_t n);

    uint32_t State() const { return state_; }
    void SetState(uint32_t state) { state_ = state; }
    bool IsBusy() const { return busy_; }

private:
    friend class CBusyGenerator;
    uint32_t state_ = 0;
    bool busy_ = false;
};

// The one generator of the program, seeded from the system clock on first use.
CRandomGenerator& TheRandomGenerator();

// Where a broth shows how far it has come ("Creating broth: 40%").
class CBrothProgress {
public:
    virtual ~CBrothProgress() = default;
    virtual void ShowProgress(std::string_view text) = 0;
};

// The rectangle a broth fills, centred on the origin: width × height cells, the odd cell going to the
// right and bottom.
CLRect BrothRectangle(int32_t width, int32_t height);
// The rectangle from the parameters: "BrothSizeX" × "BrothSizeY" when "BrothExplicitSize" is set,
// otherwise the visible area of the new window (in cells).
CLRect BrothRectangle(int32_t windowWidth, int32_t windowHeight, bool explicitSize);

// Makes each cell of the rectangle alive when the generator's next number from 0 to 100 is below the
// density, row by row and left to right, so one generator state and one density always give the same
// broth. Reports the percentage after each row and 100 at the end.
void FillBroth(CUniverse& universe, uint32_t density, const CLRect& rect, CRandomGenerator& generator,
               CBrothProgress* progress);

// The broth configuration as the user typed it.
struct CBrothSettings {
    std::string_view density;
    bool explicitSize = true;
    std::string_view sizeX;
    std::string_view sizeY;
};
// Checks the settings and stores them in the parameters (and saves them). Answers 0, or the message
// that refuses them (nothing is stored then).
int ApplyBrothSettings(const CBrothSettings& settings);

}  // namespace tessera
