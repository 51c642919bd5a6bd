#include "linux/SessionTraits.h"

#include <cstdlib>

namespace pelliwig {

namespace {

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// XDG_CURRENT_DESKTOP is a colon-separated list, most specific first.
bool listNames(std::string_view list, std::string_view desktop) {
    while (!list.empty()) {
        const auto colon = list.find(':');
        if (list.substr(0, colon) == desktop) return true;
        if (colon == std::string_view::npos) break;
        list.remove_prefix(colon + 1);
    }
    return false;
}

SessionKind kindOf(std::string_view sessionType, std::string_view waylandDisplay) {
    if (sessionType == "x11") return SessionKind::X11;
    if (sessionType == "wayland") return SessionKind::Wayland;
    return waylandDisplay.empty() ? SessionKind::X11 : SessionKind::Wayland;
}

}  // namespace

SessionTraits SessionTraits::from(std::string_view sessionType, std::string_view waylandDisplay,
                                  std::string_view currentDesktop) {
    return {.kind = kindOf(sessionType, waylandDisplay),
            .gnome = listNames(currentDesktop, "GNOME")};
}

const SessionTraits& SessionTraits::current() {
    static const SessionTraits traits =
        from(environment("XDG_SESSION_TYPE"), environment("WAYLAND_DISPLAY"),
             environment("XDG_CURRENT_DESKTOP"));
    return traits;
}

}  // namespace pelliwig
