#pragma once
// CTime: a point in time, written and read in files as local date and time "2024-3-9 7:05:00" style
// (plain decimals: year-month-day hour:minute:second).
#include <cstdint>
#include <iosfwd>

namespace tessera {

class CTime {
public:
    CTime() = default;  // not a valid time
    // The local date and time given; fields out of range carry over as the C library normalises them.
    // A time that cannot be represented gives an invalid CTime.
    static CTime FromLocal(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute,
                           int64_t second);
    static CTime Now();

    bool IsValid() const { return valid_; }
    int64_t Seconds() const { return seconds_; }

    static CTime FromSeconds(int64_t secondsSince1970) { return CTime(secondsSince1970); }
    friend bool operator==(const CTime&, const CTime&) = default;

private:
    explicit CTime(int64_t seconds) : seconds_(seconds), valid_(true) {}
    int64_t seconds_ = -1;
    bool valid_ = false;
};

// Fields that cannot be converted are written as 0 (year, month) or -1 (day, hour, minute, second).
std::ostream& operator<<(std::ostream& out, const CTime& time);
// Reads int, separator, int, separator, int, int, separator, int, separator, int as local time.
std::istream& operator>>(std::istream& in, CTime& time);

}  // namespace tessera
