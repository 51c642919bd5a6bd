#include "core/engine/ActivityTracker.h"

#include <gtest/gtest.h>
#include <unicode/timezone.h>

#include <memory>

#include "fakes/ScriptedFrontApp.h"
#include "fakes/ScriptedIdleTime.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

// 2025-03-07 09:15:00.7 in Berlin (UTC+1); the fraction shows keys truncate.
constexpr Instant kStart = 1'741'335'300.7;

class ActivityTrackerTest : public testing::Test {
protected:
    // Times of day below are Berlin's, whatever zone the machine runs in.
    void SetUp() override {
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("Europe/Berlin"));
    }
    void TearDown() override { icu::TimeZone::adoptDefault(saved_->clone()); }

    TickContext tickAfter(double seconds, double idleSeconds = 0) {
        scheduler.advance(seconds);
        idle.idle = idleSeconds;
        return tracker.snapshot();
    }

    VirtualScheduler scheduler{kStart};
    Clock clock{scheduler};
    ScriptedIdleTime idle;
    ScriptedFrontApp front;
    ActivityTracker tracker{clock, idle, front};

private:
    std::unique_ptr<icu::TimeZone> saved_{icu::TimeZone::createDefault()};
};

TEST_F(ActivityTrackerTest, SnapshotCarriesTheClocksView) {
    front.current = "Safari";
    const auto context = tickAfter(30);
    EXPECT_EQ(context.now, kStart + 30);
    EXPECT_EQ(context.minutesOfDay, 9 * 60 + 15);
    EXPECT_EQ(context.dayKey, "2025-3-7");
    EXPECT_EQ(context.streakKey, "1741335300");
    EXPECT_DOUBLE_EQ(context.activeStreak, 30);
    EXPECT_EQ(context.frontApp, "Safari");
    EXPECT_EQ(context.frontKey, "Safari|1741335330");
    EXPECT_DOUBLE_EQ(context.frontStreak, 0);
}

TEST_F(ActivityTrackerTest, IdleThresholds) {
    struct Case {
        double idle;
        bool active;
        bool stretchRestarts;
    };
    const Case cases[] = {
        {0, true, false},       {119, true, false}, {119.99, true, false}, {120, false, false},
        {299.99, false, false}, {300, false, true}, {5000, false, true},
    };
    for (const auto& c : cases) {
        // A fresh tracker for each idle time.
        VirtualScheduler time(kStart);
        Clock days(time);
        ScriptedIdleTime input;
        ScriptedFrontApp app;
        app.current = "Xcode";
        ActivityTracker fresh(days, input, app);
        const auto before = fresh.snapshot();
        time.advance(600);
        input.idle = c.idle;
        const auto after = fresh.snapshot();

        EXPECT_EQ(after.isActive, c.active) << c.idle;
        EXPECT_EQ(after.activeStreak, c.stretchRestarts ? 0 : 600) << c.idle;
        EXPECT_EQ(after.frontStreak, c.stretchRestarts ? 0 : 600) << c.idle;
        EXPECT_EQ(after.streakKey != before.streakKey, c.stretchRestarts) << c.idle;
        EXPECT_EQ(after.frontKey != before.frontKey, c.stretchRestarts) << c.idle;
    }
}

TEST_F(ActivityTrackerTest, NewStretchBeginsAtTheLastAwayTick) {
    tickAfter(0);
    tickAfter(600, 310);
    const auto lastAway = tickAfter(30, 340);
    const auto back = tickAfter(30, 1);
    EXPECT_EQ(back.streakKey, lastAway.streakKey);
    EXPECT_EQ(back.streakKey, "1741335930");
    EXPECT_DOUBLE_EQ(back.activeStreak, 30);
    EXPECT_TRUE(back.isActive);
}

TEST_F(ActivityTrackerTest, AppSwitchRestartsOnlyTheFrontStretch) {
    front.current = "Safari";
    const auto safari = tickAfter(0);
    const auto stillSafari = tickAfter(30);
    EXPECT_EQ(stillSafari.frontKey, safari.frontKey);
    EXPECT_EQ(stillSafari.streakKey, safari.streakKey);

    front.current = "Xcode";
    const auto xcode = tickAfter(30);
    EXPECT_EQ(xcode.frontKey, "Xcode|1741335360");
    EXPECT_DOUBLE_EQ(xcode.frontStreak, 0);
    EXPECT_EQ(xcode.streakKey, safari.streakKey);
    EXPECT_DOUBLE_EQ(xcode.activeStreak, 60);
    EXPECT_DOUBLE_EQ(tickAfter(30).frontStreak, 30);
}

TEST_F(ActivityTrackerTest, NoFrontApplication) {
    front.current = std::nullopt;
    const auto none = tickAfter(30);
    EXPECT_FALSE(none.frontApp.has_value());
    EXPECT_EQ(none.frontKey.substr(0, 2), "-|");
    EXPECT_DOUBLE_EQ(none.frontStreak, 30);  // absent at creation too: no change yet

    front.current = "Finder";
    const auto finder = tickAfter(30);
    EXPECT_DOUBLE_EQ(finder.frontStreak, 0);
    EXPECT_EQ(finder.frontKey, "Finder|1741335360");

    front.current = "";  // a nameless application counts as none
    const auto nameless = tickAfter(30);
    EXPECT_FALSE(nameless.frontApp.has_value());
    EXPECT_EQ(nameless.frontKey, "-|1741335390");
}

}  // namespace
}  // namespace pelliwig
