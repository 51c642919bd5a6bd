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

std::optional<std::string> problem(const Environment& environment,
                                   bool (*reachable)(const std::string& display)) {
    // An explicitly chosen platform (offscreen, vnc, wayland…) is the user's call.
    if (!environment.qtPlatform.empty()) return std::nullopt;
    if (environment.display.empty()) {
        if (!environment.waylandDisplay.empty()) {
            return "pelliwig: she needs an X display, and this Wayland session offers none "
                   "(DISPLAY is unset); enable XWayland and start her again.";
        }
        return "pelliwig: no display to show Zuzi on (DISPLAY and WAYLAND_DISPLAY are unset); "
               "start her from a desktop session.";
    }
    if (!reachable(environment.display)) {
        return "pelliwig: the X display " + environment.display +
               " does not answer; start her from a running desktop session.";
    }
    return std::nullopt;
}

bool x11Reachable(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool ok = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return ok;
}

}  // namespace pelliwig::DisplayCheck
