#pragma once

#include <libical/ical.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/platform/EventStore.h"
#include "linux/calendar/IcalDateTime.h"

namespace pelliwig {

// The events of one iCalendar file, parsed once and expanded into
// occurrences for each range asked. Repeating events are expanded with
// libical's rule iterator; RDATE, EXDATE and occurrences overridden by a
// RECURRENCE-ID of the same UID are applied on top. Cancelled events and
// cancelled occurrences are left out.
//
// Everything that depends only on the file is worked out when it is parsed:
// single events are indexed by their wall time, so a range costs the events
// near it; where a counted rule ends and which rules can never match are
// found once; the libical objects of single events are freed. A range then
// only walks each live rule from the range's start.
class IcalCalendarFile {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    struct Parsed {
        std::unique_ptr<IcalCalendarFile> file;  // none: not a calendar, or too slow
        bool tooSlow = false;
        // What was cut short, one line each.
        std::vector<std::string> notes;
    };

    // Nothing when the text is not an iCalendar object, or when working
    // out its rules passes the deadline.
    static Parsed parse(const std::string& text, Deadline deadline = Deadline::max());

    IcalCalendarFile(const IcalCalendarFile&) = delete;
    IcalCalendarFile& operator=(const IcalCalendarFile&) = delete;

    // Occurrences overlapping [from, to), sorted by start. An event of no
    // length counts when it starts in the range.
    std::vector<CalendarEvent> events(Instant from, Instant to) const;

    // How many occurrences one rule may yield for one range: a rule every
    // second is cut short rather than stall the caller.
    static constexpr int kMaxRuleSteps = 10000;
    // How far a counted rule is followed, once, to find its last occurrence;
    // one with more is taken as running on past that.
    static constexpr int kMaxCountedSteps = 20000;

    // How many events the file holds, repeating or not.
    std::size_t size() const { return singles_.size() + series_.size(); }

private:
    struct ComponentDeleter {
        void operator()(icalcomponent* component) const { icalcomponent_free(component); }
    };
    using ComponentPtr = std::unique_ptr<icalcomponent, ComponentDeleter>;

    // One RRULE of a series, as far as the file alone tells.
    // One occurrence before overrides: where the series puts it.
    struct Slot {
        IcalDateTime start;
        Instant end = 0;
    };

    // What the last walk of a rule found: every occurrence overlapping the
    // range [from, ...) up to `quietUntil`, where its next one starts. A later
    // range inside that span is answered from it without walking: ticks ask
    // for ranges that move slowly forward.
    struct Walked {
        Instant from = 0;
        Instant quietUntil = 0;
        std::vector<Slot> occurrences;  // not "slots", which Qt takes as a keyword
        bool valid = false;
    };

    struct Rule {
        icalproperty* property = nullptr;
        // Where a counted rule gives its last occurrence; nothing while it runs on.
        std::optional<icaltimetype> last;
        std::shared_ptr<Walked> walked = std::make_shared<Walked>();  // guarded by walkedMutex_
    };

    // An event as the file holds it: a whole series, or one occurrence of a
    // series when it has a RECURRENCE-ID.
    struct Entry {
        icalcomponent* component = nullptr;  // owned by the calendar; none for single events
        std::string uid;
        std::string title;
        IcalDateTime start;
        // All-day events last whole days; others a span of seconds.
        int days = 0;
        double seconds = 0;
        std::optional<IcalDateTime> recurrenceId;
        bool cancelled = false;
        bool repeating = false;   // has RRULE or RDATE
        std::vector<Rule> rules;  // the rules that can give occurrences
        // The start's wall time read as UTC, and the latest any occurrence
        // may have: wall and UTC differ by less than a day.
        long long firstKey = 0;
        long long lastKey = 0;
        long long span = 0;  // seconds, all-day events as whole days
    };

    // A single event or one moved occurrence, kept small: a big file is
    // mostly these. The start is its wall time as a key, in `zone`.
    struct Single {
        std::string uid;
        std::string title;
        icaltimezone* zone = nullptr;
        long long firstKey = 0;
        long long span = 0;
        std::unique_ptr<IcalDateTime> recurrenceId;  // for a moved occurrence
        bool isDate = false;

        static Single of(Entry&& entry);
        IcalDateTime start() const;
        Instant endAt(const IcalDateTime& start) const;
    };

    explicit IcalCalendarFile(ComponentPtr calendar);
    bool load(Deadline deadline, std::vector<std::string>& notes);
    static std::optional<Entry> readEntry(icalcomponent* event, icalcomponent* calendar);
    // `runningOn` counts the counted rules too long to follow.
    static bool readRules(Entry& entry, Deadline deadline, int& runningOn);
    static std::optional<Rule> readRule(const Entry& entry, icalproperty* property, int& runningOn);
    static bool cannotMatch(const icalrecurrencetype& recurrence);
    static void readBounds(Entry& entry, icalcomponent* calendar);
    void addSingles(Instant from, Instant to, std::vector<CalendarEvent>& found) const;
    bool isOverridden(const std::string& uid, Instant start) const;
    static void readLength(Entry& entry, icalcomponent* calendar);
    static std::vector<icalproperty*> propertiesOf(icalcomponent* component,
                                                   icalproperty_kind kind);

    void addOverride(const Single& single, const IcalDateTime& start, Instant from, Instant to,
                     std::vector<CalendarEvent>& found) const;
    void addSeries(const Entry& series, Instant from, Instant to,
                   std::vector<CalendarEvent>& found) const;
    Instant endOf(const Entry& entry, const IcalDateTime& start) const;
    std::vector<Slot> occurrenceSlots(const Entry& series, Instant from, Instant to) const;
    void addRuleSlots(const Entry& series, const Rule& rule, Instant from, Instant to,
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
    // Held by events(), so the walks remembered stay whole; nothing else takes it.
    mutable std::mutex walkedMutex_;
    // Single events and moved or cancelled occurrences, by firstKey.
    std::vector<Single> singles_;
    long long longestSingle_ = 0;
    std::vector<Entry> series_;
    // The RECURRENCE-IDs of each UID: occurrences its series no longer gives.
    std::unordered_map<std::string, std::vector<IcalDateTime>> overridden_;
};

}  // namespace pelliwig
