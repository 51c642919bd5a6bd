#include "core/engine/Diary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fakes/MemoryStore.h"
#include "fakes/VirtualScheduler.h"
#include "support/TestTime.h"

namespace pelliwig {
namespace {

constexpr double kDay = 86400;
constexpr double kHour = 3600;
constexpr Instant kSunday = 1742128200;  // 2025-03-16 13:30 in Berlin

using Bedtime = Diary::Bedtime;

// A memory seeded day by day, as her engine fills it, then read back as the
// diary window reads it.
class DiaryTest : public ::testing::Test {
protected:
    explicit DiaryTest(Instant now = kSunday) : scheduler(now) {}

    // The record of the day `daysAgo` before today.
    Memory::DayStats& day(int daysAgo) {
        return memory.state.days[clock.dayKey(clock.now() - daysAgo * kDay)];
    }

    Diary diary(int span = Diary::kWeek, Language language = Language::english) {
        return diaryOf(memory.state, clock, span, language, "en_GB");
    }

    testing::ZoneAndLocale zone{"Europe/Berlin", "en_GB"};
    VirtualScheduler scheduler;
    Clock clock{scheduler};
    MemoryStore store;
    Memory memory{store, clock};
};

TEST_F(DiaryTest, AWeekOfRecordsDayByDayWithTodayLast) {
    day(6).activeSeconds = 4 * kHour;  // Monday
    day(6).longestSitting = 50 * 60;
    day(6).waterAcks = 3;
    day(6).mealAcks = 2;
    day(4).activeSeconds = 6 * kHour + 30 * 60;
    day(4).longestSitting = 110 * 60;
    memory.recordTick(1800, 1800, AppBucket::coding);  // today, as the engine records it

    const Diary d = diary();
    ASSERT_EQ(d.days.size(), 7u);
    const char* labels[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Today"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(d.days[i].label, labels[i]) << i;
    EXPECT_EQ(d.days[0].name, "Monday, 10 March");
    EXPECT_EQ(d.days[5].name, "Yesterday");
    EXPECT_EQ(d.days[6].name, "Today");
    EXPECT_TRUE(d.days[6].today);
    EXPECT_EQ(d.days[6].start, clock.startOfDay(kSunday));

    EXPECT_TRUE(d.days[0].recorded);
    EXPECT_FALSE(d.days[1].recorded);
    EXPECT_EQ(d.days[0].activeSeconds, 4 * kHour);
    EXPECT_EQ(d.days[0].waterAcks, 3);
    EXPECT_EQ(d.days[0].mealAcks, 2);
    EXPECT_EQ(d.days[2].longestSitting, 110 * 60);
    EXPECT_EQ(d.days[6].activeSeconds, 1800);

    EXPECT_EQ(d.activeSeconds, 4 * kHour + 6.5 * kHour + 1800);
    EXPECT_EQ(d.longestSitting, 110 * 60);
    EXPECT_EQ(d.waterAcks, 3);
    EXPECT_EQ(d.mealAcks, 2);
    // Today is not over: the average is over the two recorded days before it.
    ASSERT_TRUE(d.averageActiveSeconds);
    EXPECT_EQ(*d.averageActiveSeconds, 5.25 * kHour);
}

TEST_F(DiaryTest, ThreeWeeksReachTwentyDaysBackAndNoFurther) {
    day(20).activeSeconds = kHour;
    day(21).activeSeconds = 9 * kHour;  // the day before the oldest shown
    day(7).activeSeconds = 2 * kHour;   // outside the week

    const Diary week = diary(Diary::kWeek);
    EXPECT_EQ(week.activeSeconds, 0);
    EXPECT_FALSE(week.averageActiveSeconds);

    const Diary weeks = diary(Diary::kLongest);
    ASSERT_EQ(weeks.days.size(), 21u);
    EXPECT_EQ(weeks.days.front().dayKey, clock.dayKey(kSunday - 20 * kDay));
    EXPECT_EQ(weeks.activeSeconds, 3 * kHour);
    // In three weeks the bars are labelled with the day of the month.
    EXPECT_EQ(weeks.days.front().label, "24");
    EXPECT_EQ(weeks.days.back().label, "16");
}

struct SpanCase {
    int asked;
    std::size_t days;
};

class DiarySpanTest : public DiaryTest, public ::testing::WithParamInterface<SpanCase> {};

TEST_P(DiarySpanTest, IsKeptBetweenOneDayAndThreeWeeks) {
    const Diary d = diary(GetParam().asked);
    EXPECT_EQ(d.days.size(), GetParam().days);
    EXPECT_EQ(d.span, static_cast<int>(GetParam().days));
    EXPECT_TRUE(d.days.back().today);
}

INSTANTIATE_TEST_SUITE_P(Spans, DiarySpanTest,
                         ::testing::Values(SpanCase{-3, 1}, SpanCase{0, 1}, SpanCase{1, 1},
                                           SpanCase{14, 14}, SpanCase{21, 21}, SpanCase{400, 21}));

// The face and line follow the Sunday scorecard's tiers over the seven days
// shown, today included.
struct VerdictCase {
    const char* name;
    std::vector<std::pair<int, int>> waterByDay;    // (days ago, water answers)
    std::vector<std::pair<int, int>> ignoredByDay;  // (days ago, ignored moments)
    Language language;
    WeekVerdict verdict;
    Mood face;
    const char* line;
};

class DiaryVerdictTest : public DiaryTest, public ::testing::WithParamInterface<VerdictCase> {};

TEST_P(DiaryVerdictTest, FollowsTheScorecardsTiers) {
    const auto& c = GetParam();
    for (const auto& [ago, water] : c.waterByDay) day(ago).waterAcks = water;
    for (const auto& [ago, ignored] : c.ignoredByDay) day(ago).ignored = ignored;
    for (const int span : {Diary::kWeek, Diary::kLongest}) {
        const Diary d = diary(span, c.language);
        EXPECT_EQ(d.verdict, c.verdict) << span;
        EXPECT_EQ(d.face, Face::mood(c.face)) << span;
        EXPECT_EQ(d.line, c.line) << span;
    }
}

INSTANTIATE_TEST_SUITE_P(Tiers, DiaryVerdictTest,
                         ::testing::Values(VerdictCase{"FreshMemory",
                                                       {},
                                                       {},
                                                       Language::english,
                                                       WeekVerdict::meh,
                                                       Mood::smug,
                                                       "Not bad, not great. We can do better 😌"},
                                           VerdictCase{"GoodWithTodaysWater",
                                                       {{0, 4}, {3, 3}},
                                                       {{2, 3}},
                                                       Language::english,
                                                       WeekVerdict::good,
                                                       Mood::proud,
                                                       "Honestly? I'm impressed 🏆"},
                                           VerdictCase{"SixWaterIsNotEnough",
                                                       {{0, 3}, {6, 3}},
                                                       {},
                                                       Language::english,
                                                       WeekVerdict::meh,
                                                       Mood::smug,
                                                       "Not bad, not great. We can do better 😌"},
                                           VerdictCase{"TheSeventhDayBackIsLastWeek",
                                                       {{0, 3}, {7, 9}},
                                                       {},
                                                       Language::english,
                                                       WeekVerdict::meh,
                                                       Mood::smug,
                                                       "Not bad, not great. We can do better 😌"},
                                           VerdictCase{"FourIgnoredSpoilGood",
                                                       {{1, 9}},
                                                       {{0, 2}, {5, 2}},
                                                       Language::english,
                                                       WeekVerdict::meh,
                                                       Mood::smug,
                                                       "Not bad, not great. We can do better 😌"},
                                           VerdictCase{"TwelveIgnoredAreBad",
                                                       {{1, 20}},
                                                       {{0, 6}, {6, 6}, {9, 30}},
                                                       Language::english,
                                                       WeekVerdict::bad,
                                                       Mood::annoyed,
                                                       "We need to talk about this week 😤"},
                                           VerdictCase{"Hinglish",
                                                       {{1, 7}},
                                                       {},
                                                       Language::hinglish,
                                                       WeekVerdict::good,
                                                       Mood::proud,
                                                       "Sach bolun? Impressed hoon 🏆"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(DiaryTest, BedtimeNightsAreThePastRecordsAndTodayOnceAnswered) {
    day(5).bedtimeAck = true;
    day(4).bedtimeSnoozed = true;
    day(3).bedtimeSnoozed = true;
    day(3).bedtimeAck = true;  // snoozed, then kept
    day(2).activeSeconds = kHour;
    memory.recordTick(30, 30, std::nullopt);  // today, bedtime not asked yet

    Diary d = diary();
    EXPECT_EQ(d.days[1].bedtime, Bedtime::kept);
    EXPECT_EQ(d.days[2].bedtime, Bedtime::snoozed);
    EXPECT_EQ(d.days[3].bedtime, Bedtime::kept);
    EXPECT_EQ(d.days[4].bedtime, Bedtime::none);
    EXPECT_EQ(d.bedtimesKept, 2);
    EXPECT_EQ(d.bedtimeNights, 4);
    EXPECT_EQ(chartSummary(d, DiaryChart::bedtime), "Kept 2 of 4 nights");

    memory.recordAck(ReminderKind::bedtime);
    d = diary();
    EXPECT_EQ(d.days.back().bedtime, Bedtime::kept);
    EXPECT_EQ(d.bedtimesKept, 3);
    EXPECT_EQ(d.bedtimeNights, 5);
}

TEST_F(DiaryTest, AppTimeAddsUpPerBucketMostFirst) {
    day(1).appSeconds = std::map<std::string, double>{
        {"coding", 2 * kHour}, {"video", kHour}, {"notABucket", 50 * kHour}};
    day(3).appSeconds =
        std::map<std::string, double>{{"video", 2 * kHour}, {"mail", kHour}, {"games", -kHour}};
    day(4).appSeconds = std::map<std::string, double>{
        {"social", std::numeric_limits<double>::quiet_NaN()}, {"writing", kHour}};
    day(9).appSeconds = std::map<std::string, double>{{"shopping", 90 * kHour}};  // outside

    const Diary d = diary();
    const std::vector<Diary::BucketTime> expected{{AppBucket::video, 3 * kHour, true},
                                                  {AppBucket::coding, 2 * kHour, false},
                                                  {AppBucket::writing, kHour, false},
                                                  {AppBucket::mail, kHour, false}};
    EXPECT_EQ(d.buckets, expected);
    EXPECT_EQ(chartSummary(d, DiaryChart::apps), "Most: Video & streaming");
    EXPECT_EQ(chartText(d, DiaryChart::apps),
              "Time by kind of app, last 7 days. Video & streaming: 3 h. Coding: 2 h. Writing & "
              "docs: 1 h. Mail & Slack: 1 h. Most: Video & streaming.");
    EXPECT_TRUE(diary(Diary::kLongest).buckets.front().bucket == AppBucket::shopping);
}

TEST_F(DiaryTest, DamagedNumbersCountAsNothing) {
    day(1).activeSeconds = std::numeric_limits<double>::infinity();
    day(1).longestSitting = std::numeric_limits<double>::quiet_NaN();
    day(1).waterAcks = -4;
    day(2).activeSeconds = kHour;
    day(2).waterAcks = 2;
    const Diary d = diary();
    EXPECT_EQ(d.activeSeconds, kHour);
    EXPECT_EQ(d.longestSitting, 0);
    EXPECT_EQ(d.waterAcks, 2);
    EXPECT_EQ(*d.averageActiveSeconds, kHour / 2);
}

// The day after Berlin's clocks went forward (30 March 2025), just after
// midnight: 24 hours back lands on the Saturday, yet every day is shown.
class DiaryAcrossDaylightSavingTest : public DiaryTest {
protected:
    DiaryAcrossDaylightSavingTest() : DiaryTest(testing::utc(2025, 3, 30, 22, 30)) {}
};

TEST_F(DiaryAcrossDaylightSavingTest, NoDayIsSkippedOrTwice) {
    ASSERT_EQ(clock.dayKey(clock.now()), "2025-3-31");
    const Diary d = diary();
    const char* keys[] = {"2025-3-25", "2025-3-26", "2025-3-27", "2025-3-28",
                          "2025-3-29", "2025-3-30", "2025-3-31"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(d.days[i].dayKey, keys[i]) << i;
    EXPECT_EQ(d.days[5].start + 23 * kHour, d.days[6].start);  // the short day
}

struct DateOrderCase {
    const char* timeLocale;
    const char* name;
};

class DiaryDateOrderTest : public DiaryTest, public ::testing::WithParamInterface<DateOrderCase> {};

TEST_P(DiaryDateOrderTest, DatesAreEnglishInTheCountrysOrder) {
    const Diary d = diaryOf(memory.state, clock, 3, Language::english, GetParam().timeLocale);
    EXPECT_EQ(d.days.front().name, GetParam().name);
    EXPECT_EQ(d.days.front().label, "Fri");
}

INSTANTIATE_TEST_SUITE_P(Locales, DiaryDateOrderTest,
                         ::testing::Values(DateOrderCase{"en_US", "Friday, March 14"},
                                           DateOrderCase{"en_GB", "Friday, 14 March"},
                                           DateOrderCase{"de_DE", "Friday, 14 March"},
                                           DateOrderCase{"ja_JP", "Friday, March 14"},
                                           // ICU's default locale: British in these tests.
                                           DateOrderCase{"", "Friday, 14 March"}));

struct DurationCase {
    double seconds;
    const char* text;
};

class DurationTextTest : public ::testing::TestWithParam<DurationCase> {};

TEST_P(DurationTextTest, WholeMinutesTruncated) {
    EXPECT_EQ(durationText(GetParam().seconds), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Durations, DurationTextTest,
    ::testing::Values(DurationCase{0, "0 min"}, DurationCase{59.9, "0 min"},
                      DurationCase{60, "1 min"}, DurationCase{3599, "59 min"},
                      DurationCase{3600, "1 h"}, DurationCase{3660, "1 h 1 min"},
                      DurationCase{4 * kHour + 20 * 60 + 59, "4 h 20 min"},
                      DurationCase{-5, "0 min"},
                      DurationCase{std::numeric_limits<double>::quiet_NaN(), "0 min"},
                      DurationCase{1e300, "504000 h"}));

TEST_F(DiaryTest, EveryChartInWords) {
    day(1).activeSeconds = 2 * kHour + 5 * 60;
    day(1).longestSitting = 55 * 60;
    day(1).waterAcks = 1;
    day(1).bedtimeSnoozed = true;
    memory.recordTick(600, 600, std::nullopt);
    memory.recordAck(ReminderKind::meal);
    const Diary d = diary(3);

    EXPECT_EQ(chartText(d, DiaryChart::hours),
              "Hours at the computer, last 3 days. Friday, 14 March: no record. Yesterday: 2 h 5 "
              "min. Today: 10 min so far. Average 2 h 5 min a day.");
    EXPECT_EQ(chartText(d, DiaryChart::sitting),
              "Longest sitting, last 3 days. Friday, 14 March: no record. Yesterday: 55 min. "
              "Today: 10 min. Longest 55 min.");
    EXPECT_EQ(chartText(d, DiaryChart::answers),
              "Water and meals answered, last 3 days. Friday, 14 March: no record. Yesterday: "
              "water 1, meals 0. Today: water 0, meals 1. Water 1 time, meals 1 time.");
    EXPECT_EQ(chartText(d, DiaryChart::bedtime),
              "Bedtime kept, last 3 days. Friday, 14 March: no record. Yesterday: snoozed. Today: "
              "not answered. Kept 0 of 1 night.");
    EXPECT_EQ(chartText(d, DiaryChart::apps), "Time by kind of app, last 3 days. No app time yet.");
}

TEST_F(DiaryTest, WithoutPastDaysTheHoursSummaryIsTodaysTotal) {
    memory.recordTick(1500, 1500, std::nullopt);
    EXPECT_EQ(chartSummary(diary(), DiaryChart::hours), "Total 25 min");
}

}  // namespace
}  // namespace pelliwig
