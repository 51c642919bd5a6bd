#pragma once

#include "core/notch/NotchController.h"
#include "core/sensors/HoverMonitor.h"

namespace pelliwig::testing {

// How soon after the pointer's last move off her her window must be gone:
// the exit delay, the dismissal until the window is ordered out, twice the
// quiet check for a move no one reported (2.3 s in all), and half a second
// for the test's own polling of the display, which starts a program each
// time and is slow on a loaded machine.
inline constexpr double kBackInWithin =
    HoverMonitor::kExitDelay + NotchController::kClearDelay + 2 * HoverMonitor::kQuietCheck + 0.5;

}  // namespace pelliwig::testing
