#include "core/notch/NotchGeometry.h"

#include <algorithm>

namespace pelliwig {

namespace {

std::optional<Screen> named(const std::vector<Screen>& all, const std::string& name) {
    const auto found = std::ranges::find_if(all, [&](const Screen& s) { return s.name == name; });
    if (found == all.end()) return std::nullopt;
    return *found;
}

// The screen the user picked when it is there. Otherwise a screen with a
// camera housing comes first, wherever it sits in the list, so an external
// screen listed before the built-in one does not win.
std::optional<Screen> chooseScreen(const Screens& screens, const std::string& choice) {
    const auto all = screens.screens();
    if (choice == NotchPlacement::kPointerScreen) {
        if (auto name = screens.pointerScreen()) {
            if (auto screen = named(all, *name)) return screen;
        }
    } else if (choice != NotchPlacement::kPrimaryScreen) {
        if (auto screen = named(all, choice)) return screen;
    }
    const auto notched = std::ranges::find_if(all, [](const Screen& s) { return s.topInset > 0; });
    if (notched != all.end()) return *notched;
    if (auto main = screens.mainScreen()) return main;
    if (!all.empty()) return all.front();
    return std::nullopt;
}

// A top inset alone is not enough: some external screens report one without
// the two side areas that bound a real notch.
bool measurableNotch(const Screen& screen) {
    return screen.topInset > 0 && screen.auxiliaryTopLeftArea && screen.auxiliaryTopRightArea;
}

Rect notchBetweenSideAreas(const Screen& screen) {
    const Rect& left = *screen.auxiliaryTopLeftArea;
    const Rect& right = *screen.auxiliaryTopRightArea;
    return {left.maxX(), screen.frame.minY(), right.minX() - left.maxX(), screen.topInset};
}

// Below a top bar rather than over its clock; the centre is the screen's,
// where a notch would be, the corners are the work area's, clear of docks.
Rect substituteArea(const Screen& screen, double menuBarHeight, NotchPosition position) {
    const double width = NotchGeometry::kFallbackWidth;
    const Rect free = screen.workArea.value_or(screen.frame);
    const double top = std::max(screen.frame.minY(), free.minY());
    double x = screen.frame.midX() - width / 2;
    if (position == NotchPosition::topLeft) x = free.minX();
    if (position == NotchPosition::topRight) x = std::max(free.minX(), free.maxX() - width);
    return {x, top, width, menuBarHeight};
}

}  // namespace

std::optional<NotchGeometry> NotchGeometry::current(const Screens& screens,
                                                    const NotchPlacement& placement) {
    return current(screens, NotchGeometry::forceFallback, placement);
}

std::optional<NotchGeometry> NotchGeometry::current(const Screens& screens, bool ignoreNotch,
                                                    const NotchPlacement& placement) {
    auto screen = chooseScreen(screens, placement.screen);
    if (!screen) return std::nullopt;
    if (!ignoreNotch && measurableNotch(*screen)) {
        return NotchGeometry{*screen, notchBetweenSideAreas(*screen), true};
    }
    const Rect area = substituteArea(*screen, screens.menuBarHeight(), placement.position);
    return NotchGeometry{*screen, area, false, placement.position == NotchPosition::topRight};
}

}  // namespace pelliwig
