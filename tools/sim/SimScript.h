#pragma once

#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "SettingValues.h"
#include "core/content/Reminder.h"
#include "core/support/Instant.h"

// The simulator's scripts: one timed command per line,
//   YYYY-MM-DD HH:MM[:SS] COMMAND [ARGS]
// in local wall time, times never decreasing, "#" starting a comment.
namespace pelliwig::sim {

struct Command {
    enum class Kind {
        active,      // continuous input from now
        idle,        // last input now
        app,         // text: the focused application; none for "-"
        camera,      // flag
        mic,         // flag
        power,       // number: percent; flag: on external power
        answer,      // tone
        close,       // the close button
        hoverEnter,  // pointer into the notch
        hoverMove,   // number: points right of the notch's centre
        hoverLeave,  // pointer far away
        wake,        // wake from sleep
        focus,       // number: minutes
        focusCancel,
        preview,     // kind, or none for a random one
        set,         // text: setting key; json: the value inside the envelope
        event,       // text: identifier; title; start; flag: daily; allDay
        calendar,    // flag: access granted
        restart,     // quit and relaunch on the same store
        zone,        // text: the system's new time zone
        pause,       // number: minutes; text: "tomorrow" or "off" instead
        dnd,         // flag: the desktop's do-not-disturb
        fullscreen,  // flag: the focused window fills the screen
    };

    Instant at = 0;
    int line = 0;
    Kind kind = Kind::active;
    std::optional<std::string> text;
    std::string json;
    std::string title;
    double number = 0;
    bool flag = false;
    bool allDay = false;
    Instant start = 0;
    Answer::Tone tone = Answer::Tone::good;
    std::optional<ReminderKind> previewKind;
};

struct ScriptError : std::runtime_error {
    ScriptError(int lineNumber, const std::string& message)
        : std::runtime_error(message), line(lineNumber) {}
    int line;
};

// Reads a whole script in the current default time zone, and the lines after
// a `zone` command in that zone; `set` takes the settings and values
// `settings` allows. Throws ScriptError for the first bad line. The default
// zone is the same afterwards.
std::vector<Command> parseScript(std::istream& in, const SettingValues& settings);

// A local time as written on the command line: "YYYY-MM-DD HH:MM[:SS]".
std::optional<Instant> parseWallTime(const std::string& date, const std::string& time);

}  // namespace pelliwig::sim
