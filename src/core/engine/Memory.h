#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/content/AppBucket.h"
#include "core/content/Reminder.h"
#include "core/platform/KeyValueStore.h"
#include "core/support/Clock.h"
#include "core/support/Json.h"

namespace pelliwig {

// What she remembers of the user: answers per kind, three weeks of days, her
// mood, streaks, sulking. One JSON document under "memory", loaded once and
// saved at once after every answer or rollover, and at most every two
// minutes for the frequent activity ticks.
class Memory {
public:
    struct KindRecord {
        int ignoredStreak = 0;
        int snoozeStreak = 0;
        int acks = 0;
        bool operator==(const KindRecord&) const = default;
    };

    struct DayStats {
        double activeSeconds = 0;
        double longestSitting = 0;
        double socialSeconds = 0;
        int acks = 0;
        int ignored = 0;
        int waterAcks = 0;
        int mealAcks = 0;
        bool bedtimeAck = false;
        bool bedtimeSnoozed = false;
        bool calledHer = false;
        // Seconds per AppBucket raw value; absent until the first app time.
        std::optional<std::map<std::string, double>> appSeconds;
        bool operator==(const DayStats&) const = default;
    };

    struct State {
        std::map<std::string, KindRecord> kinds;  // by ReminderKind raw value
        std::map<std::string, DayStats> days;     // by day key
        int mood = 0;                             // -5 … 5
        bool coldUntilApology = false;
        int bedtimeSnoozeNights = 0;
        int bedtimeStreak = 0;
        int waterStreak = 0;
        std::string lastRolledDay;
        std::string reportedWeek;
        std::optional<Instant> lastMeetingEnd;
        bool operator==(const State&) const = default;
    };

    struct Leisure {
        AppBucket bucket;
        double seconds;
    };

    static constexpr const char* kKey = "memory";
    static constexpr double kSaveThrottle = 120;

    // Loads the stored document (a fresh state when there is none or it does
    // not decode), then rolls the day if needed.
    Memory(KeyValueStore& store, const Clock& clock);

    State state;

    void rollDayIfNeeded();
    void recordTick(double activeSeconds, double sitting, std::optional<AppBucket> bucket);
    void recordAck(ReminderKind kind);
    void recordSnooze(ReminderKind kind);
    void recordIgnored(ReminderKind kind);

    // Today's record, or an all-zero one.
    DayStats today() const;
    // 0 … 100: social time pushes it up, answers and a check-in bring it down.
    int jealousy() const;
    // The records of the n days before today that exist, yesterday first.
    std::vector<DayStats> lastDays(int n) const;
    // The leisure bucket with the most time over lastDays(n), if any.
    std::optional<Leisure> topLeisure(int days) const;

    // Writes the state; when throttled, only if 120 s passed since the last save.
    void save(bool throttled);

    Instant lastSave() const { return lastSave_; }

private:
    DayStats& todayRecord();

    KeyValueStore& store_;
    const Clock& clock_;
    Instant lastSave_ = kDistantPast;
};

template <>
struct Codec<Memory::KindRecord> {
    static OrderedJson encode(const Memory::KindRecord& v);
    static Memory::KindRecord decode(const Json& j);
};

template <>
struct Codec<Memory::DayStats> {
    static OrderedJson encode(const Memory::DayStats& v);
    static Memory::DayStats decode(const Json& j);
};

template <>
struct Codec<Memory::State> {
    static OrderedJson encode(const Memory::State& v);
    static Memory::State decode(const Json& j);
};

}  // namespace pelliwig
