#pragma once

#include <functional>
#include <optional>

#include "core/platform/PointerEvents.h"
#include "core/platform/Scheduler.h"
#include "core/support/Geometry.h"
#include "core/support/Signal.h"

namespace pelliwig {

// Tells when the pointer rests in the notch, moves while there, and has gone
// away. States: outside, entering (entry pending), inside, leaving (exit
// pending); they change only on pointer movement and the two delays.
class HoverMonitor {
public:
    HoverMonitor(PointerEvents& pointer, Scheduler& scheduler);
    HoverMonitor(const HoverMonitor&) = delete;
    HoverMonitor& operator=(const HoverMonitor&) = delete;

    using RectSource = std::function<std::optional<Rect>()>;

    // Where the notch is; without it every pointer event is ignored.
    RectSource notchRect;
    // The area that keeps the pointer inside once it has entered; the notch
    // itself when this yields nothing.
    RectSource hotRect;
    std::function<void()> onEnter;
    std::function<void()> onLeave;
    // Horizontal distance of the pointer from the notch's centre, positive to
    // the right, on each move while inside.
    std::function<void(double)> onMove;

    bool isInside() const { return isInside_; }

    static constexpr double kEntryDelay = 0.35;
    static constexpr double kExitDelay = 1.2;
    // The entry zone reaches this far above and below the notch, so a pointer
    // resting just under it still counts.
    static constexpr double kEntryTolerance = 6;

private:
    void moved(Point p);
    void movedInside(const Rect& notch, Point p);
    void movedOutside();
    void entered();
    void left();

    Scheduler& scheduler_;
    TaskHandle enterWork_;
    TaskHandle leaveWork_;
    bool isInside_ = false;
    // Last, so they go first: no event reaches a half-destroyed monitor.
    Connection subscription_;
    Connection leftSubscription_;
};

}  // namespace pelliwig
