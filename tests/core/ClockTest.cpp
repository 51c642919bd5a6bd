#include "core/support/Clock.h"

#include <gtest/gtest.h>

#include "fakes/VirtualScheduler.h"
#include "support/TestTime.h"

namespace pelliwig {
namespace {

using testing::utc;
using testing::ZoneAndLocale;

// Berlin: UTC+1 in winter, UTC+2 in summer; 2025-03-30 skips 02:00–03:00 and
// 2025-10-26 repeats 02:00–03:00.
class ClockTest : public ::testing::Test {
protected:
    ZoneAndLocale zone{"Europe/Berlin", "en_US"};
    VirtualScheduler scheduler{utc(2025, 3, 7, 11, 0)};
    Clock clock{scheduler};
};

TEST_F(ClockTest, DayKeysAreUnpaddedLocalDates) {
    const struct {
        Instant at;
        const char* key;
        int minutes;
    } cases[] = {
        {utc(2025, 3, 6, 23, 0), "2025-3-7", 0},      // local midnight
        {utc(2025, 3, 7, 22, 59), "2025-3-7", 1439},  // local 23:59
        {utc(2025, 12, 31, 23, 30), "2026-1-1", 30},  // already next year locally
        {utc(2025, 10, 5, 12, 5), "2025-10-5", 845},  // summer time
    };
    for (const auto& c : cases) {
        EXPECT_EQ(clock.dayKey(c.at), c.key) << c.key;
        EXPECT_EQ(clock.minutesOfDay(c.at), c.minutes) << c.key;
    }
}

TEST_F(ClockTest, DayKeyTextsReadBackAsLocalMidnight) {
    const Instant march7 = utc(2025, 3, 6, 23, 0);
    const struct {
        const char* text;
        std::optional<Instant> expected;
    } cases[] = {
        {"2025-3-7", march7},        {"2025-03-07", march7},
        {"2025-x-3-7", march7},      {"--2025--3-7-", march7},
        {"+2025-3-7", march7},       {"2025-3", std::nullopt},
        {"", std::nullopt},          {"2025-3-7-1", std::nullopt},
        {"2025-3-7x", std::nullopt}, {"99999999999999999999-3-7", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(clock.dateFromDayKey(c.text), c.expected) << c.text;
}

TEST_F(ClockTest, EveryDayKeyReadsBackToTheStartOfItsDay) {
    for (Instant t = utc(2025, 1, 1, 5, 0); t < utc(2026, 1, 1); t += 86400 * 3 + 3600 * 7) {
        const auto start = clock.dateFromDayKey(clock.dayKey(t));
        ASSERT_TRUE(start.has_value());
        EXPECT_EQ(*start, clock.startOfDay(t)) << clock.dayKey(t);
        EXPECT_EQ(clock.minutesOfDay(*start), 0);
    }
}

TEST_F(ClockTest, DaysUntilCountsCalendarDays) {
    const struct {
        Instant target, from;
        int days;
    } cases[] = {
        {utc(2025, 3, 7, 23, 1), utc(2025, 3, 7, 22, 59), 1},     // 23:59 -> 00:01 next day
        {utc(2025, 3, 7, 22, 0), utc(2025, 3, 6, 23, 0), 0},      // same day, any times
        {utc(2025, 3, 31, 10, 0), utc(2025, 3, 29, 10, 0), 2},    // over the 23-hour day
        {utc(2025, 10, 27, 10, 0), utc(2025, 10, 25, 10, 0), 2},  // over the 25-hour day
        {utc(2025, 3, 1, 10, 0), utc(2025, 3, 7, 10, 0), -6},
    };
    for (const auto& c : cases) EXPECT_EQ(clock.daysUntil(c.target, c.from), c.days);
}

// Where daylight saving starts at midnight the day begins at 01:00; it is
// still one whole calendar day, from its first minute to its last.
TEST(ClockDaysUntilTest, DaysThatStartAtOneAreWholeDays) {
    const struct {
        const char* zone;
        const char* day;
        Instant start;  // its first minute, 01:00
    } zones[] = {
        {"America/Santiago", "2025-9-7", utc(2025, 9, 7, 4)},   // -04 to -03
        {"Atlantic/Azores", "2026-3-29", utc(2026, 3, 29, 1)},  // -01 to +00
        {"America/Havana", "2025-3-9", utc(2025, 3, 9, 5)},     // -05 to -04
        {"Asia/Beirut", "2025-3-30", utc(2025, 3, 29, 22)},     // +02 to +03
    };
    constexpr double kHour = 3600;
    const struct {
        double target;  // hours after the day's first minute
        int days;
    } targets[] = {
        {-1.0 / 60, -1},   // 23:59 the evening before
        {11, 0},           // noon
        {23, 1},           // midnight at its end
        {35, 1},           // the next noon
        {7 * 24 + 11, 7},  // noon a week on
        {8 * 24, 8},
    };
    const double froms[] = {0, 11, 22 + 59.0 / 60};  // 01:00, noon, 23:59
    VirtualScheduler scheduler;
    const Clock clock{scheduler};
    for (const auto& z : zones) {
        ZoneAndLocale zone{z.zone, "en_US"};
        ASSERT_EQ(clock.dayKey(z.start), z.day) << z.zone;
        ASSERT_EQ(clock.minutesOfDay(z.start), 60) << z.zone;
        for (const double from : froms) {
            for (const auto& t : targets) {
                EXPECT_EQ(clock.daysUntil(z.start + t.target * kHour, z.start + from * kHour),
                          t.days)
                    << z.zone << " from " << from << " h to " << t.target << " h";
            }
        }
    }
}

TEST_F(ClockTest, DateFromMinutesIsTodayAtThatTime) {
    EXPECT_EQ(clock.dateFromMinutes(150), utc(2025, 3, 7, 1, 30));
    EXPECT_EQ(clock.dateFromMinutes(0), utc(2025, 3, 6, 23, 0));
}

TEST_F(ClockTest, DateFromMinutesMovesOutOfTheSpringGapAndTakesTheFirstRepeat) {
    scheduler.advanceTo(utc(2025, 3, 30, 10, 0));
    EXPECT_EQ(clock.dateFromMinutes(150), utc(2025, 3, 30, 1, 0));  // 03:00 summer time
    scheduler.advanceTo(utc(2025, 10, 26, 10, 0));
    EXPECT_EQ(clock.dateFromMinutes(150), utc(2025, 10, 26, 0, 30));  // first 02:30
}

TEST_F(ClockTest, DateFromMonthDayIsMidnightThisYear) {
    EXPECT_EQ(clock.date(MonthDay{12, 25}), utc(2025, 12, 24, 23, 0));
    EXPECT_EQ(clock.date(MonthDay{7, 1}), utc(2025, 6, 30, 22, 0));
}

TEST_F(ClockTest, WeekendAndMonthDay) {
    const struct {
        Instant at;
        bool weekend;
    } cases[] = {
        {utc(2025, 3, 7, 23, 30), true},   // Friday 23:30 UTC is Saturday locally
        {utc(2025, 3, 9, 12, 0), true},    // Sunday
        {utc(2025, 3, 9, 23, 30), false},  // Monday 00:30 locally
    };
    for (const auto& c : cases) {
        scheduler.advanceTo(c.at);
        EXPECT_EQ(clock.isWeekend(), c.weekend) << clock.dayKey(c.at);
    }
    EXPECT_EQ(clock.monthDay(utc(2024, 2, 29, 12, 0)), (MonthDay{2, 29}));
}

TEST(ClockWeekKeyTest, FollowsTheLocaleWeekRules) {
    VirtualScheduler scheduler;
    Clock clock{scheduler};
    const Instant newYear2021 = utc(2021, 1, 1, 12, 0);  // a Friday
    const struct {
        const char* locale;
        const char* key;
    } cases[] = {
        {"en_US", "2021-W1"},   // weeks start Sunday, one day is enough
        {"de_DE", "2020-W53"},  // ISO weeks: the week belongs to 2020
    };
    for (const auto& c : cases) {
        ZoneAndLocale zone{"Europe/Berlin", c.locale};
        EXPECT_EQ(clock.weekKey(newYear2021), c.key) << c.locale;
    }
    ZoneAndLocale zone{"Europe/Berlin", "de_DE"};
    EXPECT_EQ(clock.weekKey(utc(2025, 2, 26, 12, 0)), "2025-W9");
}

// A locale with a calendar of its own keeps its week rules, but days, months
// and years are Gregorian: the settings store Gregorian month-days, and day
// keys must read the same whatever the locale.
TEST(ClockCalendarTest, DaysAreGregorianWeeksAreTheLocales) {
    const Instant friday = utc(2025, 3, 7, 11, 0);  // 2025-03-07 12:00 in Berlin
    const struct {
        const char* locale;
        const char* friday;  // week keys of Friday, Saturday and Sunday
        const char* saturday;
        const char* sunday;
    } cases[] = {
        {"en_US", "2025-W10", "2025-W10", "2025-W11"},
        {"de_DE", "2025-W10", "2025-W10", "2025-W10"},
        {"fa_IR", "2025-W10", "2025-W11", "2025-W11"},  // Persian calendar, weeks from Saturday
        {"ar_SA", "2025-W10", "2025-W10", "2025-W11"},  // Islamic calendar, weeks from Sunday
        {"th_TH", "2025-W10", "2025-W10", "2025-W11"},  // Buddhist era
        {"ja_JP@calendar=japanese", "2025-W10", "2025-W10", "2025-W11"},
    };
    VirtualScheduler scheduler{friday};
    const Clock clock{scheduler};
    for (const auto& c : cases) {
        ZoneAndLocale zone{"Europe/Berlin", c.locale};
        EXPECT_EQ(clock.dayKey(friday), "2025-3-7") << c.locale;
        EXPECT_EQ(clock.monthDay(friday), (MonthDay{3, 7})) << c.locale;
        EXPECT_EQ(clock.date(MonthDay{3, 7}), utc(2025, 3, 6, 23)) << c.locale;
        EXPECT_EQ(clock.dateFromDayKey("2025-3-7"), utc(2025, 3, 6, 23)) << c.locale;
        EXPECT_EQ(clock.weekKey(friday), c.friday) << c.locale;
        EXPECT_EQ(clock.weekKey(friday + 86400), c.saturday) << c.locale;
        EXPECT_EQ(clock.weekKey(friday + 2 * 86400), c.sunday) << c.locale;
    }
}

}  // namespace
}  // namespace pelliwig
