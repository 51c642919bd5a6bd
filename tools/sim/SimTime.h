#pragma once

#include <memory>
#include <optional>
#include <string>

#include <unicode/timezone.h>

#include "core/support/Instant.h"

// Wall time in ICU's default zone, which the simulator sets from --tz.
namespace pelliwig::sim {

struct WallTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The instant of a local wall time; a time skipped by a daylight-saving change
// moves on to the next one that exists. Nothing when a field is out of range.
std::optional<Instant> instantOf(const WallTime& wall);

// "2026-03-02 08:00:30" in local time.
std::string formatLocal(Instant t);

// "2026-03-02T08:00:30+01:00".
std::string formatIso(Instant t);

// The same wall time `days` calendar days later.
Instant addDays(Instant t, int days);

// Puts the default zone back as it was when made: a script's `zone` lines
// move it while the script is read and played.
class ZoneScope {
public:
    ZoneScope();
    ~ZoneScope();
    ZoneScope(const ZoneScope&) = delete;
    ZoneScope& operator=(const ZoneScope&) = delete;

private:
    std::unique_ptr<icu::TimeZone> saved_;
};

}  // namespace pelliwig::sim
