#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/engine/ReminderEngine.h"

namespace pelliwig {

Outlook ReminderEngine::outlook() const {
    Outlook out;
    for (const auto& [kind, every] : {std::pair{ReminderKind::water, prefs_.waterEvery.get()},
                                      std::pair{ReminderKind::breaks, prefs_.breakEvery.get()}}) {
        const auto due = nextDue(kind, every);
        if (due && (!out.nextAt || *due < *out.nextAt)) {
            out.next = kind;
            out.nextAt = due;
        }
    }
    const GateWorld world = gateWorld();
    out.hold = CueGate::holdFor(out.next.value_or(ReminderKind::water), world);
    switch (out.hold) {
        case GateVerdict::inCall:
            out.camera = meetings_.cameraRunning();
            break;
        case GateVerdict::paused:
            out.until = pause_.until();
            break;
        case GateVerdict::quietHours:
            out.until = quietEnds();
            break;
        default:
            break;
    }
    // The gap lets nothing through before it is over.
    if (out.nextAt) *out.nextAt = std::max(*out.nextAt, lastShown_ + world.minimumGap);
    return out;
}

// The next whole minute at which the clock reads the end of the quiet hours.
std::optional<Instant> ReminderEngine::quietEnds() const {
    const Instant now = clock_.now();
    const int m = clock_.minutesOfDay(now);
    const int minutes = (prefs_.quietEnd.get() - m + 1440) % 1440;
    return now - std::fmod(now, 60.0) + minutes * 60.0;
}

// When the rules next propose `kind` in this stretch: now when its current
// interval is over and not yet shown, else at the end of the next interval.
std::optional<Instant> ReminderEngine::nextDue(ReminderKind kind, int everyMinutes) const {
    if (everyMinutes <= 0 || !prefs_.isEnabled(kind)) return std::nullopt;
    const Instant now = clock_.now();
    const Instant start = activity_->streakStart();
    const double every = everyMinutes * 60.0;
    const auto n = static_cast<std::int64_t>((now - start) / every);
    const std::string key =
        rawString(kind) + "|" + activity_->streakKey() + "|" + std::to_string(n);
    if (n >= 1 && !fired_.contains(key)) return now;
    return start + static_cast<double>(n + 1) * every;
}

}  // namespace pelliwig
