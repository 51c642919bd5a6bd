#pragma once

#include <optional>
#include <string>

#include "core/platform/PointerEvents.h"
#include "core/platform/Scheduler.h"
#include "linux/x11/XcbConnection.h"

namespace pelliwig {

// Pointer movement anywhere on an X11 screen, from XInput2 raw motion on the
// root window, which arrives whichever window has the pointer or the focus.
// Raw events carry device deltas, not positions, so each delivery asks the
// server where the pointer is, in root coordinates (y down), the ones the
// notch rectangle uses.
//
// The shell watches fd() and calls processEvents() when it is readable. A
// fast mouse sends hundreds of events a second; positions are delivered at
// most once per kMinInterval, timed by the scheduler: the first movement
// after a quiet spell is delivered at once, later ones wait for the interval
// to end and only the latest position is delivered then, so where the
// pointer came to rest is never lost.
//
// It opens its own connection: the idle and focus sources make round trips
// on theirs, and reading replies there would swallow events the watched
// socket never reports.
class X11PointerEvents final : public PointerEvents {
public:
    static constexpr double kMinInterval = 1.0 / 60;

    // Connects to `display`, or to $DISPLAY when it is empty.
    explicit X11PointerEvents(Scheduler& scheduler, const std::string& display = {});

    [[nodiscard]] Connection onMove(std::function<void(Point)> callback) override;
    // Delivers where the pointer is now, moved or not: a warped pointer
    // (xdotool, a remote desktop) makes no raw motion.
    void askWhere() override;

    // The socket to watch; -1 when there is no server or it lacks XInput 2,
    // in which case no position is ever delivered.
    int fd() const;
    // Reads what the server sent without waiting. When fd() is -1 after
    // this, the server went away and the socket stays readable at its end:
    // stop watching it.
    void processEvents();

private:
    bool selectRawMotion();
    bool isRawMotion(const xcb_generic_event_t& event) const;
    void movementSeen();
    void deliver();
    std::optional<Point> query();

    Scheduler& scheduler_;
    XcbConnection connection_;
    int xinputOpcode_ = 0;
    Signal<Point> moved_;
    TaskHandle pending_;  // the delivery that ends the current interval
    bool waiting_ = false;
    double lastDelivery_ = -1e9;
    std::optional<Point> lastPosition_;
};

}  // namespace pelliwig
