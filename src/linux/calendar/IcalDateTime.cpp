#include "linux/calendar/IcalDateTime.h"

#include "linux/calendar/IcalWallKey.h"

#include <cmath>
#include <ctime>
#include <string>
#include <string_view>

namespace pelliwig {

namespace {

icaltimetype timeOf(icalvalue* value) {
    if (!value) return icaltime_null_time();
    switch (icalvalue_isa(value)) {
        case ICAL_DATE_VALUE:
            return icalvalue_get_date(value);
        case ICAL_DATETIME_VALUE:
            return icalvalue_get_datetime(value);
        case ICAL_PERIOD_VALUE:
            return icalvalue_get_period(value).start;
        case ICAL_DATETIMEPERIOD_VALUE: {
            const auto both = icalvalue_get_datetimeperiod(value);
            return icaltime_is_null_time(both.time) ? both.period.start : both.time;
        }
        default:
            return icaltime_null_time();
    }
}

// A floating wall time (or midnight of a date) in the local zone.
Instant localInstant(const icaltimetype& wall) {
    std::tm parts = wallParts(wall);
    parts.tm_isdst = -1;  // whichever applies on that day
    return static_cast<Instant>(std::mktime(&parts));
}

icaltimetype localWall(Instant instant, bool isDate) {
    const auto seconds = static_cast<std::time_t>(std::floor(instant));
    std::tm parts{};
    localtime_r(&seconds, &parts);
    icaltimetype wall = icaltime_null_time();
    wall.year = parts.tm_year + 1900;
    wall.month = parts.tm_mon + 1;
    wall.day = parts.tm_mday;
    if (isDate) {
        wall.is_date = 1;
    } else {
        wall.hour = parts.tm_hour;
        wall.minute = parts.tm_min;
        wall.second = parts.tm_sec;
    }
    return wall;
}

// Some writers put their own prefix before the zone's name
// ("/citadel.org/20190101_1/Europe/Paris"); the longest tail the zone
// database knows is the zone meant.
icaltimezone* zoneFromTail(std::string_view tzid) {
    if (tzid.find("..") != std::string_view::npos) return nullptr;
    for (std::size_t at = 0; at < tzid.size();) {
        const std::string tail(tzid.substr(at));
        if (auto* zone = icaltimezone_get_builtin_timezone(tail.c_str())) return zone;
        const auto slash = tzid.find('/', at);
        if (slash == std::string_view::npos) break;
        at = slash + 1;
    }
    return nullptr;
}

}  // namespace

IcalDateTime::IcalDateTime(icaltimetype wall, icaltimezone* zone) : wall_(wall), zone_(zone) {
    if (wall_.is_date) zone_ = nullptr;
    wall_.zone = zone_;
}

IcalDateTime IcalDateTime::ofProperty(icalproperty* property, icalcomponent* calendar) {
    const icaltimetype wall = timeOf(icalproperty_get_value(property));
    if (icaltime_is_null_time(wall) || wall.is_date) return {wall, nullptr};
    if (icaltime_is_utc(wall)) return {wall, icaltimezone_get_utc_timezone()};
    icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (!tzid) return {wall, nullptr};
    // A zone nobody knows leaves the time floating: local is the best guess.
    return {wall, findZone(icalparameter_get_tzid(tzid), calendar)};
}

icaltimezone* IcalDateTime::findZone(const char* tzid, icalcomponent* calendar) {
    if (!tzid || !*tzid) return nullptr;
    if (calendar) {
        if (auto* zone = icalcomponent_get_timezone(calendar, tzid)) return zone;
    }
    if (auto* zone = icaltimezone_get_builtin_timezone_from_tzid(tzid)) return zone;
    return zoneFromTail(tzid);
}

Instant IcalDateTime::instant() const {
    if (isDate() || !zone_) return localInstant(wall_);
    return static_cast<Instant>(icaltime_as_timet_with_zone(wall_, zone_));
}

icaltimetype IcalDateTime::wallAt(Instant instant) const {
    if (isDate() || !zone_) return localWall(instant, isDate());
    const auto seconds = static_cast<std::time_t>(std::floor(instant));
    return icaltime_from_timet_with_zone(seconds, isDate(), zone_);
}

IcalDateTime IcalDateTime::plusDays(int days) const {
    icaltimetype later = wall_;
    icaltime_adjust(&later, days, 0, 0, 0);
    return {later, zone_};
}

}  // namespace pelliwig
