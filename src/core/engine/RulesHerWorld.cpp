#include "core/content/DayWindows.h"
#include "core/engine/PhotoPicker.h"
#include "core/engine/Rules.h"

namespace pelliwig::Rules {

namespace {

constexpr int kSunday = 1;
constexpr int kSaturday = 7;

void addSpecialDates(std::vector<Cue>& out, const TickContext& context, const Prefs& prefs,
                     const Clock& clock) {
    const MonthDay today = clock.monthDay(context.now);
    for (const auto& date : prefs.specialDates.get()) {
        if (date.label.empty() || date.monthDay != today) continue;
        out.push_back(cue(ReminderKind::date, "date|" + date.id.text() + "|" + context.dayKey,
                          "{date:" + date.label + "}"));
    }
}

// Each running countdown is announced once each morning, up to and including its day.
void addCountdowns(std::vector<Cue>& out, const TickContext& context, const Prefs& prefs,
                   const Clock& clock) {
    if (!DayWindows::kMorning.contains(context.minutesOfDay)) return;
    for (const auto& countdown : prefs.countdowns.get()) {
        if (countdown.label.empty() || clock.daysUntil(countdown.date, context.now) < 0) continue;
        const std::string& id = countdown.id.text();
        out.push_back(cue(ReminderKind::countdown, "countdown|" + id + "|" + context.dayKey,
                          "{countdown:" + id + "}"));
    }
}

// Support mode: a push each morning of the week before the big day, a
// celebration on its evening.
void addBigDay(std::vector<Cue>& out, const TickContext& context, const Prefs& prefs,
               const Clock& clock) {
    const auto bigDay = prefs.bigDay.get();
    if (!bigDay) return;
    const int days = clock.daysUntil(*bigDay, context.now);
    const int m = context.minutesOfDay;
    if (days >= 1 && days <= 7 && inWindow(m, 600, 690)) {
        out.push_back(cue(ReminderKind::deadline, "deadline|" + context.dayKey, "{deadline}"));
    } else if (days == 0 && m >= 1200) {
        out.push_back(cue(ReminderKind::deadline, "bigday|" + context.dayKey, "{bigday}"));
    }
}

// One photo a week: a fresh picture is drawn on every tick until one is shown.
void addWeekendPhoto(std::vector<Cue>& out, const TickContext& context, const Prefs& prefs,
                     const Clock& clock, Random& random) {
    const int weekday = clock.weekday(context.now);
    if (weekday != kSaturday && weekday != kSunday) return;
    if (!inWindow(context.minutesOfDay, 660, 1200)) return;
    auto picture = PhotoPicker::random(prefs.photoFolder.get(), random);
    if (!picture) return;
    auto photo = cue(ReminderKind::photo, "photo|" + clock.weekKey(context.now));
    photo.image = std::move(picture);
    out.push_back(std::move(photo));
}

}  // namespace

std::vector<Cue> herWorld(const TickContext& context, const Prefs& prefs, const Clock& clock,
                          Random& random) {
    std::vector<Cue> out;
    addSpecialDates(out, context, prefs, clock);
    addCountdowns(out, context, prefs, clock);
    addBigDay(out, context, prefs, clock);
    addWeekendPhoto(out, context, prefs, clock, random);
    return out;
}

}  // namespace pelliwig::Rules
