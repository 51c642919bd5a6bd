#include "core/notch/NotchGeometry.h"

#include <algorithm>

namespace pelliwig {

namespace {

// A screen with a camera housing comes first, wherever it sits in the list,
// so an external screen listed before the built-in one does not win.
std::optional<Screen> chooseScreen(const Screens& screens) {
    const auto all = screens.screens();
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

Rect substituteArea(const Screen& screen, double menuBarHeight) {
    const double width = NotchGeometry::kFallbackWidth;
    return {screen.frame.midX() - width / 2, screen.frame.minY(), width, menuBarHeight};
}

}  // namespace

std::optional<NotchGeometry> NotchGeometry::current(const Screens& screens) {
    return current(screens, NotchGeometry::forceFallback);
}

std::optional<NotchGeometry> NotchGeometry::current(const Screens& screens, bool ignoreNotch) {
    auto screen = chooseScreen(screens);
    if (!screen) return std::nullopt;
    if (!ignoreNotch && measurableNotch(*screen)) {
        return NotchGeometry{*screen, notchBetweenSideAreas(*screen), true};
    }
    return NotchGeometry{*screen, substituteArea(*screen, screens.menuBarHeight()), false};
}

}  // namespace pelliwig
