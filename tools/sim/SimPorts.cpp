#include "SimPorts.h"

#include <algorithm>
#include <cmath>

#include "SimTime.h"

namespace pelliwig::sim {

double SimIdleTime::seconds() const {
    if (continuous_) return 0;
    if (!lastInput_) return kNeverTouched;
    return scheduler_.now() - *lastInput_;
}

// The answer comes at once; the calendar source expects it at any time.
void SimEventStore::requestAccess(std::function<void(bool granted)> completion) {
    answered_ = granted_;
    completion(granted_);
}

std::vector<CalendarEvent> SimEventStore::events(Instant from, Instant to) const {
    std::vector<CalendarEvent> out;
    for (const auto& entry : entries_) addOccurrences(entry, from, to, out);
    return out;
}

void SimEventStore::addOccurrences(const Entry& entry, Instant from, Instant to,
                                   std::vector<CalendarEvent>& out) const {
    const double length = entry.allDay ? 86400 : kDuration;
    auto occurrence = [&](Instant start) {
        if (start < to && start + length > from) {
            out.push_back(CalendarEvent{entry.identifier, entry.title, start, start + length,
                                        entry.allDay,
                                        entry.daily ? std::optional(start) : std::nullopt});
        }
    };
    if (!entry.daily) {
        occurrence(entry.start);
        return;
    }
    // The occurrences around the asked range: a day before it to a day after.
    const int first = static_cast<int>(std::floor((from - entry.start) / 86400)) - 1;
    const int last = static_cast<int>(std::ceil((to - entry.start) / 86400)) + 1;
    for (int day = std::max(first, 0); day <= last; ++day) occurrence(addDays(entry.start, day));
}

}  // namespace pelliwig::sim
