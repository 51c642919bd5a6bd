#include "linux/calendar/IcalCalendarFile.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <utility>

#include "linux/calendar/IcalWallKey.h"

namespace pelliwig {

namespace {

// Days from one date to another, counted on the calendar.
int daysBetween(const icaltimetype& from, const icaltimetype& to) {
    auto dayNumber = [](const icaltimetype& date) {
        std::tm parts{};
        parts.tm_year = date.year - 1900;
        parts.tm_mon = date.month - 1;
        parts.tm_mday = date.day;
        return static_cast<long long>(timegm(&parts)) / 86400;
    };
    return static_cast<int>(dayNumber(to) - dayNumber(from));
}

std::string textOf(const char* text) {
    return text ? text : "";
}

std::vector<icalcomponent*> calendarsIn(icalcomponent* root) {
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) return {root};
    std::vector<icalcomponent*> calendars;
    if (icalcomponent_isa(root) != ICAL_XROOT_COMPONENT) return calendars;
    for (auto* c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT); c;
         c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT)) {
        calendars.push_back(c);
    }
    return calendars;
}

}  // namespace

std::vector<icalproperty*> IcalCalendarFile::propertiesOf(icalcomponent* component,
                                                          icalproperty_kind kind) {
    std::vector<icalproperty*> found;
    for (auto* p = icalcomponent_get_first_property(component, kind); p;
         p = icalcomponent_get_next_property(component, kind)) {
        found.push_back(p);
    }
    return found;
}

IcalCalendarFile::Parsed IcalCalendarFile::parse(const std::string& text, Deadline deadline) {
    Parsed parsed;
    ComponentPtr root(icalparser_parse_string(text.c_str()));
    if (!root || calendarsIn(root.get()).empty()) return parsed;
    std::unique_ptr<IcalCalendarFile> file(new IcalCalendarFile(std::move(root)));
    if (file->load(deadline, parsed.notes)) {
        parsed.file = std::move(file);
    } else {
        parsed.tooSlow = true;
    }
    return parsed;
}

IcalCalendarFile::IcalCalendarFile(ComponentPtr calendar) : calendar_(std::move(calendar)) {}

// False when the deadline passed first.
bool IcalCalendarFile::load(Deadline deadline, std::vector<std::string>& notes) {
    std::vector<icalcomponent*> spent;  // single events, read and no longer needed
    int runningOn = 0;
    for (auto* c : calendarsIn(calendar_.get())) {
        for (auto* event = icalcomponent_get_first_component(c, ICAL_VEVENT_COMPONENT); event;
             event = icalcomponent_get_next_component(c, ICAL_VEVENT_COMPONENT)) {
            auto entry = readEntry(event, c);
            if (!entry) continue;
            if (entry->recurrenceId && !entry->uid.empty()) {
                overridden_[entry->uid].push_back(*entry->recurrenceId);
            }
            if (entry->repeating && !entry->recurrenceId) {
                if (entry->cancelled) continue;
                if (!readRules(*entry, deadline, runningOn)) return false;
                readBounds(*entry, c);
                series_.push_back(std::move(*entry));
                continue;
            }
            spent.push_back(event);
            if (entry->cancelled) continue;
            entry->component = nullptr;
            longestSingle_ = std::max(longestSingle_, entry->span);
            singles_.push_back(Single::of(std::move(*entry)));
        }
        if (Deadline::clock::now() > deadline) return false;
    }
    if (runningOn > 0) {
        notes.push_back(std::to_string(runningOn) +
                        (runningOn == 1 ? " rule repeats" : " rules repeat") + " more than " +
                        std::to_string(kMaxCountedSteps) + " times; taken as running on");
    }
    // Single events hold everything they need; a big file is mostly these.
    for (auto* event : spent) {
        icalcomponent_remove_component(icalcomponent_get_parent(event), event);
        icalcomponent_free(event);
    }
    std::stable_sort(singles_.begin(), singles_.end(),
                     [](const Single& a, const Single& b) { return a.firstKey < b.firstKey; });
    singles_.shrink_to_fit();
    return true;
}

std::optional<IcalCalendarFile::Entry> IcalCalendarFile::readEntry(icalcomponent* event,
                                                                   icalcomponent* calendar) {
    icalproperty* dtstart = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!dtstart) return std::nullopt;
    Entry entry;
    entry.start = IcalDateTime::ofProperty(dtstart, calendar);
    if (entry.start.isNull()) return std::nullopt;
    entry.component = event;
    entry.uid = textOf(icalcomponent_get_uid(event));
    entry.title = textOf(icalcomponent_get_summary(event));
    if (auto* id = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) {
        entry.recurrenceId = IcalDateTime::ofProperty(id, calendar);
        if (entry.recurrenceId->isNull()) return std::nullopt;
    }
    entry.cancelled = icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED;
    entry.repeating = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) ||
                      icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
    readLength(entry, calendar);
    entry.firstKey = wallKey(entry.start.wall());
    entry.lastKey = entry.firstKey;
    entry.span = entry.start.isDate() ? entry.days * 86400LL
                                      : static_cast<long long>(std::ceil(entry.seconds));
    return entry;
}

// DTEND, else DURATION, else a day for all-day events and no time for others.
void IcalCalendarFile::readLength(Entry& entry, icalcomponent* calendar) {
    icalcomponent* event = entry.component;
    icalproperty* dtend = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY);
    icalproperty* duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY);
    if (entry.start.isDate()) {
        entry.days = 1;
        if (dtend) {
            entry.days =
                daysBetween(entry.start.wall(), IcalDateTime::ofProperty(dtend, calendar).wall());
        } else if (duration) {
            const auto length = icalproperty_get_duration(duration);
            entry.days = static_cast<int>(length.weeks * 7 + length.days);
        }
        entry.days = std::max(entry.days, 1);
        return;
    }
    if (dtend) {
        const auto end = IcalDateTime::ofProperty(dtend, calendar);
        if (!end.isNull()) entry.seconds = end.instant() - entry.start.instant();
    } else if (duration) {
        entry.seconds = icaldurationtype_as_int(icalproperty_get_duration(duration));
    }
    entry.seconds = std::max(entry.seconds, 0.0);
}

IcalCalendarFile::Single IcalCalendarFile::Single::of(Entry&& entry) {
    Single single;
    single.uid = std::move(entry.uid);
    single.title = std::move(entry.title);
    single.zone = entry.start.zone();
    single.firstKey = entry.firstKey;
    single.span = entry.span;
    if (entry.recurrenceId)
        single.recurrenceId = std::make_unique<IcalDateTime>(*entry.recurrenceId);
    single.isDate = entry.start.isDate();
    single.uid.shrink_to_fit();
    single.title.shrink_to_fit();
    return single;
}

IcalDateTime IcalCalendarFile::Single::start() const {
    icaltimetype wall = icaltime_from_timet_with_zone(static_cast<time_t>(firstKey), isDate ? 1 : 0,
                                                      icaltimezone_get_utc_timezone());
    wall.zone = nullptr;
    return {wall, zone};
}

Instant IcalCalendarFile::Single::endAt(const IcalDateTime& start) const {
    if (isDate) return start.plusDays(static_cast<int>(span / 86400)).instant();
    return start.instant() + static_cast<Instant>(span);
}

}  // namespace pelliwig
