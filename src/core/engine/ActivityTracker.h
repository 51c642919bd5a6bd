#pragma once

#include <optional>
#include <string>

#include "core/platform/FrontApp.h"
#include "core/platform/IdleTime.h"
#include "core/sensors/TickContext.h"
#include "core/support/Clock.h"

namespace pelliwig {

// Remembers when the current active stretch and the current front-application
// stretch began, and takes the per-tick snapshot.
class ActivityTracker {
public:
    // Both stretches begin now.
    ActivityTracker(const Clock& clock, const IdleTime& idle, const FrontApp& front);

    // The snapshot for this tick; also moves the stretches on (an away period
    // or an application switch starts a new one).
    TickContext snapshot();

    // The current active stretch as the last snapshot left it, and its key.
    Instant streakStart() const { return streakStart_; }
    std::string streakKey() const;

    // Below this many idle seconds the user counts as active.
    static constexpr double kActiveBelow = 120;
    // From this many idle seconds the user counts as away and both stretches
    // restart on every tick until the user returns.
    static constexpr double kAwayFrom = 300;

private:
    std::optional<std::string> frontName() const;

    const Clock& clock_;
    const IdleTime& idle_;
    const FrontApp& front_;
    Instant streakStart_;
    std::optional<std::string> frontName_;
    Instant frontStart_;
};

}  // namespace pelliwig
