#include "core/support/Clock.h"

#include <charconv>
#include <memory>
#include <vector>

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

namespace pelliwig {

namespace {

using CalendarPtr = std::unique_ptr<icu::Calendar>;

// The default locale's week rules on the Gregorian calendar: stored month-days
// and day keys are Gregorian whatever calendar the locale itself uses (Persian
// in fa_IR, Islamic in ar_SA).
icu::Locale gregorianLocale() {
    icu::Locale locale = icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    locale.setKeywordValue("calendar", "gregorian", status);
    return locale;
}

// A calendar in the current default zone and locale, made afresh so a change
// of either is seen at once. Skipped wall times move to the next valid time
// and repeated ones take the first occurrence.
CalendarPtr makeCalendar() {
    UErrorCode status = U_ZERO_ERROR;
    CalendarPtr calendar(
        icu::Calendar::createInstance(icu::TimeZone::createDefault(), gregorianLocale(), status));
    if (U_FAILURE(status)) return nullptr;
    calendar->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
    calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
    return calendar;
}

CalendarPtr calendarAt(Instant t) {
    auto calendar = makeCalendar();
    if (!calendar) return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(t * 1000.0, status);
    if (U_FAILURE(status)) return nullptr;
    return calendar;
}

// A field of the calendar, or `missing` when it cannot be read.
int field(const CalendarPtr& calendar, UCalendarDateFields which, int missing = 0) {
    if (!calendar) return missing;
    UErrorCode status = U_ZERO_ERROR;
    const int value = calendar->get(which, status);
    return U_SUCCESS(status) ? value : missing;
}

// The calendar's day at that time, seconds 0.
void setTimeOfDay(icu::Calendar& calendar, int minutes) {
    calendar.set(UCAL_HOUR_OF_DAY, minutes / 60);
    calendar.set(UCAL_MINUTE, minutes % 60);
    calendar.set(UCAL_SECOND, 0);
    calendar.set(UCAL_MILLISECOND, 0);
}

std::optional<Instant> instantOf(const CalendarPtr& calendar) {
    UErrorCode status = U_ZERO_ERROR;
    const UDate millis = calendar->getTime(status);
    if (U_FAILURE(status)) return std::nullopt;
    return millis / 1000.0;
}

// Local midnight of the given date; out-of-range parts roll over leniently.
std::optional<Instant> midnight(int year, int month, int day) {
    auto calendar = makeCalendar();
    if (!calendar) return std::nullopt;
    calendar->clear();
    calendar->set(year, month - 1, day, 0, 0, 0);
    return instantOf(calendar);
}

std::optional<long long> parseInteger(std::string_view piece) {
    if (!piece.empty() && piece.front() == '+') piece.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    if (error != std::errc() || end != piece.data() + piece.size() || piece.empty())
        return std::nullopt;
    return value;
}

}  // namespace

int Clock::minutesOfDay(Instant t) const {
    const auto calendar = calendarAt(t);
    return field(calendar, UCAL_HOUR_OF_DAY) * 60 + field(calendar, UCAL_MINUTE);
}

std::string Clock::dayKey(Instant t) const {
    const auto calendar = calendarAt(t);
    const int month = calendar ? field(calendar, UCAL_MONTH) + 1 : 0;
    return std::to_string(field(calendar, UCAL_YEAR)) + "-" + std::to_string(month) + "-" +
           std::to_string(field(calendar, UCAL_DATE));
}

std::string Clock::weekKey(Instant t) const {
    const auto calendar = calendarAt(t);
    return std::to_string(field(calendar, UCAL_YEAR_WOY)) + "-W" +
           std::to_string(field(calendar, UCAL_WEEK_OF_YEAR));
}

std::optional<Instant> Clock::dateFromDayKey(std::string_view key) const {
    std::vector<long long> numbers;
    std::size_t start = 0;
    while (start <= key.size()) {
        const std::size_t end = std::min(key.find('-', start), key.size());
        const auto piece = key.substr(start, end - start);
        if (!piece.empty()) {
            if (const auto number = parseInteger(piece)) numbers.push_back(*number);
        }
        start = end + 1;
    }
    if (numbers.size() != 3) return std::nullopt;
    for (const long long n : numbers) {
        if (n < -1'000'000 || n > 1'000'000) return std::nullopt;  // no calendar builds those
    }
    return midnight(static_cast<int>(numbers[0]), static_cast<int>(numbers[1]),
                    static_cast<int>(numbers[2]));
}

Instant Clock::date(MonthDay monthDay) const {
    const Instant present = now();
    const int year = field(calendarAt(present), UCAL_YEAR);
    return midnight(year, monthDay.month, monthDay.day).value_or(present);
}

Instant Clock::dateFromMinutes(int minutes) const {
    const Instant present = now();
    auto calendar = calendarAt(present);
    if (!calendar) return present;
    setTimeOfDay(*calendar, minutes);
    return instantOf(calendar).value_or(present);
}

Instant Clock::nextAt(int minutes, Instant after) const {
    auto calendar = calendarAt(after);
    if (!calendar) return after;
    setTimeOfDay(*calendar, minutes);
    const auto today = instantOf(calendar);
    if (!today) return after;
    if (*today > after) return *today;
    // Counting days on the calendar, not 86400 seconds, keeps the wall time
    // across a daylight-saving change.
    UErrorCode status = U_ZERO_ERROR;
    calendar->add(UCAL_DATE, 1, status);
    if (U_FAILURE(status)) return after;
    setTimeOfDay(*calendar, minutes);
    return instantOf(calendar).value_or(after);
}

Instant Clock::startOfDay(Instant t) const {
    auto calendar = calendarAt(t);
    if (!calendar) return t;
    calendar->set(UCAL_HOUR_OF_DAY, 0);
    calendar->set(UCAL_MINUTE, 0);
    calendar->set(UCAL_SECOND, 0);
    calendar->set(UCAL_MILLISECOND, 0);
    return instantOf(calendar).value_or(t);
}

// By day numbers: stepping from the start of a day that begins at 01:00 (a
// daylight-saving change at midnight) would land an hour past the next
// midnight and count one day short.
int Clock::daysUntil(Instant target, Instant from) const {
    const auto to = calendarAt(target);
    const auto start = calendarAt(from);
    if (!to || !start) return 0;
    return field(to, UCAL_JULIAN_DAY) - field(start, UCAL_JULIAN_DAY);
}

bool Clock::isWeekend() const {
    const int day = weekday(now());
    return day == 1 || day == 7;
}

int Clock::weekday(Instant t) const {
    return field(calendarAt(t), UCAL_DAY_OF_WEEK);
}

MonthDay Clock::monthDay(Instant t) const {
    const auto calendar = calendarAt(t);
    if (!calendar) return MonthDay{};
    return MonthDay{field(calendar, UCAL_MONTH, 0) + 1, field(calendar, UCAL_DATE, 1)};
}

}  // namespace pelliwig
