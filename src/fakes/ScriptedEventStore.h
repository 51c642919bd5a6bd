#pragma once

#include <vector>

#include "core/platform/EventStore.h"

namespace pelliwig {

// A calendar held in memory. Access requests wait until the test answers them
// with grant() or deny().
class ScriptedEventStore final : public EventStore {
public:
    void requestAccess(std::function<void(bool granted)> completion) override;
    std::vector<CalendarEvent> events(Instant from, Instant to) const override;

    // Answers every waiting request.
    void grant() { answer(true); }
    void deny() { answer(false); }
    int requests() const { return requests_; }

    // Returned in this order when they overlap the asked range.
    std::vector<CalendarEvent> calendar;

private:
    void answer(bool granted);

    int requests_ = 0;
    std::vector<std::function<void(bool)>> waiting_;
};

}  // namespace pelliwig
