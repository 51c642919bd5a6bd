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
//
// Not every move is reported: where the pointer is seen only over her own
// windows, a jump straight onto another program's window may not be, and a
// warped pointer makes no motion. So while inside, a quiet spell of
// kQuietCheck makes it ask where the pointer is; an answer is taken as an
// event, and no answer within another kQuietCheck counts as the pointer
// having gone. She goes back in at most 2 × kQuietCheck + kExitDelay after
// the last event.
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
    // How long the pointer may go unreported while inside before it is asked
    // for.
    static constexpr double kQuietCheck = 0.2;

private:
    void moved(Point p);
    void movedInside(const Rect& notch, Point p);
    void movedOutside();
    void entered();
    void left();
    void heard();
    void checkWhenQuiet();
    void askWhere();

    PointerEvents& pointer_;
    Scheduler& scheduler_;
    TaskHandle enterWork_;
    TaskHandle leaveWork_;
    TaskHandle quietWork_;
    bool isInside_ = false;
    // Counts every event, so a question can tell whether it was answered.
    unsigned heard_ = 0;
    // Last, so they go first: no event reaches a half-destroyed monitor.
    Connection subscription_;
    Connection leftSubscription_;
};

}  // namespace pelliwig
