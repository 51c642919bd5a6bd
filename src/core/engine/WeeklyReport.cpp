#include "core/engine/WeeklyReport.h"

#include <algorithm>
#include <cmath>

#include "core/content/Placeholders.h"

namespace pelliwig {

namespace {

constexpr int kDays = 7;
constexpr double kJabFromSeconds = 3 * 3600;

// Truncated toward zero, in decimal. Stored numbers come from our own JSON,
// but a value out of range must not make the conversion undefined.
std::string whole(double value) {
    constexpr double kLimit = 9.0e15;
    if (!std::isfinite(value)) return "0";
    return std::to_string(static_cast<long long>(std::clamp(std::trunc(value), -kLimit, kLimit)));
}

struct Totals {
    double activeSeconds = 0;
    double longestSitting = 0;
    int water = 0;
    int ignored = 0;
};

Totals add(const std::vector<Memory::DayStats>& days) {
    Totals totals;
    for (const auto& day : days) {
        totals.activeSeconds += day.activeSeconds;
        totals.longestSitting = std::max(totals.longestSitting, day.longestSitting);
        totals.water += day.waterAcks;
        totals.ignored += day.ignored;
    }
    return totals;
}

// Minutes of the longest sitting: whole seconds first, then whole minutes.
std::string sittingMinutes(double seconds) {
    if (!std::isfinite(seconds)) return "0";
    return whole(std::trunc(seconds) / 60);
}

}  // namespace

WeekVerdict weekVerdict(int waterAcks, int ignored) {
    if (ignored < 4 && waterAcks > 6) return WeekVerdict::good;
    if (ignored < 12) return WeekVerdict::meh;
    return WeekVerdict::bad;
}

const LineBank::LanguageTable& verdictLines(WeekVerdict verdict) {
    const auto& t = LineBank::tables();
    switch (verdict) {
        case WeekVerdict::good:
            return t.reportGood;
        case WeekVerdict::meh:
            return t.reportMeh;
        case WeekVerdict::bad:
            break;
    }
    return t.reportBad;
}

std::string WeeklyReport::reportLine() {
    const Totals totals = add(memory_.lastDays(kDays));

    memory_.state.reportedWeek = clock_.weekKey(clock_.now());
    memory_.save(false);

    const Language language = prefs_.language.get();
    const auto& t = LineBank::tables();
    const std::string scorecard = lines_.pick(t.report, language, "report");
    const std::string verdict =
        lines_.pick(verdictLines(weekVerdict(totals.water, totals.ignored)), language, "reportc");
    std::string text = fillPlaceholders(scorecard, {{"h", whole(totals.activeSeconds / 3600)},
                                                    {"m", sittingMinutes(totals.longestSitting)},
                                                    {"w", std::to_string(totals.water)},
                                                    {"c", verdict}});

    const auto top = memory_.topLeisure(kDays);
    if (!top || top->seconds < kJabFromSeconds) return text;
    const std::string jab =
        fillPlaceholders(lines_.pick(t.reportApps, language, "reportApps"),
                         {{"app", title(top->bucket)}, {"h", whole(top->seconds / 3600)}});
    return text + " " + jab;
}

}  // namespace pelliwig
