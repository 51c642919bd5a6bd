#pragma once

#include <string_view>

namespace pelliwig {

enum class SessionKind { X11, Wayland };

// What kind of desktop session she runs in, as its environment says. Every
// choice that depends on the session reads it here, so they cannot disagree.
struct SessionTraits {
    // $XDG_SESSION_TYPE when it says x11 or wayland, else Wayland when
    // $WAYLAND_DISPLAY names a compositor, else X11. Her windows are X11
    // windows either way (through XWayland on Wayland).
    SessionKind kind = SessionKind::X11;
    // $XDG_CURRENT_DESKTOP's list names GNOME ("ubuntu:GNOME" does).
    bool gnome = false;

    bool wayland() const { return kind == SessionKind::Wayland; }

    // From the values of $XDG_SESSION_TYPE, $WAYLAND_DISPLAY and
    // $XDG_CURRENT_DESKTOP (empty when unset).
    static SessionTraits from(std::string_view sessionType, std::string_view waylandDisplay,
                              std::string_view currentDesktop);
    // This process's session, read from the environment once: a session does
    // not change under a running program.
    static const SessionTraits& current();

    bool operator==(const SessionTraits&) const = default;
};

}  // namespace pelliwig
