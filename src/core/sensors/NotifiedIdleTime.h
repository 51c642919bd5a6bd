#pragma once

#include <optional>

#include "core/platform/IdleTime.h"
#include "core/platform/Scheduler.h"

namespace pelliwig {

// Idle time from a notifier that only says "no input for `timeout` seconds"
// and "input again", as Wayland compositors do. When the notifier fires, the
// last input was `timeout` seconds before it, so the idle time is exact from
// then on; until it fires the user counts as active, which errs by less than
// the timeout.
class NotifiedIdleTime final : public IdleTime {
public:
    NotifiedIdleTime(const Scheduler& clock, double timeoutSeconds);

    // The notifier's timeout ran out without input.
    void idled();
    // Input arrived after idled(); also what a lost notifier comes to, so
    // that an unreadable sensor counts the user as active.
    void resumed();

    double timeoutSeconds() const { return timeout_; }
    // 0 while the user is active; never negative, even if the clock steps back.
    double seconds() const override;

private:
    const Scheduler& clock_;
    double timeout_;
    std::optional<Instant> lastInput_;  // set while idle
};

}  // namespace pelliwig
