#include "core/sensors/HoverMonitor.h"

namespace pelliwig {

HoverMonitor::HoverMonitor(PointerEvents& pointer, Scheduler& scheduler)
    : scheduler_(scheduler),
      subscription_(pointer.onMove([this](Point p) { moved(p); })),
      leftSubscription_(pointer.onLeft([this] {
          if (notchRect && notchRect()) movedOutside();
      })) {}

void HoverMonitor::moved(Point p) {
    const auto notch = notchRect ? notchRect() : std::nullopt;
    if (!notch) return;
    const Rect hot = (hotRect ? hotRect() : std::nullopt).value_or(*notch);
    // Entry only through the notch; once in, the larger hot area keeps it in.
    const Rect entryZone = notch->grownBy(0, kEntryTolerance);
    if (entryZone.contains(p) || (isInside_ && hot.contains(p))) {
        movedInside(*notch, p);
    } else {
        movedOutside();
    }
}

void HoverMonitor::movedInside(const Rect& notch, Point p) {
    leaveWork_.cancel();
    if (isInside_) {
        if (onMove) onMove(p.x - notch.midX());
        return;
    }
    if (enterWork_.active()) return;
    enterWork_ = scheduler_.after(kEntryDelay, [this] { entered(); });
}

void HoverMonitor::movedOutside() {
    // Passing through the notch faster than the entry delay is not a visit.
    enterWork_.cancel();
    if (!isInside_ || leaveWork_.active()) return;
    leaveWork_ = scheduler_.after(kExitDelay, [this] { left(); });
}

void HoverMonitor::entered() {
    enterWork_ = TaskHandle{};
    isInside_ = true;
    if (onEnter) onEnter();
}

void HoverMonitor::left() {
    leaveWork_ = TaskHandle{};
    isInside_ = false;
    if (onLeave) onLeave();
}

}  // namespace pelliwig
