#pragma once

#include <optional>
#include <string>

#include "core/support/Instant.h"

namespace pelliwig {

// What the rules know about one tick: the time and the user's activity, taken
// once so that every rule of the tick sees the same world.
struct TickContext {
    Instant now = 0;
    int minutesOfDay = 0;
    std::string dayKey;
    bool isActive = false;    // input less than 120 s ago
    double activeStreak = 0;  // seconds since the active stretch began
    std::string streakKey;    // the stretch's start, whole seconds since 1970
    std::optional<std::string> frontApp;
    double frontStreak = 0;  // seconds since the front application changed
    std::string frontKey;    // front app name (or "-") + "|" + its stretch's start

    bool operator==(const TickContext&) const = default;
};

}  // namespace pelliwig
