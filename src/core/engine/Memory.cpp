#include "core/engine/Memory.h"

#include <algorithm>

namespace pelliwig {

namespace {

constexpr double kDay = 86400;
constexpr double kKeepDays = 21 * kDay;

}  // namespace

Memory::Memory(KeyValueStore& store, const Clock& clock) : store_(store), clock_(clock) {
    if (const auto bytes = store_.read(kKey)) {
        if (const auto parsed = json::parse(*bytes)) {
            try {
                state = Codec<State>::decode(*parsed);
            } catch (const DecodeError&) {
            } catch (const Json::exception&) {
            }
        }
    }
    rollDayIfNeeded();
}

void Memory::rollDayIfNeeded() {
    const Instant now = clock_.now();
    const std::string today = clock_.dayKey(now);
    if (state.lastRolledDay == today) return;

    // The streaks read the last active day's record, whenever that was.
    if (const auto it = state.days.find(state.lastRolledDay);
        !state.lastRolledDay.empty() && it != state.days.end()) {
        const DayStats& last = it->second;
        state.bedtimeSnoozeNights =
            last.bedtimeSnoozed && !last.bedtimeAck ? state.bedtimeSnoozeNights + 1 : 0;
        state.bedtimeStreak = last.bedtimeAck ? state.bedtimeStreak + 1 : 0;
        state.waterStreak = last.waterAcks >= 2 ? state.waterStreak + 1 : 0;
        state.coldUntilApology = last.ignored >= 4 || state.mood < -2;
    }
    if (state.mood > 0) --state.mood;
    if (state.mood < 0) ++state.mood;
    state.lastRolledDay = today;

    std::erase_if(state.days, [&](const auto& entry) {
        const auto day = clock_.dateFromDayKey(entry.first);
        return !day || !(*day > now - kKeepDays);
    });
    save(false);
}

Memory::DayStats& Memory::todayRecord() {
    return state.days[clock_.dayKey(clock_.now())];
}

void Memory::recordTick(double activeSeconds, double sitting, std::optional<AppBucket> bucket) {
    DayStats& day = todayRecord();
    day.activeSeconds += activeSeconds;
    day.longestSitting = std::max(day.longestSitting, sitting);
    if (bucket) {
        if (isSocialTime(*bucket)) day.socialSeconds += activeSeconds;
        if (!day.appSeconds) day.appSeconds.emplace();
        (*day.appSeconds)[std::string(rawValue(*bucket))] += activeSeconds;
    }
    save(true);
}

void Memory::recordAck(ReminderKind kind) {
    KindRecord& record = state.kinds[std::string(rawValue(kind))];
    record.ignoredStreak = 0;
    record.snoozeStreak = 0;
    record.acks += 1;

    DayStats& day = todayRecord();
    day.acks += 1;
    switch (kind) {
        case ReminderKind::bedtime:
            day.bedtimeAck = true;
            break;
        case ReminderKind::water:
            day.waterAcks += 1;
            break;
        case ReminderKind::meal:
            day.mealAcks += 1;
            break;
        case ReminderKind::call:
            day.calledHer = true;
            break;
        default:
            break;
    }
    state.mood = std::min(state.mood + 1, 5);
    if (kind == ReminderKind::bedtime) state.bedtimeSnoozeNights = 0;
    save(false);
}

void Memory::recordSnooze(ReminderKind kind) {
    state.kinds[std::string(rawValue(kind))].snoozeStreak += 1;
    if (kind == ReminderKind::bedtime) todayRecord().bedtimeSnoozed = true;
    save(false);
}

void Memory::recordIgnored(ReminderKind kind) {
    state.kinds[std::string(rawValue(kind))].ignoredStreak += 1;
    todayRecord().ignored += 1;
    state.mood = std::max(state.mood - 1, -5);
    save(false);
}

Memory::DayStats Memory::today() const {
    const auto it = state.days.find(clock_.dayKey(clock_.now()));
    return it == state.days.end() ? DayStats{} : it->second;
}

int Memory::jealousy() const {
    const DayStats day = today();
    const int j =
        static_cast<int>(day.socialSeconds / 60 * 1.5) - 10 * day.acks - (day.calledHer ? 30 : 0);
    return std::clamp(j, 0, 100);
}

std::vector<Memory::DayStats> Memory::lastDays(int n) const {
    std::vector<DayStats> records;
    const Instant now = clock_.now();
    for (int i = 1; i <= n; ++i) {
        const auto it = state.days.find(clock_.dayKey(now - i * kDay));
        if (it != state.days.end()) records.push_back(it->second);
    }
    return records;
}

std::optional<Memory::Leisure> Memory::topLeisure(int days) const {
    std::map<AppBucket, double> totals;
    for (const auto& day : lastDays(days)) {
        if (!day.appSeconds) continue;
        for (const auto& [key, seconds] : *day.appSeconds) {
            const auto bucket = fromRawValue<AppBucket>(key);
            if (bucket && isLeisure(*bucket)) totals[*bucket] += seconds;
        }
    }
    if (totals.empty()) return std::nullopt;
    const auto best =
        std::max_element(totals.begin(), totals.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    return Leisure{best->first, best->second};
}

void Memory::save(bool throttled) {
    const Instant now = clock_.now();
    if (throttled && now - lastSave_ < kSaveThrottle) return;
    lastSave_ = now;
    try {
        store_.write(kKey, Codec<State>::encode(state).dump());
    } catch (const OrderedJson::exception&) {
        // A failed encode stores nothing; the previous document stays.
    }
}

}  // namespace pelliwig
