#include "core/engine/Diary.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include <unicode/dtptngen.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

namespace pelliwig {
namespace {

constexpr double kDay = 86400;
constexpr double kNoon = 12 * 3600;

// Dates in English, ordered as the country of the locale for times orders
// them: "Monday, 12 January" in Britain or Germany, "Monday, January 12" in
// the United States.
class DateWords {
public:
    explicit DateWords(std::string_view timeLocale) {
        const icu::Locale source = timeLocale.empty()
                                       ? icu::Locale::getDefault()
                                       : icu::Locale(std::string(timeLocale).c_str());
        const icu::Locale english("en", source.getCountry());
        weekday_ = format(english, "EEE");
        dayOfMonth_ = format(english, "d");
        date_ = format(english, "EEEEMMMMd");
    }

    std::string weekday(Instant t) const { return text(weekday_.get(), t); }
    std::string dayOfMonth(Instant t) const { return text(dayOfMonth_.get(), t); }
    std::string date(Instant t) const { return text(date_.get(), t); }

private:
    static std::unique_ptr<icu::SimpleDateFormat> format(const icu::Locale& locale,
                                                         const char* skeleton) {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::DateTimePatternGenerator> generator(
            icu::DateTimePatternGenerator::createInstance(locale, status));
        if (U_FAILURE(status)) return nullptr;
        const icu::UnicodeString pattern = generator->getBestPattern(skeleton, status);
        if (U_FAILURE(status)) return nullptr;
        auto made = std::make_unique<icu::SimpleDateFormat>(pattern, locale, status);
        if (U_FAILURE(status)) return nullptr;
        return made;
    }

    static std::string text(const icu::SimpleDateFormat* format, Instant t) {
        if (!format) return {};
        icu::UnicodeString out;
        format->format(t * 1000.0, out);
        std::string utf8;
        out.toUTF8String(utf8);
        return utf8;
    }

    std::unique_ptr<icu::SimpleDateFormat> weekday_, dayOfMonth_, date_;
};

Diary::Bedtime bedtimeOf(const Memory::DayStats& day) {
    if (day.bedtimeAck) return Diary::Bedtime::kept;
    if (day.bedtimeSnoozed) return Diary::Bedtime::snoozed;
    return Diary::Bedtime::none;
}

// A stored number that is not a finite amount of time counts as none, so a
// damaged record cannot spoil the sums it is part of.
double seconds(double value) {
    return std::isfinite(value) && value > 0 ? value : 0;
}

void addBuckets(Diary& diary, const std::vector<const Memory::DayStats*>& records) {
    std::map<AppBucket, double> totals;
    for (const auto* record : records) {
        if (!record->appSeconds) continue;
        for (const auto& [key, value] : *record->appSeconds) {
            if (const auto bucket = fromRawValue<AppBucket>(key); bucket && seconds(value) > 0) {
                totals[*bucket] += seconds(value);
            }
        }
    }
    for (const auto& [bucket, total] : totals) {
        diary.buckets.push_back({bucket, total, isLeisure(bucket)});
    }
    // Most time first; equal times in the buckets' own order.
    std::stable_sort(diary.buckets.begin(), diary.buckets.end(),
                     [](const auto& a, const auto& b) { return a.seconds > b.seconds; });
}

// The week her face and line judge: today and the six days before.
WeekVerdict lastWeek(const Memory::State& memory, const Clock& clock, Instant noon) {
    int water = 0;
    int ignored = 0;
    for (int back = 0; back < Diary::kWeek; ++back) {
        const auto it = memory.days.find(clock.dayKey(noon - back * kDay));
        if (it == memory.days.end()) continue;
        water += std::max(it->second.waterAcks, 0);
        ignored += std::max(it->second.ignored, 0);
    }
    return weekVerdict(water, ignored);
}

// One sentence of the verdict's table, the same all day, so the line does
// not change under the reader each time the window refreshes.
std::string verdictLine(WeekVerdict verdict, Language language, const std::string& dayKey) {
    const auto& table = verdictLines(verdict);
    auto it = table.find(language);
    if (it == table.end() || it->second.empty()) it = table.find(Language::english);
    if (it == table.end() || it->second.empty()) return {};
    const std::size_t index = std::hash<std::string>{}(dayKey) % it->second.size();
    return it->second[index];
}

std::string count(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

Diary diaryOf(const Memory::State& memory, const Clock& clock, int span, Language language,
              std::string_view timeLocale) {
    Diary diary;
    diary.span = std::clamp(span, 1, Diary::kLongest);
    const DateWords words(timeLocale);
    // Days are stepped from noon, which a daylight-saving change never moves
    // into the next or the previous day.
    const Instant noon = clock.startOfDay(clock.now()) + kNoon;
    std::vector<const Memory::DayStats*> records;
    int pastRecords = 0;
    double pastSeconds = 0;
    for (int back = diary.span - 1; back >= 0; --back) {
        const Instant at = noon - back * kDay;
        Diary::Day day;
        day.dayKey = clock.dayKey(at);
        day.start = clock.startOfDay(at);
        day.today = back == 0;
        day.label = diary.span <= Diary::kWeek ? (day.today ? "Today" : words.weekday(at))
                                               : words.dayOfMonth(at);
        day.name = back == 0 ? "Today" : back == 1 ? "Yesterday" : words.date(at);
        if (const auto it = memory.days.find(day.dayKey); it != memory.days.end()) {
            const Memory::DayStats& record = it->second;
            records.push_back(&record);
            day.recorded = true;
            day.activeSeconds = seconds(record.activeSeconds);
            day.longestSitting = seconds(record.longestSitting);
            day.waterAcks = std::max(record.waterAcks, 0);
            day.mealAcks = std::max(record.mealAcks, 0);
            day.bedtime = bedtimeOf(record);
            if (!day.today) {
                ++pastRecords;
                pastSeconds += day.activeSeconds;
            }
            const bool counts = !day.today || day.bedtime != Diary::Bedtime::none;
            if (counts) ++diary.bedtimeNights;
            if (day.bedtime == Diary::Bedtime::kept) ++diary.bedtimesKept;
        }
        diary.activeSeconds += day.activeSeconds;
        diary.longestSitting = std::max(diary.longestSitting, day.longestSitting);
        diary.waterAcks += day.waterAcks;
        diary.mealAcks += day.mealAcks;
        diary.days.push_back(std::move(day));
    }
    if (pastRecords > 0) diary.averageActiveSeconds = pastSeconds / pastRecords;
    addBuckets(diary, records);

    diary.verdict = lastWeek(memory, clock, noon);
    diary.face = verdictFace(diary.verdict);
    diary.line = verdictLine(diary.verdict, language, clock.dayKey(noon));
    return diary;
}

Face verdictFace(WeekVerdict verdict) {
    switch (verdict) {
        case WeekVerdict::good:
            return Face::mood(Mood::proud);
        case WeekVerdict::meh:
            return Face::mood(Mood::smug);
        case WeekVerdict::bad:
            break;
    }
    return Face::mood(Mood::annoyed);
}

std::string durationText(double value) {
    // Three weeks of seconds are far inside a long; more is a damaged record.
    const long long minutes =
        static_cast<long long>(std::min(seconds(value), 1000.0 * Diary::kLongest * kDay) / 60);
    const long long hours = minutes / 60;
    if (hours == 0) return std::to_string(minutes) + " min";
    if (minutes % 60 == 0) return std::to_string(hours) + " h";
    return std::to_string(hours) + " h " + std::to_string(minutes % 60) + " min";
}

std::string chartTitle(DiaryChart chart) {
    switch (chart) {
        case DiaryChart::hours:
            return "Hours at the computer";
        case DiaryChart::sitting:
            return "Longest sitting";
        case DiaryChart::answers:
            return "Water and meals answered";
        case DiaryChart::bedtime:
            return "Bedtime kept";
        case DiaryChart::apps:
            break;
    }
    return "Time by kind of app";
}

std::string dayValueText(const Diary::Day& day, DiaryChart chart) {
    if (!day.recorded) return "no record";
    switch (chart) {
        case DiaryChart::hours:
            return durationText(day.activeSeconds) + (day.today ? " so far" : "");
        case DiaryChart::sitting:
            return durationText(day.longestSitting);
        case DiaryChart::answers:
            return "water " + std::to_string(day.waterAcks) + ", meals " +
                   std::to_string(day.mealAcks);
        case DiaryChart::bedtime:
            switch (day.bedtime) {
                case Diary::Bedtime::kept:
                    return "kept";
                case Diary::Bedtime::snoozed:
                    return "snoozed";
                case Diary::Bedtime::none:
                    break;
            }
            return "not answered";
        case DiaryChart::apps:
            break;
    }
    return durationText(day.activeSeconds);
}

std::string bucketText(const Diary::BucketTime& bucket) {
    return std::string(title(bucket.bucket)) + ": " + durationText(bucket.seconds);
}

std::string chartSummary(const Diary& diary, DiaryChart chart) {
    switch (chart) {
        case DiaryChart::hours:
            if (!diary.averageActiveSeconds) return "Total " + durationText(diary.activeSeconds);
            return "Average " + durationText(*diary.averageActiveSeconds) + " a day";
        case DiaryChart::sitting:
            return "Longest " + durationText(diary.longestSitting);
        case DiaryChart::answers:
            return "Water " + count(diary.waterAcks, "time", "times") + ", meals " +
                   count(diary.mealAcks, "time", "times");
        case DiaryChart::bedtime:
            return "Kept " + std::to_string(diary.bedtimesKept) + " of " +
                   count(diary.bedtimeNights, "night", "nights");
        case DiaryChart::apps:
            break;
    }
    if (diary.buckets.empty()) return "No app time yet";
    return "Most: " + std::string(title(diary.buckets.front().bucket));
}

std::string chartText(const Diary& diary, DiaryChart chart) {
    std::string text = chartTitle(chart) + ", last " + count(diary.span, "day", "days") + ". ";
    if (chart == DiaryChart::apps) {
        for (const auto& bucket : diary.buckets) text += bucketText(bucket) + ". ";
    } else {
        for (const auto& day : diary.days)
            text += day.name + ": " + dayValueText(day, chart) + ". ";
    }
    return text + chartSummary(diary, chart) + ".";
}

}  // namespace pelliwig
