#include "text/time_value.h"

#include <climits>
#include <ctime>
#include <istream>
#include <ostream>

namespace tessera {
namespace {

bool FitsInt(int64_t v) { return v >= INT_MIN && v <= INT_MAX; }

}  // namespace

CTime CTime::FromLocal(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute,
                       int64_t second) {
    if (!FitsInt(year - 1900) || !FitsInt(month - 1) || !FitsInt(day) || !FitsInt(hour) || !FitsInt(minute) ||
        !FitsInt(second))
        return CTime();
    std::tm fields{};
    fields.tm_year = static_cast<int>(year - 1900);
    fields.tm_mon = static_cast<int>(month - 1);
    fields.tm_mday = static_cast<int>(day);
    fields.tm_hour = static_cast<int>(hour);
    fields.tm_min = static_cast<int>(minute);
    fields.tm_sec = static_cast<int>(second);
    fields.tm_isdst = -1;  // let the C library decide whether summer time applies
    const std::time_t t = std::mktime(&fields);
    // Times before 1970 were never representable in files; mktime's failure value is one of them.
    if (t < 0) return CTime();
    return CTime(static_cast<int64_t>(t));
}

CTime CTime::Now() { return CTime(static_cast<int64_t>(std::time(nullptr))); }

std::ostream& operator<<(std::ostream& out, const CTime& time) {
    std::tm fields{};
    bool known = false;
    if (time.IsValid()) {
        const std::time_t t = static_cast<std::time_t>(time.Seconds());
        known = localtime_r(&t, &fields) != nullptr;
    }
    if (known) {
        out << (fields.tm_year + 1900) << '-' << (fields.tm_mon + 1) << '-' << fields.tm_mday << ' '
            << fields.tm_hour << ':' << fields.tm_min << ':' << fields.tm_sec;
    } else {
        out << "0-0--1 -1:-1:-1";
    }
    return out;
}

std::istream& operator>>(std::istream& in, CTime& time) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char separator = 0;
    in >> year >> separator >> month >> separator >> day >> hour >> separator >> minute >> separator >>
        second;
    if (in) time = CTime::FromLocal(year, month, day, hour, minute, second);
    return in;
}

}  // namespace tessera
