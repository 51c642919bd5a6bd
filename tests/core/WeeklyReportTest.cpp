#include "core/engine/WeeklyReport.h"

#include <gtest/gtest.h>

#include "fakes/MemoryStore.h"
#include "fakes/ScriptedRandom.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

constexpr double kDay = 86400;
constexpr double kHour = 3600;
constexpr Instant kSunday = 1742128200;  // 2025-03-16 13:30 in Berlin

constexpr const char* kMeh = "Not bad, not great. We can do better 😌";

class WeeklyReportTest : public testing::Test {
protected:
    void SetUp() override { prefs.language.set(Language::english); }

    // The record of the day `daysAgo` before today.
    Memory::DayStats& day(int daysAgo) {
        return memory.state.days[clock.dayKey(clock.now() - daysAgo * kDay)];
    }

    std::string scorecard(const std::string& h, const std::string& m, const std::string& w,
                          const std::string& verdict) {
        return "This week: " + h + "h at the computer, longest sitting " + m + " min, water " + w +
               " times. " + verdict;
    }

    VirtualScheduler scheduler{kSunday};
    Clock clock{scheduler};
    MemoryStore store;
    Prefs prefs{store};
    Memory memory{store, clock};
    ScriptedRandom random;
    LineBank lines{random};
    WeeklyReport report{memory, prefs, lines, clock};
};

TEST_F(WeeklyReportTest, AnEmptyWeekReportsZeros) {
    EXPECT_EQ(report.reportLine(), scorecard("0", "0", "0", kMeh));
}

TEST_F(WeeklyReportTest, HoursAddUpOverSevenDaysAndAreTruncated) {
    for (int i = 1; i <= 7; ++i) day(i).activeSeconds = 4 * kHour;
    EXPECT_EQ(report.reportLine(), scorecard("28", "0", "0", kMeh));

    day(7).activeSeconds -= 0.1 * kHour;  // 27.9 hours in all
    EXPECT_EQ(report.reportLine(), scorecard("27", "0", "0", kMeh));
}

TEST_F(WeeklyReportTest, TodayAndTheEighthDayBackAreLeftOut) {
    day(0).activeSeconds = 10 * kHour;
    day(8).activeSeconds = 10 * kHour;
    day(0).waterAcks = 9;
    day(2).activeSeconds = 2 * kHour;
    day(5).activeSeconds = 1 * kHour;
    day(5).waterAcks = 2;
    EXPECT_EQ(report.reportLine(), scorecard("3", "0", "2", kMeh));
}

TEST_F(WeeklyReportTest, LongestSittingIsTheLargestInWholeMinutes) {
    day(1).longestSitting = 59;
    day(3).longestSitting = 119.9;
    EXPECT_EQ(report.reportLine(), scorecard("0", "1", "0", kMeh));
    day(3).longestSitting = 59.99;
    EXPECT_EQ(report.reportLine(), scorecard("0", "0", "0", kMeh));
}

struct VerdictCase {
    int water;
    int ignored;
    std::string verdict;
};

class VerdictTest : public WeeklyReportTest, public testing::WithParamInterface<VerdictCase> {};

TEST_P(VerdictTest, FollowsWaterAndIgnores) {
    const auto& c = GetParam();
    // Spread over two days so the sums are what is judged.
    day(1).waterAcks = c.water / 2;
    day(4).waterAcks = c.water - c.water / 2;
    day(2).ignored = c.ignored / 2;
    day(6).ignored = c.ignored - c.ignored / 2;
    const std::string line = report.reportLine();
    EXPECT_EQ(line.substr(line.size() - c.verdict.size()), c.verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, VerdictTest,
    testing::Values(VerdictCase{7, 3, "Honestly? I'm impressed 🏆"}, VerdictCase{6, 0, kMeh},
                    VerdictCase{7, 4, kMeh}, VerdictCase{0, 11, kMeh},
                    VerdictCase{100, 12, "We need to talk about this week 😤"}));

TEST_F(WeeklyReportTest, JabsAtALeisureCategoryFromThreeHours) {
    day(1).appSeconds = std::map<std::string, double>{{"video", 3 * kHour - 1}, {"coding", 9e4}};
    EXPECT_EQ(report.reportLine(), scorecard("0", "0", "0", kMeh));

    (*day(1).appSeconds)["video"] = 2 * kHour;
    day(2).appSeconds = std::map<std::string, double>{{"video", kHour}};
    random.push(0.0);
    EXPECT_EQ(report.reportLine(),
              scorecard("0", "0", "0", kMeh) + " " + "Also, 3h on Video & streaming? Really? 👀");

    // The jab keeps its own no-repeat memory.
    (*day(2).appSeconds)["video"] = 2.99 * kHour;
    random.push(0.0);
    EXPECT_EQ(report.reportLine(), scorecard("0", "0", "0", kMeh) + " " +
                                       "And Video & streaming ate 4 hours of your week. I'm "
                                       "jealous 😒");
}

TEST_F(WeeklyReportTest, IsInTheChosenLanguage) {
    prefs.language.set(Language::hinglish);
    day(1).activeSeconds = 5 * kHour;
    day(1).longestSitting = 600;
    day(1).waterAcks = 8;
    EXPECT_EQ(report.reportLine(),
              "Is hafte: 5 ghante laptop, sabse lamba 10 min ek jagah, 8 baar paani. Sach bolun? "
              "Impressed hoon 🏆");
}

TEST_F(WeeklyReportTest, MarksThisWeekAsReportedAndSavesAtOnce) {
    memory.state.reportedWeek = "2025-W1";
    report.reportLine();
    EXPECT_EQ(memory.state.reportedWeek, clock.weekKey(kSunday));
    Memory reloaded(store, clock);
    EXPECT_EQ(reloaded.state.reportedWeek, clock.weekKey(kSunday));
}

}  // namespace
}  // namespace pelliwig
