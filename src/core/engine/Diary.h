#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/content/AppBucket.h"
#include "core/content/Language.h"
#include "core/content/Reminder.h"
#include "core/engine/Memory.h"
#include "core/engine/WeeklyReport.h"
#include "core/support/Clock.h"

namespace pelliwig {

// Her diary: the last days as her diary window shows them, read from her
// memory's day records with today's record as it stands. Computed afresh
// whenever the window asks; nothing of it is stored.
struct Diary {
    // How a day's bedtime reminder was answered.
    enum class Bedtime { none, snoozed, kept };

    struct Day {
        std::string dayKey;
        Instant start = 0;  // local midnight
        bool today = false;
        bool recorded = false;  // her memory holds a record of the day
        double activeSeconds = 0;
        double longestSitting = 0;
        int waterAcks = 0;
        int mealAcks = 0;
        Bedtime bedtime = Bedtime::none;
        std::string label;  // under its bar: "Mon" in a week, "12" in three
        std::string name;   // "Today", or the date in words: "Monday, 12 January"
        bool operator==(const Day&) const = default;
    };

    struct BucketTime {
        AppBucket bucket = AppBucket::other;
        double seconds = 0;
        bool leisure = false;
        bool operator==(const BucketTime&) const = default;
    };

    static constexpr int kWeek = 7;
    // As far back as her memory keeps day records.
    static constexpr int kLongest = 21;

    int span = kWeek;
    std::vector<Day> days;            // `span` of them, oldest first, today last
    std::vector<BucketTime> buckets;  // over the span, most time first; none without time

    // Over the span.
    double activeSeconds = 0;
    double longestSitting = 0;
    int waterAcks = 0;
    int mealAcks = 0;
    int bedtimesKept = 0;
    // Nights that can count: the recorded days before today, and today once
    // its bedtime was answered.
    int bedtimeNights = 0;
    // The average a day over the recorded days before today (today is not
    // over yet); none before there is one.
    std::optional<double> averageActiveSeconds;

    // The last seven days, today included, judged as the Sunday scorecard
    // judges a week, and her face and line for it.
    WeekVerdict verdict = WeekVerdict::meh;
    Face face = Face::mood(Mood::smug);
    std::string line;

    bool operator==(const Diary&) const = default;
};

// The charts of the diary window, top to bottom.
enum class DiaryChart { hours, sitting, answers, bedtime, apps };

// The diary of the `span` days up to and including today (1 … 21; other
// values are brought into that range), her line in `language`. Dates are
// written in English, day and month in the order of `timeLocale`'s country
// (an ICU locale ID; empty: ICU's default locale), in the default zone.
Diary diaryOf(const Memory::State& memory, const Clock& clock, int span, Language language,
              std::string_view timeLocale = {});

// Her face for a week's verdict: proud, smug or annoyed.
Face verdictFace(WeekVerdict verdict);

// Whole minutes, truncated: "0 min", "45 min", "2 h", "4 h 20 min".
std::string durationText(double seconds);

// "Hours at the computer", "Longest sitting", …
std::string chartTitle(DiaryChart chart);

// What one day shows in a chart, in words: "4 h 20 min", "water 3, meals 2",
// "kept"; "no record" for a day her memory does not hold.
std::string dayValueText(const Diary::Day& day, DiaryChart chart);

// One bucket's entry of the apps chart: "Coding: 12 h 5 min".
std::string bucketText(const Diary::BucketTime& bucket);

// The whole chart in words, its text alternative for screen readers: the
// title, every day (or bucket) with its value, and the chart's summary.
std::string chartText(const Diary& diary, DiaryChart chart);

// The chart's summary line: "Average 4 h 2 min a day", "Longest 1 h 50 min", …
std::string chartSummary(const Diary& diary, DiaryChart chart);

}  // namespace pelliwig
