#include "core/engine/Rules.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "RulesTestWorld.h"

namespace pelliwig {
namespace {

using Keys = std::vector<std::string>;
constexpr const char* kWednesday = "2025-3-5";
constexpr const char* kThursday = "2025-3-6";
constexpr const char* kFriday = "2025-3-7";
constexpr const char* kSunday = "2025-3-9";

class RulesTest : public testing::Test, protected RulesTestWorld {
protected:
    Keys keysAt(const std::string& day, int minutes) {
        setTime(day, minutes);
        return keys(cues());
    }
};

TEST_F(RulesTest, InactiveUserGetsNothingEvenAtBedtime) {
    setTime(kWednesday, 23 * 60 + 45);
    auto c = context();
    c.isActive = false;
    c.activeStreak = 10'000;
    EXPECT_TRUE(cues(c).empty());
    c.isActive = true;
    EXPECT_FALSE(cues(c).empty());
}

// Default settings: bedtime 23:30, call 17:30, no stretches, an ordinary Wednesday.
TEST_F(RulesTest, DailyWindowEdges) {
    struct Case {
        int minutes;
        Keys keys;
    };
    const std::string d = "|2025-3-5";
    const Case cases[] = {
        {0, {}},
        {299, {}},
        {300, {"morning" + d}},
        {689, {"morning" + d}},
        {690, {}},
        {749, {}},
        {750, {"meal" + d + "|0"}},
        {869, {"meal" + d + "|0"}},
        {870, {}},
        {1049, {}},
        {1050, {"call" + d}},
        {1139, {"call" + d}},
        {1140, {}},
        {1170, {"meal" + d + "|1"}},
        {1289, {"meal" + d + "|1"}},
        {1290, {}},
        {1409, {}},
        {1410, {"bedtime" + d}},
        {1439, {"bedtime" + d}},
    };
    for (const auto& c : cases) EXPECT_EQ(keysAt(kWednesday, c.minutes), c.keys) << c.minutes;
}

TEST_F(RulesTest, CallWindowWrapsPastMidnight) {
    prefs.callTime.set(23 * 60);
    prefs.bedtime.set(1439);
    EXPECT_EQ(keysAt(kWednesday, 22 * 60 + 59), Keys{});
    EXPECT_EQ(keysAt(kWednesday, 23 * 60), Keys{"call|2025-3-5"});
    EXPECT_EQ(keysAt(kThursday, 10), Keys{"call|2025-3-6"});  // the new day's key
    EXPECT_EQ(keysAt(kThursday, 29), Keys{"call|2025-3-6"});
    EXPECT_EQ(keysAt(kThursday, 30), Keys{});
}

TEST_F(RulesTest, BedtimeRunsToMidnight) {
    prefs.bedtime.set(23 * 60 + 30);
    EXPECT_EQ(keysAt(kWednesday, 23 * 60 + 59), Keys{"bedtime|2025-3-5"});
    EXPECT_EQ(keysAt(kThursday, 10), Keys{});
}

TEST_F(RulesTest, BedtimeAfterMidnightLastsUntilMorning) {
    prefs.bedtime.set(30);
    prefs.callTime.set(600);
    EXPECT_EQ(keysAt(kThursday, 29), Keys{});
    EXPECT_EQ(keysAt(kThursday, 30), Keys{"bedtime|2025-3-6"});
    EXPECT_EQ(keysAt(kThursday, 299), Keys{"bedtime|2025-3-6"});
    // Not "go to bed" through the rest of the day.
    EXPECT_EQ(keysAt(kThursday, 300), Keys{"morning|2025-3-6"});
    EXPECT_EQ(keysAt(kThursday, 15 * 60), Keys{});
    EXPECT_EQ(keysAt(kThursday, 23 * 60 + 50), Keys{});
}

TEST_F(RulesTest, StylesFollowTheMemory) {
    setTime(kWednesday, 1420);
    memory.state.bedtimeSnoozeNights = 2;
    EXPECT_EQ(cues().at(0).style, MomentStyle::normal);
    memory.state.bedtimeSnoozeNights = 3;
    EXPECT_EQ(cues().at(0).style, MomentStyle::sticky);

    setTime("2025-3-12", 8 * 60);
    EXPECT_EQ(cues().at(0).style, MomentStyle::normal);
    memory.state.coldUntilApology = true;
    EXPECT_EQ(cues().at(0), Rules::cue(ReminderKind::morning, "morning|2025-3-12", std::nullopt,
                                       MomentStyle::cold));
}

TEST_F(RulesTest, FridayEveningSurprise) {
    prefs.callTime.set(600);
    setTime(kFriday, 1050);
    EXPECT_EQ(cues(),
              std::vector<Cue>{Rules::cue(ReminderKind::surprise, "friday|2025-3-7", "{friday}")});
    EXPECT_EQ(keysAt(kFriday, 1049), Keys{});
    EXPECT_EQ(keysAt(kFriday, 1169), Keys{"friday|2025-3-7"});
    EXPECT_EQ(keysAt(kFriday, 1170), Keys{"meal|2025-3-7|1"});
    EXPECT_EQ(keysAt(kThursday, 1050), Keys{});
}

TEST_F(RulesTest, BirthdayMorningOrder) {
    prefs.birthday.set(MonthDay{3, 5});
    prefs.callTime.set(480);
    prefs.bedtime.set(1380);
    EXPECT_EQ(keysAt(kWednesday, 480),
              (Keys{"call|2025-3-5", "morning|2025-3-5", "birthday|2025-3-5"}));
    EXPECT_EQ(keysAt(kThursday, 480), (Keys{"call|2025-3-6", "morning|2025-3-6"}));
}

TEST_F(RulesTest, BirthdayAndAnniversaryComparedByMonthAndDayOnly) {
    prefs.birthday.set(MonthDay{3, 5});
    prefs.anniversary.set(MonthDay{3, 5});
    EXPECT_EQ(keysAt("2031-3-5", 15 * 60), (Keys{"birthday|2031-3-5", "anniversary|2031-3-5"}));
    EXPECT_EQ(keysAt("2031-5-3", 15 * 60), Keys{});
}

TEST_F(RulesTest, CustomReminders) {
    const auto id = Uuid::parse("e621e1f8-c36c-495a-93fc-0c247a3e6e5f").value();
    CustomReminder late{id, "Take the pill {now}", 23 * 60 + 30, true};
    CustomReminder off{Uuid::random(), "Off", 23 * 60 + 30, false};
    CustomReminder empty{Uuid::random(), "", 23 * 60 + 30, true};
    prefs.customReminders.set({off, empty, late});
    prefs.bedtime.set(1439);

    setTime(kWednesday, 23 * 60 + 30);
    EXPECT_EQ(cues(),
              std::vector<Cue>{Rules::cue(ReminderKind::custom,
                                          "custom|E621E1F8-C36C-495A-93FC-0C247A3E6E5F|2025-3-5",
                                          "Take the pill {now}")});
    // Ninety minutes, past midnight, under the new day's key.
    EXPECT_EQ(keysAt(kThursday, 59), Keys{"custom|E621E1F8-C36C-495A-93FC-0C247A3E6E5F|2025-3-6"});
    EXPECT_EQ(keysAt(kThursday, 60), Keys{});
    EXPECT_EQ(keysAt(kWednesday, 23 * 60 + 29), Keys{});
}

TEST_F(RulesTest, BreaksAndWaterCountWholeIntervalsOfTheStretch) {
    prefs.breakEvery.set(50);
    prefs.waterEvery.set(90);
    setTime(kWednesday, 15 * 60);
    struct Case {
        double streak;
        Keys keys;
    };
    const Case cases[] = {
        {0, {}},
        {2999.9, {}},  // truncated to 2999: not yet one interval
        {3000, {"breaks|1700000000|1"}},
        {5400, {"breaks|1700000000|1", "water|1700000000|1"}},
        {6000, {"breaks|1700000000|2", "water|1700000000|1"}},
        {10800, {"breaks|1700000000|3", "water|1700000000|2"}},
    };
    for (const auto& c : cases) {
        auto ctx = context();
        ctx.activeStreak = c.streak;
        EXPECT_EQ(keys(cues(ctx)), c.keys) << c.streak;
    }
}

TEST_F(RulesTest, IntervalsOfZeroOrLessSwitchTheirRuleOff) {
    setTime(kWednesday, 15 * 60);
    auto ctx = context();
    ctx.activeStreak = ctx.frontStreak = 100'000;
    ctx.frontApp = "Xcode";
    for (const int off : {0, -5}) {
        prefs.breakEvery.set(off);
        prefs.waterEvery.set(off);
        prefs.appTimeLimit.set(off);
        EXPECT_EQ(cues(ctx), std::vector<Cue>{}) << off;
    }
}

TEST_F(RulesTest, AppTime) {
    prefs.breakEvery.set(0);
    prefs.waterEvery.set(0);
    setTime(kWednesday, 15 * 60);
    auto ctx = context();
    ctx.frontApp = "Xcode";
    ctx.frontKey = "Xcode|1700000000";
    ctx.frontStreak = 7199;
    EXPECT_EQ(cues(ctx), std::vector<Cue>{});
    ctx.frontStreak = 7200;
    EXPECT_EQ(cues(ctx), std::vector<Cue>{Rules::cue(ReminderKind::appTime,
                                                     "appTime|Xcode|1700000000|1", "{app:Xcode}")});
    ctx.frontStreak = 14400;
    EXPECT_EQ(keys(cues(ctx)), Keys{"appTime|Xcode|1700000000|2"});

    ctx.frontApp.reset();
    EXPECT_EQ(cues(ctx), std::vector<Cue>{});
}

TEST_F(RulesTest, NoAppTimeInTheWeekBeforeTheBigDay) {
    prefs.breakEvery.set(0);
    prefs.waterEvery.set(0);
    setTime(kWednesday, 15 * 60);
    auto ctx = context();
    ctx.frontApp = "Xcode";
    ctx.frontStreak = 100'000;
    prefs.bigDay.set(ctx.now + 3 * 86400);
    EXPECT_EQ(cues(ctx), std::vector<Cue>{});
    prefs.bigDay.set(ctx.now + 8 * 86400);
    EXPECT_EQ(cues(ctx).size(), 1u);
}

TEST_F(RulesTest, WeeklyReportOnSundayEvening) {
    prefs.callTime.set(600);
    prefs.bedtime.set(1439);
    setTime(kSunday, 1140);
    const std::string week = clock.weekKey(clock.now());
    EXPECT_EQ(cues(),
              std::vector<Cue>{Rules::cue(ReminderKind::report, "report|" + week, "{report}")});
    EXPECT_EQ(keysAt(kSunday, 1139), Keys{});
    EXPECT_EQ(keysAt(kSunday, 1319), Keys{"report|" + week});
    EXPECT_EQ(keysAt(kSunday, 1320), Keys{});
    EXPECT_EQ(keysAt("2025-3-8", 1200), (Keys{"meal|2025-3-8|1"}));  // Saturday

    memory.state.reportedWeek = week;
    EXPECT_EQ(keysAt(kSunday, 1170), (Keys{"meal|2025-3-9|1"}));
}

// Everything at once on a Sunday evening: the list order is the priority.
TEST_F(RulesTest, BusyDayOrder) {
    const auto folder = std::filesystem::path(testing::TempDir()) /
                        ("rules-busy-day-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "us.jpg") << "jpeg";
    const auto dateId = Uuid::parse("11111111-1111-4111-8111-111111111111").value();
    const auto customId = Uuid::parse("22222222-2222-4222-8222-222222222222").value();

    prefs.bedtime.set(1170);
    prefs.callTime.set(1170);
    prefs.birthday.set(MonthDay{3, 9});
    prefs.anniversary.set(MonthDay{3, 9});
    prefs.specialDates.set({SpecialDate{dateId, "First date", MonthDay{3, 9}}});
    prefs.photoFolder.set(folder.string());
    prefs.customReminders.set({CustomReminder{customId, "Plants", 1150, true}});
    setTime(kSunday, 1170);
    auto ctx = context();
    ctx.activeStreak = 6000;
    ctx.frontApp = "Xcode";
    ctx.frontKey = "Xcode|1700000000";
    ctx.frontStreak = 7200;

    const std::string d = "2025-3-9";
    EXPECT_EQ(keys(cues(ctx)), (Keys{
                                   "bedtime|" + d,
                                   "call|" + d,
                                   "meal|" + d + "|1",
                                   "birthday|" + d,
                                   "anniversary|" + d,
                                   "date|" + dateId.text() + "|" + d,
                                   "photo|" + clock.weekKey(ctx.now),
                                   "custom|" + customId.text() + "|" + d,
                                   "breaks|1700000000|1",
                                   "water|1700000000|1",
                                   "appTime|Xcode|1700000000|1",
                                   "report|" + clock.weekKey(ctx.now),
                               }));
}

}  // namespace
}  // namespace pelliwig
