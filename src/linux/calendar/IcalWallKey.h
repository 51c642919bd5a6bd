#pragma once

#include <libical/ical.h>

#include <ctime>

namespace pelliwig {

// A wall time's fields as the C library takes them (midnight for a date).
inline std::tm wallParts(const icaltimetype& wall) {
    std::tm parts{};
    parts.tm_year = wall.year - 1900;
    parts.tm_mon = wall.month - 1;
    parts.tm_mday = wall.day;
    if (!wall.is_date) {
        parts.tm_hour = wall.hour;
        parts.tm_min = wall.minute;
        parts.tm_sec = wall.second;
    }
    return parts;
}

// A wall time's fields read as if they were UTC. It orders events without
// knowing their zone: the instant a wall time names is within a day of it.
inline long long wallKey(const icaltimetype& wall) {
    std::tm parts = wallParts(wall);
    return static_cast<long long>(timegm(&parts));
}

// More than any zone's distance from UTC, and a clock change on top.
constexpr long long kWallSlack = 2 * 86400;

}  // namespace pelliwig
