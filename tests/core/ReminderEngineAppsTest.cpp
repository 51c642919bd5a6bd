#include <gtest/gtest.h>

#include "ReminderEngineWorld.h"
#include "core/support/Clock.h"

namespace pelliwig {
namespace {

using Gate = ReminderEngine::Gate;

class AppsTest : public ::testing::Test {
protected:
    AppsTest() : world(berlin(12, 10)) {
        world.idle.idle = 100000;
        world.enable({ReminderKind::appSwitch});
        world.prefs.bedtime.set(1410);
    }

    ReminderEngine& engine() { return *world.engine; }

    ReminderEngineWorld world;
};

struct LineCase {
    const char* name;
    AppBucket bucket;
    std::optional<AppBucket> previous;
    double stretch;
    int at;
    RoastLevel roast;
    int jealousy;
    std::optional<Mood> mood;  // none: no remark whatever the dice
    double odds;
};

class AppSwitchLineTest : public AppsTest, public ::testing::WithParamInterface<LineCase> {
protected:
    std::optional<ReminderEngine::Said> draw(double die) {
        const auto& c = GetParam();
        world.random = ScriptedRandom({}, die);
        return engine().appSwitchLine(c.bucket, "App", c.previous, c.stretch, c.at);
    }
};

// Every die is the same number: just under the odds she speaks (with the
// row's face), at the odds she does not.
TEST_P(AppSwitchLineTest, RowDecidesTheFaceAndTheOdds) {
    const auto& c = GetParam();
    world.prefs.roastLevel.set(c.roast);
    world.start();
    Clock clock(world.scheduler);
    // Jealousy is 1.5 per minute of social time today.
    engine().memory().state.days[clock.dayKey(clock.now())].socialSeconds = c.jealousy * 40.0 + 1;

    if (!c.mood) {
        EXPECT_EQ(draw(0.0), std::nullopt);
        return;
    }
    const auto said = draw(c.odds - 0.001);
    ASSERT_TRUE(said.has_value());
    EXPECT_EQ(said->mood, *c.mood);
    EXPECT_EQ(draw(c.odds), std::nullopt);
}

using B = AppBucket;
using R = RoastLevel;
INSTANTIATE_TEST_SUITE_P(
    Rows, AppSwitchLineTest,
    ::testing::Values(
        LineCase{"earnedBreak", B::video, B::coding, 3000, 900, R::playful, 0, Mood::love, 0.5},
        LineCase{"lateNight", B::video, B::coding, 3000, 1425, R::playful, 0, Mood::sleepy, 0.6},
        LineCase{"before4", B::games, B::other, 600, 239, R::off, 0, Mood::sleepy, 0.6},
        LineCase{"at4", B::games, B::other, 600, 240, R::playful, 0, Mood::smug, 0.4},
        LineCase{"roastOff", B::social, B::coding, 600, 900, R::off, 90, std::nullopt, 0},
        LineCase{"jealous", B::social, B::coding, 600, 900, R::playful, 70, Mood::annoyed, 0.6},
        LineCase{"notJealous", B::social, B::coding, 600, 900, R::playful, 59, Mood::smug, 0.4},
        LineCase{"savageRoast", B::video, B::other, 600, 900, R::savage, 0, Mood::annoyed, 0.5},
        LineCase{"dating", B::dating, B::other, 600, 900, R::playful, 0, Mood::pouty, 0.4},
        LineCase{"proud", B::writing, B::video, 1500, 900, R::playful, 0, Mood::proud, 0.5},
        LineCase{"tooShortForPride", B::writing, B::video, 1140, 900, R::playful, 0, Mood::happy,
                 0.2},
        LineCase{"browsing", B::browsing, B::coding, 600, 900, R::savage, 0, Mood::smug, 0.15}),
    [](const auto& row) { return std::string(row.param.name); });

class AppClockTest : public AppsTest {
protected:
    AppClockTest() {
        world.random = ScriptedRandom({}, 0.0);  // every remark that may come, comes
        world.prefs.minGap.set(0);
        world.start();
        world.onGated = [this](const Cue& cue, Gate) {
            if (cue.kind == ReminderKind::appSwitch) remarks.push_back(minute);
        };
    }

    // The user switches to `app` `minutes` after the start.
    void switchTo(const std::string& app, int minutes) {
        minute = minutes;
        TickContext context;
        context.now = berlin(12, 10) + minutes * 60.0;
        context.minutesOfDay = 600 + minutes;
        context.isActive = true;
        context.frontApp = app;
        context.frontKey = app + "|" + std::to_string(minutes);
        engine().noticeApp(context, appBucketOf(app));
    }

    int minute = 0;
    std::vector<int> remarks;
};

TEST_F(AppClockTest, OneRemarkPerSeventyFiveMinutes) {
    switchTo("Xcode", 0);  // the first switch after start-up is never remarked on
    switchTo("YouTube", 10);
    switchTo("Xcode", 70);
    switchTo("YouTube", 80);
    switchTo("Xcode", 86);
    EXPECT_EQ(remarks, (std::vector<int>{10, 86}));
}

TEST_F(AppClockTest, SwitchesThatEarnNothingLeaveTheClockAlone) {
    world.prefs.roastLevel.set(RoastLevel::off);
    switchTo("Xcode", 0);
    switchTo("YouTube", 10);  // roasting off: nothing
    switchTo("Xcode", 14);    // 4 minutes in YouTube: too short
    world.prefs.roastLevel.set(RoastLevel::playful);
    switchTo("YouTube", 30);
    EXPECT_EQ(remarks, (std::vector<int>{30}));
}

TEST_F(AppClockTest, FiveMinutesInThePreviousAppAreEnough) {
    switchTo("Xcode", 0);
    switchTo("Mail", 5);
    EXPECT_EQ(remarks, (std::vector<int>{5}));
}

TEST_F(AppClockTest, UnwatchedBucketsAreNotRemarkedOn) {
    switchTo("Xcode", 0);
    switchTo("Firefox", 10);  // browsing is not watched by default
    switchTo("Xcode", 20);
    EXPECT_EQ(remarks, (std::vector<int>{20}));
}

// A remark the gate refuses is lost, and still restarts the clock.
TEST_F(AppClockTest, RefusedRemarkStillRestartsTheClock) {
    world.prefs.quietStart.set(600);
    world.prefs.quietEnd.set(660);
    switchTo("Xcode", 0);
    switchTo("YouTube", 10);
    world.prefs.quietStart.set(0);
    world.prefs.quietEnd.set(0);
    switchTo("Xcode", 70);
    EXPECT_EQ(remarks, (std::vector<int>{10}));
    EXPECT_TRUE(world.presentations.empty());
}

}  // namespace
}  // namespace pelliwig
