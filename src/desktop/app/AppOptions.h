#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/content/Reminder.h"

namespace pelliwig {

// "--pause MINUTES|tomorrow|off": what the desktop's Pause actions ask for.
struct PauseRequest {
    enum class Until { minutes, tomorrow, off };
    Until until = Until::off;
    int minutes = 0;  // for Until::minutes, above 0

    bool operator==(const PauseRequest&) const = default;

    // Nothing for a value that is none of the three.
    static std::optional<PauseRequest> parse(const std::string& value);
};

struct ParsedOptions;

// The command line. Each option is one whole argument, its value (if it takes
// one) the next; Qt's own options (-platform xcb, -style …) pass through to
// the toolkit. Anything else is an error, reported rather than ignored.
struct AppOptions {
    bool noNotch = false;    // "--no-notch": the substitute area even on a notched screen
    bool loginItem = false;  // "--login-item": register to start at login
    bool welcome = false;    // "--welcome": the welcome window even after onboarding
    bool preview = false;    // "--preview" [KIND]: a preview one second after launch
    std::optional<ReminderKind> previewKind;  // none: missing or not a kind name
    bool settings = false;                    // "--settings": open the settings window
    bool diary = false;                       // "--diary": open her diary, "Your week"
    bool quit = false;                        // "--quit": end the Zuzi that runs
    std::optional<PauseRequest> pause;        // none: no "--pause"
    // "--status": print what comes next or why she is quiet, asked of the
    // Zuzi that runs; "--json" in waybar's format, "--follow" a line per change.
    bool status = false;
    bool json = false;
    bool follow = false;
    bool help = false;
    bool version = false;

    bool operator==(const AppOptions&) const = default;

    // No flag at all: a plain launch, which opens her settings when she
    // already runs.
    bool plain() const { return *this == AppOptions{}; }

    // `arguments` without the program's own name.
    static ParsedOptions parse(const std::vector<std::string>& arguments);

    // What --help prints. Options kept only so old command lines still work
    // are not listed.
    static std::string usage();

    // Every option the program takes, listed or not ("--no-notch", "-h" …).
    static std::vector<std::string_view> names();
};

struct ParsedOptions {
    AppOptions options;
    // One line naming the first bad argument; empty when all were good.
    std::string error;

    bool ok() const { return error.empty(); }
};

}  // namespace pelliwig
