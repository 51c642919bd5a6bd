#include "core/engine/Rules.h"

#include <cstdint>
#include <utility>

#include "core/content/DayWindows.h"

namespace pelliwig::Rules {

namespace {

constexpr int kSunday = 1;
constexpr int kFriday = 6;
constexpr int kMorningStart = DayWindows::kMorning.start;

// From the bedtime to midnight. A bedtime after midnight (before the morning
// begins) lasts only until the morning: otherwise a 00:30 bedtime would tell
// the user to go to bed all through the following day.
bool bedtimeDue(int m, int bedtime) {
    if (bedtime < kMorningStart) return m >= bedtime && m < kMorningStart;
    return m >= bedtime;
}

// How many whole intervals of `everyMinutes` fit in the stretch; 0 when the
// interval is switched off.
std::int64_t intervalsIn(double stretchSeconds, int everyMinutes) {
    if (everyMinutes <= 0) return 0;
    return static_cast<std::int64_t>(stretchSeconds) / (std::int64_t{everyMinutes} * 60);
}

// Bedtime, call, meals and morning: the fixed parts of every day.
void addDailyCues(std::vector<Cue>& out, const TickContext& context, const Prefs& prefs,
                  const Memory& memory) {
    const int m = context.minutesOfDay;
    const std::string& day = context.dayKey;
    if (bedtimeDue(m, prefs.bedtime.get())) {
        // Snoozed bedtime three nights running: she stops taking no for an answer.
        const auto style =
            memory.state.bedtimeSnoozeNights > 2 ? MomentStyle::sticky : MomentStyle::normal;
        out.push_back(cue(ReminderKind::bedtime, "bedtime|" + day, std::nullopt, style));
    }
    if (inWindowFrom(m, prefs.callTime.get(), 90)) {
        out.push_back(cue(ReminderKind::call, "call|" + day));
    }
    if (DayWindows::kLunch.contains(m)) {
        out.push_back(cue(ReminderKind::meal, "meal|" + day + "|0"));
    }
    if (DayWindows::kDinner.contains(m)) {
        out.push_back(cue(ReminderKind::meal, "meal|" + day + "|1"));
    }
    if (DayWindows::kMorning.contains(m)) {
        const auto style = memory.state.coldUntilApology ? MomentStyle::cold : MomentStyle::normal;
        out.push_back(cue(ReminderKind::morning, "morning|" + day, std::nullopt, style));
    }
}

// Friday evening, birthday and anniversary.
void addOccasions(std::vector<Cue>& out, const TickContext& context, const Prefs& prefs,
                  const Clock& clock) {
    const std::string& day = context.dayKey;
    if (clock.weekday(context.now) == kFriday && inWindow(context.minutesOfDay, 1050, 1170)) {
        out.push_back(cue(ReminderKind::surprise, "friday|" + day, "{friday}"));
    }
    const MonthDay today = clock.monthDay(context.now);
    if (prefs.birthday.get() == today) {
        out.push_back(cue(ReminderKind::birthday, "birthday|" + day));
    }
    if (prefs.anniversary.get() == today) {
        out.push_back(cue(ReminderKind::anniversary, "anniversary|" + day));
    }
}

void addCustomReminders(std::vector<Cue>& out, const TickContext& context, const Prefs& prefs) {
    for (const auto& reminder : prefs.customReminders.get()) {
        if (!reminder.enabled || reminder.text.empty()) continue;
        if (!inWindowFrom(context.minutesOfDay, reminder.minutes, 90)) continue;
        out.push_back(cue(ReminderKind::custom,
                          "custom|" + reminder.id.text() + "|" + context.dayKey, reminder.text));
    }
}

// Breaks, water and app time come again after every further interval of the
// same stretch; a new stretch starts the count again.
void addStretchCues(std::vector<Cue>& out, const TickContext& context, const Prefs& prefs,
                    const Clock& clock) {
    if (const auto n = intervalsIn(context.activeStreak, prefs.breakEvery.get()); n >= 1) {
        out.push_back(
            cue(ReminderKind::breaks, "breaks|" + context.streakKey + "|" + std::to_string(n)));
    }
    if (const auto n = intervalsIn(context.activeStreak, prefs.waterEvery.get()); n >= 1) {
        out.push_back(
            cue(ReminderKind::water, "water|" + context.streakKey + "|" + std::to_string(n)));
    }
    // In the week before the big day she leaves the user's apps alone.
    if (!context.frontApp || prefs.bigDayActive(clock)) return;
    if (const auto n = intervalsIn(context.frontStreak, prefs.appTimeLimit.get()); n >= 1) {
        out.push_back(cue(ReminderKind::appTime,
                          "appTime|" + context.frontKey + "|" + std::to_string(n),
                          "{app:" + *context.frontApp + "}"));
    }
}

void addWeeklyReport(std::vector<Cue>& out, const TickContext& context, const Memory& memory,
                     const Clock& clock) {
    if (clock.weekday(context.now) != kSunday || !inWindow(context.minutesOfDay, 1140, 1320)) {
        return;
    }
    const std::string week = clock.weekKey(context.now);
    if (memory.state.reportedWeek == week) return;
    out.push_back(cue(ReminderKind::report, "report|" + week, "{report}"));
}

}  // namespace

bool inWindow(int m, int from, int to) {
    if (to < from) return m >= from || m < to;
    return m >= from && m < to;
}

bool inWindowFrom(int m, int start, int length) {
    return inWindow(m, start, (start + length) % 1440);
}

Cue cue(ReminderKind kind, std::string onceKey, std::optional<std::string> line,
        MomentStyle style) {
    return Cue{kind, std::move(onceKey), std::move(line), style, std::nullopt, std::nullopt};
}

std::vector<Cue> cues(const TickContext& context, const Prefs& prefs, const Memory& memory,
                      const Clock& clock, Random& random) {
    if (!context.isActive) return {};
    std::vector<Cue> out;
    addDailyCues(out, context, prefs, memory);
    addOccasions(out, context, prefs, clock);
    for (auto& c : herWorld(context, prefs, clock, random)) out.push_back(std::move(c));
    addCustomReminders(out, context, prefs);
    addStretchCues(out, context, prefs, clock);
    addWeeklyReport(out, context, memory, clock);
    return out;
}

}  // namespace pelliwig::Rules
