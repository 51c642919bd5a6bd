#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/support/Instant.h"
#include "core/support/MonthDay.h"
#include "core/support/TimeSource.h"

namespace pelliwig {

// Calendar arithmetic in the default time zone and locale (read afresh on
// every call), with "now" from the scheduler (any time source). Day keys ("2025-3-7") and week
// keys ("2025-W9") are stored in memory and once-keys, so their text form is
// fixed: plain decimal numbers, no padding.
class Clock {
public:
    explicit Clock(const TimeSource& time) : time_(time) {}

    Instant now() const { return time_.now(); }

    // hour × 60 + minute of the instant.
    int minutesOfDay(Instant t) const;
    // "year-month-day" of the instant.
    std::string dayKey(Instant t) const;
    // Week-based year, "-W", week of year, by the locale's week rules.
    std::string weekKey(Instant t) const;
    // Local midnight of a day key; pieces that are not numbers are skipped and
    // exactly three numbers must remain.
    std::optional<Instant> dateFromDayKey(std::string_view key) const;
    // Local midnight of that month and day in the current year.
    Instant date(MonthDay monthDay) const;
    // Today at that time of day, seconds 0; a time skipped by a daylight-saving
    // change moves to the next time that exists, a repeated one takes the first.
    Instant dateFromMinutes(int minutes) const;
    // The first instant after `after` at that time of day, seconds 0: later
    // today, else tomorrow; skipped and repeated times as above.
    Instant nextAt(int minutes, Instant after) const;
    // Whole calendar days from the reference's day to the target's day.
    int daysUntil(Instant target, Instant from) const;
    // Saturday or Sunday, now.
    bool isWeekend() const;
    MonthDay monthDay(Instant t) const;
    // 1 = Sunday … 7 = Saturday.
    int weekday(Instant t) const;
    // Local midnight at the start of the instant's day.
    Instant startOfDay(Instant t) const;

private:
    const TimeSource& time_;
};

}  // namespace pelliwig
