#pragma once

#include <ctime>

#include <unicode/locid.h>
#include <unicode/timezone.h>

#include "core/support/Instant.h"

namespace pelliwig::testing {

// An instant from UTC wall time, computed without ICU so clock tests do not
// check the code against itself.
inline Instant utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    return static_cast<Instant>(timegm(&parts));
}

// Fixes ICU's default zone and locale for one test and restores them after.
class ZoneAndLocale {
public:
    ZoneAndLocale(const char* zone, const char* locale)
        : savedZone_(icu::TimeZone::createDefault()), savedLocale_(icu::Locale::getDefault()) {
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone(zone));
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale(locale), status);
    }
    ~ZoneAndLocale() {
        icu::TimeZone::adoptDefault(savedZone_);
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(savedLocale_, status);
    }
    ZoneAndLocale(const ZoneAndLocale&) = delete;
    ZoneAndLocale& operator=(const ZoneAndLocale&) = delete;

private:
    icu::TimeZone* savedZone_;
    icu::Locale savedLocale_;
};

}  // namespace pelliwig::testing
