#include "core/sensors/CalendarSource.h"

#include <cmath>
#include <cstdint>

namespace pelliwig {

CalendarSource::CalendarSource(EventStore& store) : store_(store) {}

std::vector<Cue> CalendarSource::cues(const TickContext& context) {
    // A refusal is asked about again when the store's answer may have
    // changed (a first calendar file appeared); a grant stands for the run.
    if (!requested_ || (!*authorized_ && store_.accessMayHaveChanged())) {
        requested_ = true;
        std::weak_ptr<bool> authorized = authorized_;
        store_.requestAccess([authorized](bool granted) {
            if (auto flag = authorized.lock()) *flag = granted;
        });
        return {};
    }
    if (!*authorized_) return {};

    const Instant start = context.now + kWindowStart;
    const Instant end = context.now + kWindowEnd;
    std::vector<Cue> found;
    for (const auto& event : store_.events(start, end)) {
        // Events already running when the window opens are not "about to start";
        // the end is checked too, as stores differ on whether it is included.
        if (event.allDay || event.start < start || event.start >= end) continue;
        found.push_back(Cue{ReminderKind::calendar, onceKey(event), std::nullopt,
                            MomentStyle::normal, std::nullopt, std::nullopt});
    }
    return found;
}

std::string CalendarSource::onceKey(const CalendarEvent& event) {
    std::string key = "cal|" + (event.identifier.empty() ? event.title : event.identifier);
    if (event.occurrenceStart) {
        const auto seconds = static_cast<std::int64_t>(std::trunc(*event.occurrenceStart));
        key += "|" + std::to_string(seconds);
    }
    return key;
}

}  // namespace pelliwig
