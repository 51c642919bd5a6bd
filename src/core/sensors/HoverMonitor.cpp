#include "core/sensors/HoverMonitor.h"

namespace pelliwig {

HoverMonitor::HoverMonitor(PointerEvents& pointer, Scheduler& scheduler)
    : pointer_(pointer),
      scheduler_(scheduler),
      subscription_(pointer.onMove([this](Point p) {
          heard();
          moved(p);
      })),
      leftSubscription_(pointer.onLeft([this] {
          heard();
          if (notchRect && notchRect()) movedOutside();
      })) {}

void HoverMonitor::heard() {
    ++heard_;
}

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
        checkWhenQuiet();
        if (onMove) onMove(p.x - notch.midX());
        return;
    }
    if (enterWork_.active()) return;
    enterWork_ = scheduler_.after(kEntryDelay, [this] { entered(); });
}

void HoverMonitor::movedOutside() {
    // Passing through the notch faster than the entry delay is not a visit.
    enterWork_.cancel();
    quietWork_.cancel();
    if (!isInside_ || leaveWork_.active()) return;
    leaveWork_ = scheduler_.after(kExitDelay, [this] { left(); });
}

void HoverMonitor::entered() {
    enterWork_ = TaskHandle{};
    isInside_ = true;
    checkWhenQuiet();
    if (onEnter) onEnter();
}

void HoverMonitor::left() {
    leaveWork_ = TaskHandle{};
    quietWork_.cancel();
    isInside_ = false;
    if (onLeave) onLeave();
}

// Each event while inside starts the quiet spell again.
void HoverMonitor::checkWhenQuiet() {
    quietWork_ = scheduler_.after(kQuietCheck, [this] { askWhere(); });
}

void HoverMonitor::askWhere() {
    const unsigned before = heard_;
    pointer_.askWhere();
    if (heard_ != before) return;  // answered: the event has been handled
    quietWork_ = scheduler_.after(kQuietCheck, [this, before] {
        if (heard_ == before && isInside_) movedOutside();
    });
}

}  // namespace pelliwig
