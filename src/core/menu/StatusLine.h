#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/engine/Outlook.h"
#include "core/menu/MenuContent.h"

namespace pelliwig {

// Her state for a desktop bar, in one line: what comes next or why she is
// quiet, as her menu says it. `json()` is the object waybar's custom modules
// read (text, tooltip, class, alt), one line per state.
struct StatusLine {
    std::string text;
    std::string tooltip;
    // One word for a bar's style sheet and icons: "next", "idle", "quiet",
    // "call", "paused", "dnd", "fullscreen", or "starting" before the engine
    // runs and "stopped" when she is not running.
    std::string cssClass;

    bool operator==(const StatusLine&) const = default;

    // From the engine's outlook; none while the engine is not built yet.
    // Times are written as her menu writes them (see focusUntilLine).
    static StatusLine of(const std::optional<Outlook>& outlook, std::string_view timeLocale = {});
    // The same with times written by `timeText`, as the shell's menu does.
    static StatusLine of(const std::optional<Outlook>& outlook, const TimeOfDayText& timeText);
    // What a follower prints when she ends.
    static StatusLine stopped();

    // One line of JSON, no newline; "alt" repeats the class, for a bar's
    // format-icons.
    std::string json() const;

private:
    static StatusLine saying(const Outlook& outlook, std::optional<std::string> line);
};

}  // namespace pelliwig
