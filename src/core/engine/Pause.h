#pragma once

#include <optional>

#include "core/content/DayWindows.h"
#include "core/settings/Prefs.h"
#include "core/support/Clock.h"

namespace pelliwig {

// A pause the user asked for: she keeps quiet until the time chosen. It is
// the setting `pausedUntil`, so it lasts across a restart, and nothing is
// stored while she is not paused. The object holds nothing of its own.
class Pause {
public:
    // "Until tomorrow" ends at 05:00: after any night, before any morning.
    static constexpr int kTomorrowAt = DayWindows::kMorning.start;

    Pause(Prefs& prefs, const Clock& clock) : prefs_(prefs), clock_(clock) {}

    // The end while a pause runs; nothing when none was asked for or the
    // one asked for is over.
    std::optional<Instant> until() const;
    bool active() const { return until().has_value(); }

    // From now; a running pause is replaced.
    void forMinutes(int minutes);
    // Until the next 05:00.
    void untilTomorrow();
    void resume();

private:
    Prefs& prefs_;
    const Clock& clock_;
};

}  // namespace pelliwig
