#pragma once

#include <libical/ical.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/EventStore.h"
#include "linux/calendar/IcalDateTime.h"

namespace pelliwig {

// The events of one iCalendar file, parsed once and expanded into
// occurrences for each range asked. Repeating events are expanded with
// libical's rule iterator; RDATE, EXDATE and occurrences overridden by a
// RECURRENCE-ID of the same UID are applied on top. Cancelled events and
// cancelled occurrences are left out.
class IcalCalendarFile {
public:
    // Nothing when the text is not an iCalendar object.
    static std::unique_ptr<IcalCalendarFile> parse(const std::string& text);

    IcalCalendarFile(const IcalCalendarFile&) = delete;
    IcalCalendarFile& operator=(const IcalCalendarFile&) = delete;

    // Occurrences overlapping [from, to), sorted by start. An event of no
    // length counts when it starts in the range.
    std::vector<CalendarEvent> events(Instant from, Instant to) const;

    // How many occurrences one rule may yield for one range: a rule every
    // second since long ago is cut short rather than stall the caller.
    static constexpr int kMaxRuleSteps = 100000;

private:
    struct ComponentDeleter {
        void operator()(icalcomponent* component) const { icalcomponent_free(component); }
    };
    using ComponentPtr = std::unique_ptr<icalcomponent, ComponentDeleter>;

    // An event as the file holds it: a whole series, or one occurrence of a
    // series when it has a RECURRENCE-ID.
    struct Entry {
        icalcomponent* component = nullptr;  // owned by the calendar
        std::string uid;
        std::string title;
        IcalDateTime start;
        // All-day events last whole days; others a span of seconds.
        int days = 0;
        double seconds = 0;
        std::optional<IcalDateTime> recurrenceId;
        bool cancelled = false;
        bool repeating = false;  // has RRULE or RDATE
    };

    // One occurrence before overrides: where the series puts it.
    struct Slot {
        IcalDateTime start;
        Instant end = 0;
    };

    explicit IcalCalendarFile(ComponentPtr calendar);
    static std::optional<Entry> readEntry(icalcomponent* event, icalcomponent* calendar);
    static void readLength(Entry& entry, icalcomponent* calendar);
    static std::vector<icalproperty*> propertiesOf(icalcomponent* component,
                                                   icalproperty_kind kind);

    void addOverride(const Entry& entry, Instant from, Instant to,
                     std::vector<CalendarEvent>& found) const;
    void addSeries(const Entry& series, const std::vector<long long>& overridden, Instant from,
                   Instant to, std::vector<CalendarEvent>& found) const;
    Instant endOf(const Entry& entry, const IcalDateTime& start) const;
    std::vector<Slot> occurrenceSlots(const Entry& series, Instant from, Instant to) const;
    void addRuleSlots(const Entry& series, icalproperty* rule, Instant from, Instant to,
                      std::vector<Slot>& found) const;
    void addDateSlots(const Entry& series, Instant from, Instant to,
                      std::vector<Slot>& found) const;
    // An EXDATE: a whole day, or the instant of one occurrence.
    struct Exception {
        icaltimetype wall;
        bool isDate = false;
        long long seconds = 0;
    };
    std::vector<Exception> exceptionsOf(const Entry& series, const Slot& first,
                                        const Slot& last) const;
    static bool excluded(const std::vector<Exception>& exceptions, const Slot& slot);

    ComponentPtr calendar_;
    std::vector<Entry> entries_;
};

}  // namespace pelliwig
