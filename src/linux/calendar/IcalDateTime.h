#pragma once

#include <libical/ical.h>

#include "core/support/Instant.h"

namespace pelliwig {

// A date or date-time as a calendar file writes it, with the zone it is meant
// in. Floating times and dates have no zone and are read in the local zone
// (TZ, else the system's) each time they become instants, so a change of zone
// moves them as it moves the user's other clocks.
class IcalDateTime {
public:
    IcalDateTime() = default;
    IcalDateTime(icaltimetype wall, icaltimezone* zone);

    // The value of a DTSTART, DTEND, RECURRENCE-ID, EXDATE or RDATE property,
    // its TZID looked up in `calendar` first, then in the zone database.
    static IcalDateTime ofProperty(icalproperty* property, icalcomponent* calendar);
    // The zone a TZID names; nothing when neither the file nor the system knows it.
    static icaltimezone* findZone(const char* tzid, icalcomponent* calendar);

    const icaltimetype& wall() const { return wall_; }
    icaltimezone* zone() const { return zone_; }
    bool isDate() const { return wall_.is_date != 0; }
    bool isNull() const { return icaltime_is_null_time(wall_) != 0; }

    Instant instant() const;
    // The same zone at another wall time.
    IcalDateTime withWall(icaltimetype wall) const { return {wall, zone_}; }
    // The wall time in this value's zone at `instant`.
    icaltimetype wallAt(Instant instant) const;
    // Days later, on the wall clock.
    IcalDateTime plusDays(int days) const;

private:
    icaltimetype wall_ = icaltime_null_time();
    // UTC, a named zone, or none for floating times and dates.
    icaltimezone* zone_ = nullptr;
};

}  // namespace pelliwig
