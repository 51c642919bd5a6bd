#include "SimTime.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <unicode/calendar.h>
#include <unicode/gregocal.h>

namespace pelliwig::sim {

namespace {

// Gregorian whatever the locale's own calendar, in the default zone.
std::unique_ptr<icu::Calendar> calendar() {
    UErrorCode status = U_ZERO_ERROR;
    auto cal = std::make_unique<icu::GregorianCalendar>(status);
    if (U_FAILURE(status)) return nullptr;
    return cal;
}

int daysIn(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

struct Fields {
    int year, month, day, hour, minute, second, offsetMinutes;
};

Fields fieldsOf(Instant t) {
    auto cal = calendar();
    UErrorCode status = U_ZERO_ERROR;
    cal->setTime(std::floor(t) * 1000.0, status);
    auto get = [&](UCalendarDateFields f) { return cal->get(f, status); };
    const int offset = (get(UCAL_ZONE_OFFSET) + get(UCAL_DST_OFFSET)) / 60000;
    return {get(UCAL_EXTENDED_YEAR), get(UCAL_MONTH) + 1, get(UCAL_DATE), get(UCAL_HOUR_OF_DAY),
            get(UCAL_MINUTE),        get(UCAL_SECOND),    offset};
}

}  // namespace

std::optional<Instant> instantOf(const WallTime& w) {
    if (w.month < 1 || w.month > 12 || w.day < 1 || w.day > daysIn(w.year, w.month)) return {};
    if (w.hour < 0 || w.hour > 23 || w.minute < 0 || w.minute > 59) return {};
    if (w.second < 0 || w.second > 59) return {};
    auto cal = calendar();
    if (!cal) return {};
    cal->clear();
    cal->set(w.year, w.month - 1, w.day, w.hour, w.minute, w.second);
    UErrorCode status = U_ZERO_ERROR;
    const UDate ms = cal->getTime(status);
    if (U_FAILURE(status)) return {};
    return ms / 1000.0;
}

std::string formatLocal(Instant t) {
    const Fields f = fieldsOf(t);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day,
                  f.hour, f.minute, f.second);
    return text;
}

std::string formatIso(Instant t) {
    const Fields f = fieldsOf(t);
    const int offset = std::abs(f.offsetMinutes);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", f.year, f.month,
                  f.day, f.hour, f.minute, f.second, f.offsetMinutes < 0 ? '-' : '+', offset / 60,
                  offset % 60);
    return text;
}

Instant addDays(Instant t, int days) {
    auto cal = calendar();
    UErrorCode status = U_ZERO_ERROR;
    cal->setTime(t * 1000.0, status);
    cal->add(UCAL_DATE, days, status);
    return cal->getTime(status) / 1000.0;
}

ZoneScope::ZoneScope() : saved_(icu::TimeZone::createDefault()) {}

ZoneScope::~ZoneScope() {
    if (saved_) icu::TimeZone::adoptDefault(saved_.release());
}

}  // namespace pelliwig::sim
