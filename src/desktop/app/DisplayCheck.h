#pragma once

#include <optional>
#include <string>

namespace pelliwig::DisplayCheck {

// What the environment says about the screen she would live on.
struct Environment {
    std::string display;         // $DISPLAY
    std::string waylandDisplay;  // $WAYLAND_DISPLAY
    std::string qtPlatform;      // $QT_QPA_PLATFORM
};

Environment current();

// How she speaks: from her panel at the notch, or, in a Wayland session that
// offers no X display (her panel places itself as only an X client may), as
// the desktop's notifications.
enum class Presentation { notch, notifications };

struct Verdict {
    Presentation presentation = Presentation::notch;
    // The one line to print when there is no screen to show her on at all.
    std::optional<std::string> problem;
    // The one line to print before she starts without her panel.
    std::optional<std::string> notice;
};

// An X display is tried with `reachable`, since Qt aborts when the one it is
// given does not answer.
Verdict verdict(const Environment& environment, bool (*reachable)(const std::string& display));

// True when an X client can connect to `display` now.
bool x11Reachable(const std::string& display);

// The Qt platforms to try, in order, when she speaks as notifications: her
// windows on Wayland, or none at all without Qt's Wayland plugin.
inline constexpr const char* kNotificationPlatforms = "wayland;offscreen";

}  // namespace pelliwig::DisplayCheck
