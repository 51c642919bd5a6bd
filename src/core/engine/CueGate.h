#pragma once

#include <array>
#include <limits>
#include <string_view>

#include "core/content/Reminder.h"
#include "core/support/Enum.h"

namespace pelliwig {

// Why the gate stopped a cue, in the order it asks; `shown` when it passed.
enum class GateVerdict {
    kindOff,
    onceKeyUsed,
    inCall,
    paused,
    doNotDisturb,
    fullScreen,
    quietHours,
    gap,
    notchOccupied,
    shown
};

// Everything the gate asks about the world, read once by the engine. A plain
// value, so that the tick and whatever explains her silence (the menu, the
// status line) decide by the same rules from the same facts.
struct GateWorld {
    bool inCall = false;
    bool paused = false;
    bool doNotDisturb = false;
    bool fullScreen = false;  // a full-screen window in front and her setting to yield to it
    bool quietHours = false;
    double sinceShown = std::numeric_limits<double>::infinity();  // seconds
    double minimumGap = 0;                                        // seconds
    bool notchBusy = false;  // a moment other than a peek is out

    bool operator==(const GateWorld&) const = default;
};

// What the gate knows of one cue beyond its kind.
struct CueFacts {
    bool kindEnabled = true;
    bool onceKeyUsed = false;
};

namespace CueGate {

// The verdict on one cue.
GateVerdict verdict(ReminderKind kind, const CueFacts& facts, const GateWorld& world);

// What stops any enabled, not yet shown cue of `kind` now: the world's part
// of the verdict, `shown` when nothing does.
GateVerdict holdFor(ReminderKind kind, const GateWorld& world);

}  // namespace CueGate

template <>
struct EnumTraits<GateVerdict> {
    static constexpr std::array<std::string_view, 10> names{
        "kindOff",    "onceKeyUsed", "inCall", "paused",        "doNotDisturb",
        "fullScreen", "quietHours",  "gap",    "notchOccupied", "shown"};
};

}  // namespace pelliwig
