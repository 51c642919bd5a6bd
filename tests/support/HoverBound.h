#pragma once

#include "core/notch/NotchController.h"
#include "core/sensors/HoverMonitor.h"

namespace pelliwig::testing {

// How soon after the pointer's last move off her her window must be gone:
// the exit delay, the dismissal until the window is ordered out, twice the
// quiet check for a move no one reported, and a little for the test's own
// polling of the display.
inline constexpr double kBackInWithin =
    HoverMonitor::kExitDelay + NotchController::kClearDelay + 2 * HoverMonitor::kQuietCheck + 0.2;

}  // namespace pelliwig::testing
