#pragma once
// CMillitime: a wall-clock time stamp with millisecond resolution, and the clock that produces them.
// The clock is an interface so that the task scheduler can be driven by a test clock.
#include <cstdint>

namespace tessera {

class CMillitime {
public:
    CMillitime() = default;
    CMillitime(int64_t seconds, uint16_t milliseconds);

    int64_t Seconds() const { return seconds_; }
    uint16_t Milliseconds() const { return milliseconds_; }

    // This stamp moved by a (possibly negative) number of milliseconds.
    CMillitime Plus(int64_t milliseconds) const;

    // this − earlier as (seconds, milliseconds) with milliseconds in 0..999, borrowing from the seconds.
    struct CSpan {
        int64_t seconds;
        uint16_t milliseconds;
    };
    CSpan Difference(const CMillitime& earlier) const;
    // The same difference as a single count of milliseconds.
    int64_t MillisecondsSince(const CMillitime& earlier) const;

    friend bool operator<(const CMillitime& a, const CMillitime& b) {
        return a.seconds_ != b.seconds_ ? a.seconds_ < b.seconds_ : a.milliseconds_ < b.milliseconds_;
    }
    friend bool operator==(const CMillitime& a, const CMillitime& b) = default;

private:
    int64_t seconds_ = 0;
    uint16_t milliseconds_ = 0;
};

class CClock {
public:
    virtual ~CClock() = default;
    virtual CMillitime Now() = 0;
    // Busy-waits until Now() is not earlier than due. Short waits are spun rather than slept so that a
    // slice starts on time; a test clock overrides this to move its time instead.
    virtual void SpinUntil(const CMillitime& due);
};

// Time of day from the system's real-time clock.
class CSystemClock : public CClock {
public:
    CMillitime Now() override;
};

}  // namespace tessera
