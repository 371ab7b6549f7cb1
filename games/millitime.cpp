#include "games/millitime.h"

#include <chrono>

namespace tessera {

CMillitime::CMillitime(int64_t seconds, uint16_t milliseconds)
    : seconds_(seconds + milliseconds / 1000), milliseconds_(static_cast<uint16_t>(milliseconds % 1000)) {}

CMillitime CMillitime::Plus(int64_t milliseconds) const {
    int64_t total = milliseconds_ + milliseconds;
    int64_t carrySeconds = total / 1000;
    int64_t rest = total % 1000;
    if (rest < 0) {
        rest += 1000;
        --carrySeconds;
    }
    CMillitime result;
    result.seconds_ = seconds_ + carrySeconds;
    result.milliseconds_ = static_cast<uint16_t>(rest);
    return result;
}

CMillitime::CSpan CMillitime::Difference(const CMillitime& earlier) const {
    int64_t seconds = seconds_ - earlier.seconds_;
    int milliseconds = int(milliseconds_) - int(earlier.milliseconds_);
    if (milliseconds < 0) {
        milliseconds += 1000;
        --seconds;
    }
    return {seconds, static_cast<uint16_t>(milliseconds)};
}

int64_t CMillitime::MillisecondsSince(const CMillitime& earlier) const {
    CSpan span = Difference(earlier);
    return span.seconds * 1000 + span.milliseconds;
}

void CClock::SpinUntil(const CMillitime& due) {
    while (Now() < due) {
    }
}

CMillitime CSystemClock::Now() {
    using namespace std::chrono;
    int64_t ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return CMillitime(0, 0).Plus(ms);
}

}  // namespace tessera
