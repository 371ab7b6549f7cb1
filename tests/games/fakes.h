#pragma once
// A clock for tests of time slices.
#include <cstdint>

#include "games/millitime.h"

namespace tessera::test {

// A clock that moves only when told to, by a fixed step per reading, or when something spins on it.
class FakeClock : public CClock {
public:
    CMillitime Now() override { return now = now.Plus(advancePerRead); }
    void SpinUntil(const CMillitime& due) override {
        if (now < due) now = due;
    }

    CMillitime now{1'700'000'000, 0};
    int64_t advancePerRead = 0;
};

}  // namespace tessera::test
