#pragma once

#include <functional>

#include "core/platform/Scheduler.h"
#include "core/support/Instant.h"

namespace pelliwig {

// One focus session. onFinish is called once when it ends; destroying the
// timer before then cancels the session.
class FocusTimer {
public:
    FocusTimer(Scheduler& scheduler, int minutes, std::function<void()> onFinish);
    FocusTimer(const FocusTimer&) = delete;
    FocusTimer& operator=(const FocusTimer&) = delete;

    Instant endsAt() const { return endsAt_; }

private:
    Instant endsAt_;
    TaskHandle timer_;
};

}  // namespace pelliwig
