#include "core/sensors/FocusTimer.h"

#include <utility>

namespace pelliwig {

FocusTimer::FocusTimer(Scheduler& scheduler, int minutes, std::function<void()> onFinish)
    : endsAt_(scheduler.now() + minutes * 60.0),
      timer_(scheduler.after(minutes * 60.0, std::move(onFinish))) {}

}  // namespace pelliwig
