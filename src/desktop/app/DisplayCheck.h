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

// The one line to print when there is no screen to show her on, or nothing
// when Qt may be started. An X display is tried with `reachable`, since Qt
// aborts when the one it is given does not answer.
std::optional<std::string> problem(const Environment& environment,
                                   bool (*reachable)(const std::string& display));

// True when an X client can connect to `display` now.
bool x11Reachable(const std::string& display);

}  // namespace pelliwig::DisplayCheck
