#include "desktop/app/DisplayCheck.h"

#include <xcb/xcb.h>

#include <cstdlib>

namespace pelliwig::DisplayCheck {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

Environment current() {
    return {variable("DISPLAY"), variable("WAYLAND_DISPLAY"), variable("QT_QPA_PLATFORM")};
}

Verdict verdict(const Environment& environment, bool (*reachable)(const std::string& display)) {
    // An explicitly chosen platform (offscreen, vnc, wayland…) is the user's call.
    if (!environment.qtPlatform.empty()) return {};
    const bool wayland = !environment.waylandDisplay.empty();
    std::string why;
    if (environment.display.empty()) {
        if (!wayland) {
            return {Presentation::notch,
                    "pelliwig: no display to show Zuzi on (DISPLAY and WAYLAND_DISPLAY are "
                    "unset); start her from a desktop session.",
                    std::nullopt};
        }
        why = "this Wayland session offers no X display (DISPLAY is unset)";
    } else if (!reachable(environment.display)) {
        if (!wayland) {
            return {Presentation::notch,
                    "pelliwig: the X display " + environment.display +
                        " does not answer; start her from a running desktop session.",
                    std::nullopt};
        }
        why = "the X display " + environment.display + " does not answer";
    } else {
        return {};
    }
    return {Presentation::notifications, std::nullopt,
            "pelliwig: " + why +
                ", so Zuzi cannot sit at the top of the screen; her nudges come as desktop "
                "notifications instead (enable XWayland to have her back)."};
}

bool x11Reachable(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool ok = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return ok;
}

}  // namespace pelliwig::DisplayCheck
