#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/content/Reminder.h"
#include "core/engine/Memory.h"
#include "core/platform/Random.h"
#include "core/sensors/TickContext.h"
#include "core/settings/Prefs.h"
#include "core/support/Clock.h"

// The nudges due on one tick. Rules only propose: each cue carries a once-key,
// and whether it is shown (enabled, not yet fired, quiet hours, gap, calls) is
// the engine's decision, so a rule may report the same cue tick after tick.
// The order of the list is the priority.
namespace pelliwig::Rules {

// Everything due for an active user, in priority order: bedtime, call, meals,
// morning, Friday evening, birthday, anniversary, her world, custom
// reminders, breaks, water, app time, the weekly report. Nothing when the
// user is not active. Writes nothing; random only picks the weekend photo.
std::vector<Cue> cues(const TickContext& context, const Prefs& prefs, const Memory& memory,
                      const Clock& clock, Random& random);

// The cues from the dates and things the user told her about: special dates,
// countdowns, the big day and the weekend photo. Part of cues().
std::vector<Cue> herWorld(const TickContext& context, const Prefs& prefs, const Clock& clock,
                          Random& random);

// Whether minute m of the day lies in [from, to); when to is before from the
// window wraps past midnight. from == to is an empty window.
bool inWindow(int m, int from, int to);

// The window of `length` minutes starting at `start`, possibly wrapping.
bool inWindowFrom(int m, int start, int length);

// A cue with the usual normal style, no face and no image.
Cue cue(ReminderKind kind, std::string onceKey, std::optional<std::string> line = std::nullopt,
        MomentStyle style = MomentStyle::normal);

}  // namespace pelliwig::Rules
