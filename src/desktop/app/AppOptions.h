#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/content/Reminder.h"

namespace pelliwig {

// The command line. Each flag is compared with one whole argument; anything
// else is ignored, so toolkit options pass through untouched.
// "--pause MINUTES|tomorrow|off": what the desktop's Pause actions ask for.
struct PauseRequest {
    enum class Until { minutes, tomorrow, off };
    Until until = Until::off;
    int minutes = 0;  // for Until::minutes, above 0

    bool operator==(const PauseRequest&) const = default;

    // Nothing for a value that is none of the three.
    static std::optional<PauseRequest> parse(const std::string& value);
};

struct AppOptions {
    bool noNotch = false;    // "--no-notch": the substitute area even on a notched screen
    bool loginItem = false;  // "--login-item": register to start at login
    bool welcome = false;    // "--welcome": the welcome window even after onboarding
    bool preview = false;    // "--preview" [KIND]: a preview one second after launch
    std::optional<ReminderKind> previewKind;  // none: missing or not a kind name
    bool settings = false;                    // "--settings": open the settings window
    bool diary = false;                       // "--diary": open her diary, "Your week"
    bool quit = false;                        // "--quit": end the Zuzi that runs
    std::optional<PauseRequest> pause;        // none: no "--pause" or a bad value
    bool help = false;
    bool version = false;

    bool operator==(const AppOptions&) const = default;

    // No flag at all: a plain launch, which opens her settings when she
    // already runs.
    bool plain() const { return *this == AppOptions{}; }

    // `arguments` without the program's own name.
    static AppOptions parse(const std::vector<std::string>& arguments);

    // What --help prints.
    static std::string usage();
};

}  // namespace pelliwig
