// Turning the file's events into the occurrences of one range.
#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <mutex>

#include "linux/calendar/IcalCalendarFile.h"
#include "linux/calendar/IcalWallKey.h"

namespace pelliwig {

namespace {

// An event of no length counts when it starts in the range.
bool overlaps(Instant start, Instant end, Instant from, Instant to) {
    return start < to && (end > from || start >= from);
}

long long wholeSeconds(Instant instant) {
    return std::llround(instant);
}

bool sameDate(const icaltimetype& a, const icaltimetype& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

constexpr Instant kDay = 86400;

}  // namespace

std::vector<CalendarEvent> IcalCalendarFile::events(Instant from, Instant to) const {
    std::lock_guard lock(walkedMutex_);
    std::vector<CalendarEvent> found;
    addSingles(from, to, found);
    for (const auto& series : series_) {
        if (static_cast<Instant>(series.firstKey - kWallSlack) >= to) continue;
        if (series.lastKey != LLONG_MAX &&
            static_cast<Instant>(series.lastKey + series.span + kWallSlack) < from) {
            continue;
        }
        addSeries(series, from, to, found);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.start < b.start; });
    return found;
}

// Only the events whose wall time is near the range are looked at.
void IcalCalendarFile::addSingles(Instant from, Instant to,
                                  std::vector<CalendarEvent>& found) const {
    const auto lowest = static_cast<long long>(std::floor(from)) - longestSingle_ - kWallSlack;
    const auto highest = static_cast<long long>(std::ceil(to)) + kWallSlack;
    auto it =
        std::lower_bound(singles_.begin(), singles_.end(), lowest,
                         [](const Single& single, long long key) { return single.firstKey < key; });
    for (; it != singles_.end() && it->firstKey < highest; ++it) {
        const IcalDateTime start = it->start();
        if (it->recurrenceId) {
            addOverride(*it, start, from, to, found);
            continue;
        }
        const Instant at = start.instant();
        const Instant end = it->endAt(start);
        if (!overlaps(at, end, from, to) || isOverridden(it->uid, at)) continue;
        found.push_back(CalendarEvent{it->uid, it->title, at, end, it->isDate, std::nullopt});
    }
}

bool IcalCalendarFile::isOverridden(const std::string& uid, Instant start) const {
    if (uid.empty()) return false;
    const auto it = overridden_.find(uid);
    if (it == overridden_.end()) return false;
    const long long seconds = wholeSeconds(start);
    return std::any_of(it->second.begin(), it->second.end(), [&](const IcalDateTime& id) {
        return wholeSeconds(id.instant()) == seconds;
    });
}

void IcalCalendarFile::addOverride(const Single& single, const IcalDateTime& start, Instant from,
                                   Instant to, std::vector<CalendarEvent>& found) const {
    const Instant at = start.instant();
    const Instant end = single.endAt(start);
    if (!overlaps(at, end, from, to)) return;
    found.push_back(CalendarEvent{single.uid, single.title, at, end, single.isDate,
                                  single.recurrenceId->instant()});
}

void IcalCalendarFile::addSeries(const Entry& series, Instant from, Instant to,
                                 std::vector<CalendarEvent>& found) const {
    for (const auto& slot : occurrenceSlots(series, from, to)) {
        const Instant start = slot.start.instant();
        if (isOverridden(series.uid, start)) continue;
        found.push_back(
            CalendarEvent{series.uid, series.title, start, slot.end, series.start.isDate(), start});
    }
}

Instant IcalCalendarFile::endOf(const Entry& entry, const IcalDateTime& start) const {
    if (start.isDate()) return start.plusDays(entry.days).instant();
    return start.instant() + entry.seconds;
}

std::vector<IcalCalendarFile::Slot> IcalCalendarFile::occurrenceSlots(const Entry& series,
                                                                      Instant from,
                                                                      Instant to) const {
    std::vector<Slot> found;
    // DTSTART is the first occurrence even when the rule would not give it.
    const Slot first{series.start, endOf(series, series.start)};
    if (overlaps(first.start.instant(), first.end, from, to)) found.push_back(first);
    for (const auto& rule : series.rules) addRuleSlots(series, rule, from, to, found);
    addDateSlots(series, from, to, found);

    auto earlier = [](const Slot& a, const Slot& b) {
        return wholeSeconds(a.start.instant()) < wholeSeconds(b.start.instant());
    };
    auto same = [](const Slot& a, const Slot& b) {
        return wholeSeconds(a.start.instant()) == wholeSeconds(b.start.instant());
    };
    std::stable_sort(found.begin(), found.end(), earlier);
    found.erase(std::unique(found.begin(), found.end(), same), found.end());

    if (found.empty()) return found;
    const auto exceptions = exceptionsOf(series, found.front(), found.back());
    std::erase_if(found, [&](const Slot& slot) { return excluded(exceptions, slot); });
    return found;
}

// The walk starts near the range, never at the rule's start: a counted rule
// is followed as an open one that stops at the last occurrence found when
// the file was read. Floating times move with the local zone, so only the
// walks of rules in a fixed zone are remembered.
void IcalCalendarFile::addRuleSlots(const Entry& series, const Rule& rule, Instant from, Instant to,
                                    std::vector<Slot>& found) const {
    Walked& walked = *rule.walked;
    const bool remembered = series.start.zone() != nullptr;
    if (remembered && walked.valid && from >= walked.from && to <= walked.quietUntil) {
        for (const auto& slot : walked.occurrences) {
            if (overlaps(slot.start.instant(), slot.end, from, to)) found.push_back(slot);
        }
        return;
    }
    Walked next{from, 0, {}, false};
    icalrecurrencetype recurrence = icalproperty_get_rrule(rule.property);
    recurrence.count = 0;  // libical only starts an uncounted rule elsewhere
    icalrecur_iterator* steps = icalrecur_iterator_new(recurrence, series.start.wall());
    if (!steps) return;  // a rule libical cannot follow
    // The extra day covers wall clocks that differ from UTC.
    const Instant skipTo =
        from - (series.start.isDate() ? series.days * kDay : series.seconds) - kDay;
    if (skipTo > series.start.instant()) {
        icalrecur_iterator_set_start(steps, series.start.wallAt(skipTo));
    }
    for (int step = 0; step < kMaxRuleSteps; ++step) {
        const icaltimetype wall = icalrecur_iterator_next(steps);
        if (icaltime_is_null_time(wall) || (rule.last && icaltime_compare(wall, *rule.last) > 0)) {
            next.quietUntil = std::numeric_limits<Instant>::infinity();
            next.valid = true;
            break;
        }
        const IcalDateTime start = series.start.withWall(wall);
        const Instant at = start.instant();
        if (at >= to) {
            next.quietUntil = at;
            next.valid = true;
            break;
        }
        const Instant end = endOf(series, start);
        if (overlaps(at, end, from, to)) next.occurrences.push_back(Slot{start, end});
    }
    icalrecur_iterator_free(steps);
    found.insert(found.end(), next.occurrences.begin(), next.occurrences.end());
    if (remembered) walked = std::move(next);
}

void IcalCalendarFile::addDateSlots(const Entry& series, Instant from, Instant to,
                                    std::vector<Slot>& found) const {
    icalcomponent* calendar = icalcomponent_get_parent(series.component);
    for (auto* property : propertiesOf(series.component, ICAL_RDATE_PROPERTY)) {
        const IcalDateTime start = IcalDateTime::ofProperty(property, calendar);
        if (start.isNull()) continue;
        Instant end = endOf(series, start);
        // A period gives its own end.
        const icaldatetimeperiodtype value = icalproperty_get_rdate(property);
        if (!icalperiodtype_is_null_period(value.period)) {
            end = icaltime_is_null_time(value.period.end)
                      ? start.instant() + icaldurationtype_as_int(value.period.duration)
                      : IcalDateTime(value.period.end, start.zone()).instant();
        }
        if (overlaps(start.instant(), end, from, to)) found.push_back(Slot{start, end});
    }
}

// Only the exceptions that can fall among the slots from first to last, each
// turned into an instant once: a time in a far year makes libical work out
// its zone's changes up to that year, which takes seconds, and the same
// exception would otherwise be converted again for every slot.
std::vector<IcalCalendarFile::Exception> IcalCalendarFile::exceptionsOf(const Entry& series,
                                                                        const Slot& first,
                                                                        const Slot& last) const {
    icalcomponent* calendar = icalcomponent_get_parent(series.component);
    // A wall time and the instant it names are at most a day apart, so
    // within a year of each other.
    const int fromYear = first.start.wall().year - 1;
    const int toYear = last.start.wall().year + 1;
    std::vector<Exception> exceptions;
    for (auto* property : propertiesOf(series.component, ICAL_EXDATE_PROPERTY)) {
        const auto exception = IcalDateTime::ofProperty(property, calendar);
        if (exception.isNull()) continue;
        if (exception.wall().year < fromYear || exception.wall().year > toYear) continue;
        exceptions.push_back(Exception{exception.wall(), exception.isDate(),
                                       exception.isDate() ? 0 : wholeSeconds(exception.instant())});
    }
    return exceptions;
}

// A date excludes the occurrence on that day of the series' own calendar.
bool IcalCalendarFile::excluded(const std::vector<Exception>& exceptions, const Slot& slot) {
    const long long start = wholeSeconds(slot.start.instant());
    return std::any_of(exceptions.begin(), exceptions.end(), [&](const Exception& exception) {
        return exception.isDate ? sameDate(exception.wall, slot.start.wall())
                                : exception.seconds == start;
    });
}

}  // namespace pelliwig
