#include "fakes/ScriptedEventStore.h"

#include <utility>

namespace pelliwig {

void ScriptedEventStore::requestAccess(std::function<void(bool granted)> completion) {
    ++requests_;
    waiting_.push_back(std::move(completion));
}

std::vector<CalendarEvent> ScriptedEventStore::events(Instant from, Instant to) const {
    std::vector<CalendarEvent> found;
    for (const auto& event : calendar) {
        // Overlap, as a real store answers; an event of no length counts at its start.
        const bool overlaps = event.start < to && (event.end > from || event.start >= from);
        if (overlaps) found.push_back(event);
    }
    return found;
}

void ScriptedEventStore::answer(bool granted) {
    auto waiting = std::exchange(waiting_, {});
    for (auto& completion : waiting) completion(granted);
}

}  // namespace pelliwig
