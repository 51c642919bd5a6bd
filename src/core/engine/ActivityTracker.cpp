#include "core/engine/ActivityTracker.h"

#include <cmath>
#include <cstdint>

namespace pelliwig {

namespace {

std::string wholeSeconds(Instant t) {
    return std::to_string(static_cast<std::int64_t>(std::trunc(t)));
}

}  // namespace

ActivityTracker::ActivityTracker(const Clock& clock, const IdleTime& idle, const FrontApp& front)
    : clock_(clock),
      idle_(idle),
      front_(front),
      streakStart_(clock.now()),
      frontStart_(clock.now()) {}

std::optional<std::string> ActivityTracker::frontName() const {
    auto name = front_.name();
    if (name && name->empty()) return std::nullopt;  // a nameless application is no application
    return name;
}

std::string ActivityTracker::streakKey() const {
    return wholeSeconds(streakStart_);
}

TickContext ActivityTracker::snapshot() {
    const Instant now = clock_.now();
    const double idle = idle_.seconds();
    if (idle >= kAwayFrom) {
        streakStart_ = now;
        frontStart_ = now;
    }
    const auto name = frontName();
    if (name != frontName_) {
        frontName_ = name;
        frontStart_ = now;
    }
    return TickContext{
        .now = now,
        .minutesOfDay = clock_.minutesOfDay(now),
        .dayKey = clock_.dayKey(now),
        .isActive = idle < kActiveBelow,
        .activeStreak = now - streakStart_,
        .streakKey = wholeSeconds(streakStart_),
        .frontApp = name,
        .frontStreak = now - frontStart_,
        .frontKey = (name ? *name : std::string("-")) + "|" + wholeSeconds(frontStart_),
    };
}

}  // namespace pelliwig
