#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/support/Instant.h"

namespace pelliwig {

// One occurrence of a calendar event.
struct CalendarEvent {
    std::string identifier;  // empty when the store gives none
    std::string title;       // empty when untitled
    Instant start = 0;
    Instant end = 0;
    bool allDay = false;
    // For an event that repeats, the start this occurrence has in the series
    // (before any move of this one occurrence); nothing for a single event.
    // Every occurrence of a series shares the identifier, so this tells them apart.
    std::optional<Instant> occurrenceStart;

    bool operator==(const CalendarEvent&) const = default;
};

// The user's calendars.
class EventStore {
public:
    virtual ~EventStore() = default;

    // Asks for read access to events. The answer may come later, but always
    // on the main thread; the store may ask the user.
    virtual void requestAccess(std::function<void(bool granted)> completion) = 0;

    // Whether asking again may now get another answer than the last request
    // did. A store that asks the user keeps to one request per run and says
    // false; one that answers from what it finds (calendar files) says true
    // when what it finds has changed, so calendars added later are seen.
    virtual bool accessMayHaveChanged() const { return false; }

    // Occurrences of all calendars that overlap [from, to), in the store's order.
    virtual std::vector<CalendarEvent> events(Instant from, Instant to) const = 0;
};

}  // namespace pelliwig
