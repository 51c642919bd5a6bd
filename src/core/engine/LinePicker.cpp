#include "core/engine/LinePicker.h"

#include <algorithm>
#include <array>

#include "core/content/Placeholders.h"

namespace pelliwig {

namespace {

constexpr std::array<int, 5> kMilestones{3, 5, 7, 14, 30};
constexpr int kMonday = 2;
constexpr int kSulkAfterIgnores = 3;
constexpr int kJealousFrom = 60;
constexpr double kJealousOdds = 0.5;

bool isMilestone(int streak) {
    return std::find(kMilestones.begin(), kMilestones.end(), streak) != kMilestones.end();
}

}  // namespace

LineBank::AppCategory appCategoryOf(AppBucket bucket) {
    using C = LineBank::AppCategory;
    if (isWork(bucket)) return C::work;
    if (isSocialTime(bucket)) return C::social;
    return bucket == AppBucket::browsing ? C::browsing : C::other;
}

LinePicker::LinePicker(const Prefs& prefs, Memory& memory, LineBank& lines, Random& random,
                       const Clock& clock)
    : prefs_(prefs),
      memory_(memory),
      lines_(lines),
      random_(random),
      clock_(clock),
      report_(memory, prefs, lines, clock) {}

std::string LinePicker::pick(const LineBank::LanguageTable& table, std::string_view key) {
    return lines_.pick(table, language(), key);
}

std::string LinePicker::pickLine(ReminderKind kind, MomentStyle style) {
    const auto& t = LineBank::tables();
    if (style == MomentStyle::sticky && kind == ReminderKind::bedtime) {
        return pick(t.grumpyBedtime, "grumpy");
    }
    if (style == MomentStyle::cold) return pick(t.coldMorning, "cold");
    if (kind == ReminderKind::meeting) return pick(t.meetingAfter, "meeting");
    if (kind == ReminderKind::photo) return pick(t.photo, "photo");
    if (kind == ReminderKind::hover) return pick(t.hover, "hover");
    if (auto line = sulkingLine(kind)) return *line;
    if (auto line = jealousLine(kind)) return *line;
    if (auto line = roastLine(kind)) return *line;
    if (kind == ReminderKind::morning) return morningLine();
    return lines_.next(kind, language());
}

std::optional<std::string> LinePicker::sulkingLine(ReminderKind kind) {
    if (!asksForAnswer(kind)) return std::nullopt;
    const auto record = memory_.state.kinds.find(rawString(kind));
    const int ignored = record == memory_.state.kinds.end() ? 0 : record->second.ignoredStreak;
    if (ignored < kSulkAfterIgnores) return std::nullopt;
    const auto& t = LineBank::tables();
    const auto own = t.ignored.find(kind);
    if (own == t.ignored.end()) return pick(t.ignoredGeneric, "ignoredGeneric");
    return pick(own->second, "ignored|" + rawString(kind));
}

std::optional<std::string> LinePicker::jealousLine(ReminderKind kind) {
    if (!asksForAnswer(kind) || memory_.jealousy() < kJealousFrom) return std::nullopt;
    if (random_.uniform() >= kJealousOdds) return std::nullopt;
    std::string opener = pick(LineBank::tables().jealousOpen, "jealous");
    return opener + " " + lines_.next(kind, language());
}

std::optional<std::string> LinePicker::roastLine(ReminderKind kind) {
    if (prefs_.roastLevel.get() != RoastLevel::savage) return std::nullopt;
    const auto& roasts = LineBank::tables().roast;
    const auto roast = roasts.find(kind);
    if (roast == roasts.end() || !random_.coin()) return std::nullopt;
    return pick(roast->second, "roast|" + rawString(kind));
}

std::string LinePicker::morningLine() {
    if (auto streak = streakLine()) return *streak;
    const auto& t = LineBank::tables();
    if (clock_.weekday(clock_.now()) == kMonday) return pick(t.mondayMorning, "monday");
    if (clock_.isWeekend()) return pick(t.weekendMorning, "weekend");
    return lines_.next(ReminderKind::morning, language());
}

std::optional<std::string> LinePicker::streakLine() {
    const auto& t = LineBank::tables();
    const int bedtime = memory_.state.bedtimeStreak;
    if (isMilestone(bedtime)) {
        return fillPlaceholders(pick(t.bedtimeStreak, "bstreak"), {{"n", std::to_string(bedtime)}});
    }
    const int water = memory_.state.waterStreak;
    if (isMilestone(water)) {
        return fillPlaceholders(pick(t.waterStreak, "wstreak"), {{"n", std::to_string(water)}});
    }
    return std::nullopt;
}

}  // namespace pelliwig
