#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/support/Geometry.h"
#include "core/support/Signal.h"

namespace pelliwig {

// One display as the platform reports it, in screen coordinates.
struct Screen {
    std::string name;  // identifies the display to the panel that goes on it
    Rect frame;
    // How far the top edge is cut into by a camera housing; 0 on a plain screen.
    double topInset = 0;
    // The usable strips of the top bar left and right of a notch; only screens
    // with a notch report them.
    std::optional<Rect> auxiliaryTopLeftArea{};
    std::optional<Rect> auxiliaryTopRightArea{};
    // What the desktop's panels and docks leave free; none when they take
    // nothing, or the platform does not say.
    std::optional<Rect> workArea{};
    // Device pixels per screen-coordinate unit (2 on a 200 % screen). The
    // screen's top-left corner is the same point in both.
    double scale = 1;

    bool operator==(const Screen&) const = default;
};

// A point in device pixels (as the X server reports the pointer) in screen
// coordinates, on the screen whose device-pixel area holds it; none between
// screens.
std::optional<Point> fromDevicePixels(const std::vector<Screen>& screens, Point device);

// The displays and the desktop's top bar.
class Screens {
public:
    virtual ~Screens() = default;

    // Every display, in the platform's order.
    virtual std::vector<Screen> screens() const = 0;

    // The primary display, if the platform names one.
    virtual std::optional<Screen> mainScreen() const = 0;

    // Height of the desktop's top panel (the menu bar). Platforms without one
    // report a usual bar height instead of 0, since the area she lives in is
    // this tall.
    virtual double menuBarHeight() const = 0;

    // The name of the display the pointer is on, if the platform knows.
    virtual std::optional<std::string> pointerScreen() const = 0;

    // Calls back on the main thread after displays are added, removed,
    // moved or resized; the connection unsubscribes when dropped.
    [[nodiscard]] virtual Connection onChange(std::function<void()> callback) = 0;
};

}  // namespace pelliwig
