// What a series' rules tell once the file is read: which can never give an
// occurrence, where a counted one ends, and the span its occurrences cover.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <string>

#include "linux/calendar/IcalCalendarFile.h"
#include "linux/calendar/IcalWallKey.h"

namespace pelliwig {

namespace {

bool isSet(const short* values) {
    return values[0] != ICAL_RECURRENCE_ARRAY_MAX;
}

constexpr std::array<int, 12> kLongestMonth{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

}  // namespace

bool IcalCalendarFile::readRules(Entry& entry, Deadline deadline, int& runningOn) {
    for (auto* property : propertiesOf(entry.component, ICAL_RRULE_PROPERTY)) {
        if (auto rule = readRule(entry, property, runningOn)) entry.rules.push_back(*rule);
        if (Deadline::clock::now() > deadline) return false;
    }
    return true;
}

// Nothing for a rule that gives no occurrence, or that libical cannot follow.
std::optional<IcalCalendarFile::Rule> IcalCalendarFile::readRule(const Entry& entry,
                                                                 icalproperty* property,
                                                                 int& runningOn) {
    const icalrecurrencetype recurrence = icalproperty_get_rrule(property);
    // libical searches years for a day that does not exist before it gives up.
    if (cannotMatch(recurrence)) return std::nullopt;
    icalrecur_iterator* steps = icalrecur_iterator_new(recurrence, entry.start.wall());
    if (!steps) return std::nullopt;
    Rule rule{property, std::nullopt};
    icaltimetype last = icalrecur_iterator_next(steps);
    const bool any = !icaltime_is_null_time(last);
    if (any && recurrence.count > kMaxCountedSteps) {
        ++runningOn;
    } else if (any && recurrence.count > 0) {
        for (icaltimetype next = icalrecur_iterator_next(steps); !icaltime_is_null_time(next);
             next = icalrecur_iterator_next(steps)) {
            last = next;
        }
        rule.last = last;
    }
    icalrecur_iterator_free(steps);
    if (!any) return std::nullopt;
    return rule;
}

// Only the plain case of month days that no listed month has, such as the
// 30th of February; anything narrowed further is left to libical.
bool IcalCalendarFile::cannotMatch(const icalrecurrencetype& recurrence) {
    if (!isSet(recurrence.by_month) || !isSet(recurrence.by_month_day)) return false;
    if (isSet(recurrence.by_day) || isSet(recurrence.by_year_day) || isSet(recurrence.by_week_no) ||
        isSet(recurrence.by_set_pos)) {
        return false;
    }
    for (const short* month = recurrence.by_month; *month != ICAL_RECURRENCE_ARRAY_MAX; ++month) {
        if (*month < 1 || *month > 12) return false;  // a leap month of another calendar
        for (const short* day = recurrence.by_month_day; *day != ICAL_RECURRENCE_ARRAY_MAX; ++day) {
            if (*day != 0 &&
                std::abs(*day) <= kLongestMonth[static_cast<std::size_t>(*month - 1)]) {
                return false;
            }
        }
    }
    return true;
}

// The first and last wall times any occurrence may start at, so a range far
// from them is answered without walking the rules.
void IcalCalendarFile::readBounds(Entry& entry, icalcomponent* calendar) {
    for (const auto& rule : entry.rules) {
        if (rule.last) {
            entry.lastKey = std::max(entry.lastKey, wallKey(*rule.last));
            continue;
        }
        const icalrecurrencetype recurrence = icalproperty_get_rrule(rule.property);
        if (icaltime_is_null_time(recurrence.until)) {
            entry.lastKey = LLONG_MAX;
            continue;
        }
        entry.lastKey = std::max(entry.lastKey, wallKey(recurrence.until));
    }
    for (auto* property : propertiesOf(entry.component, ICAL_RDATE_PROPERTY)) {
        const IcalDateTime start = IcalDateTime::ofProperty(property, calendar);
        if (start.isNull()) continue;
        const long long key = wallKey(start.wall());
        entry.firstKey = std::min(entry.firstKey, key);
        long long end = key;
        const icaldatetimeperiodtype value = icalproperty_get_rdate(property);
        if (!icalperiodtype_is_null_period(value.period)) {
            end = icaltime_is_null_time(value.period.end)
                      ? key + icaldurationtype_as_int(value.period.duration)
                      : wallKey(value.period.end);
        }
        entry.lastKey = std::max(entry.lastKey, end);
    }
}

}  // namespace pelliwig
