#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/content/Reminder.h"
#include "core/platform/EventStore.h"
#include "core/sensors/TickContext.h"

namespace pelliwig {

// Announces timed events about ten minutes before they start.
class CalendarSource {
public:
    explicit CalendarSource(EventStore& store);
    CalendarSource(const CalendarSource&) = delete;
    CalendarSource& operator=(const CalendarSource&) = delete;

    // Calendar cues due at the context's time. The first call only asks for
    // access and yields nothing; until access is granted every call yields
    // nothing. Access is asked for once per run, and again after a refusal
    // whenever the store says its answer may have changed.
    std::vector<Cue> cues(const TickContext& context);

    // Events starting from 9 to 11 minutes ahead are due: with a tick every 30
    // seconds each event is seen a few times and its once-key keeps it to one.
    static constexpr double kWindowStart = 540;
    static constexpr double kWindowEnd = 660;

    // "cal|" + identifier (or title when there is none). Occurrences of a
    // repeating event share the identifier, so theirs also carry "|" and the
    // occurrence's original start in whole seconds: each day's stand-up is
    // announced, while a moved single event keeps its key and is not.
    static std::string onceKey(const CalendarEvent& event);

private:
    EventStore& store_;
    bool requested_ = false;
    // Shared with the pending access request, which must not write into a
    // source that is gone.
    std::shared_ptr<bool> authorized_ = std::make_shared<bool>(false);
};

}  // namespace pelliwig
