#pragma once

#include <optional>

#include "core/content/Reminder.h"
#include "core/engine/CueGate.h"
#include "core/support/Instant.h"

namespace pelliwig {

// What comes next and why she is quiet, as the gate would decide it now.
struct Outlook {
    // What holds back the next reminder now; `shown` when nothing does, `gap`
    // while the last nudge is too recent.
    GateVerdict hold = GateVerdict::shown;
    // When the hold ends by itself: the end of the pause or of the quiet hours.
    std::optional<Instant> until;
    // In a call: true when the camera tells, false for the microphone.
    bool camera = false;
    // The interval reminder (water or a break) due next, and from when the
    // gap lets it through; none when both are off.
    std::optional<ReminderKind> next;
    std::optional<Instant> nextAt;

    bool operator==(const Outlook&) const = default;
};

}  // namespace pelliwig
