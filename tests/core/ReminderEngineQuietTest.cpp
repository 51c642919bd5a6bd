#include <gtest/gtest.h>

#include "ReminderEngineWorld.h"
#include "core/engine/Pause.h"

namespace pelliwig {
namespace {

using Gate = ReminderEngine::Gate;
using pelliwig::testing::utc;

// What keeps her quiet in a test: the user's pause, the desktop's do not
// disturb, a full-screen window.
enum class Quiet { pause, doNotDisturb, fullScreen };

class QuietWorld : public ReminderEngineWorld {
public:
    explicit QuietWorld(Instant start) : ReminderEngineWorld(start) {}

    void set(Quiet quiet, bool on) {
        switch (quiet) {
            case Quiet::pause:
                on ? pause.forMinutes(180) : pause.resume();
                break;
            case Quiet::doNotDisturb:
                doNotDisturb.current = on;
                break;
            case Quiet::fullScreen:
                fullScreen.current = on;
                break;
        }
    }
    // The setting that makes her follow the source, where there is one.
    void follow(Quiet quiet, bool on) {
        if (quiet == Quiet::doNotDisturb) prefs.followDoNotDisturb.set(on);
        if (quiet == Quiet::fullScreen) prefs.quietDuringFullScreen.set(on);
    }

    Clock clock{scheduler};
    Pause pause{prefs, clock};
};

Gate reasonOf(Quiet quiet) {
    switch (quiet) {
        case Quiet::pause:
            return Gate::paused;
        case Quiet::doNotDisturb:
            return Gate::doNotDisturb;
        case Quiet::fullScreen:
            return Gate::fullScreen;
    }
    return Gate::shown;
}

class HeldCueTest : public ::testing::TestWithParam<Quiet> {};

// Water is due after 90 active minutes; while she is kept quiet every tick
// offers it and is refused, so its once-key stays unspent and it comes
// on the first tick after.
TEST_P(HeldCueTest, ADueCueWaitsAndShowsOnceTheQuietEnds) {
    QuietWorld w(berlin(12, 10));
    w.enable({ReminderKind::water});
    std::vector<Gate> verdicts;
    w.onGated = [&](const Cue& cue, Gate gate) {
        if (cue.kind == ReminderKind::water) verdicts.push_back(gate);
    };
    w.start();
    w.set(GetParam(), true);
    w.scheduler.advance(95 * 60);
    ASSERT_FALSE(verdicts.empty());
    EXPECT_EQ(verdicts.back(), reasonOf(GetParam()));
    EXPECT_FALSE(w.shown().has_value());
    EXPECT_TRUE(w.engine->fired().entries().empty());

    w.set(GetParam(), false);
    w.scheduler.advance(ReminderEngine::kTickSeconds);
    EXPECT_EQ(w.shownKind(), ReminderKind::water);
    EXPECT_EQ(verdicts.back(), Gate::shown);
    EXPECT_EQ(w.engine->fired().entries().size(), 1u);
}

// Switching the setting off lets the cue through while the desktop still
// says do not disturb or full screen.
TEST_P(HeldCueTest, ItsSettingTurnsTheSourceOff) {
    if (GetParam() == Quiet::pause) GTEST_SKIP() << "a pause has no setting to ignore it";
    QuietWorld w(berlin(12, 10));
    w.enable({ReminderKind::water});
    w.start();
    w.set(GetParam(), true);
    EXPECT_EQ(w.engine->fire(ReminderEngineWorld::cue(ReminderKind::water)), reasonOf(GetParam()));
    w.follow(GetParam(), false);
    EXPECT_EQ(w.engine->fire(ReminderEngineWorld::cue(ReminderKind::water)), Gate::shown);
}

INSTANTIATE_TEST_SUITE_P(Sources, HeldCueTest,
                         ::testing::Values(Quiet::pause, Quiet::doNotDisturb, Quiet::fullScreen),
                         [](const auto& row) {
                             switch (row.param) {
                                 case Quiet::pause:
                                     return "Pause";
                                 case Quiet::doNotDisturb:
                                     return "DoNotDisturb";
                                 case Quiet::fullScreen:
                                     return "FullScreen";
                             }
                             return "?";
                         });

struct BatteryCase {
    Quiet quiet;
    bool warned;
};

class BatteryExceptionTest : public ::testing::TestWithParam<BatteryCase> {};

// Running low during a film still warns; a pause or do not disturb asked
// for silence outright.
TEST_P(BatteryExceptionTest, OnlyFullScreenLetsTheLowBatteryThrough) {
    QuietWorld w(berlin(12, 10));
    w.enable({ReminderKind::battery, ReminderKind::charger});
    w.idle.idle = 100000;
    w.power.battery(40, false);
    w.start();
    w.set(GetParam().quiet, true);
    w.power.battery(19, false);
    EXPECT_EQ(w.shownKind() == ReminderKind::battery, GetParam().warned);
    // The charger's thank-you is no warning: it waits like any other cue.
    w.notch.dismiss();
    w.scheduler.advance(1);
    w.power.battery(19, true);
    EXPECT_FALSE(w.shown().has_value());
}

INSTANTIATE_TEST_SUITE_P(Sources, BatteryExceptionTest,
                         ::testing::Values(BatteryCase{Quiet::pause, false},
                                           BatteryCase{Quiet::doNotDisturb, false},
                                           BatteryCase{Quiet::fullScreen, true}));

TEST(PauseTest, LastsAcrossARestartUntilResumed) {
    QuietWorld w(berlin(12, 10));
    w.enable({ReminderKind::water});
    w.start();
    w.pause.forMinutes(30);
    EXPECT_EQ(w.store.read("pausedUntil"),
              R"({"value":)" +
                  std::to_string(static_cast<long>(toReferenceSeconds(berlin(12, 10, 30)))) +
                  ".0}");
    w.stop();
    w.scheduler.advance(600);
    auto& engine = w.start();
    EXPECT_EQ(w.pause.until(), berlin(12, 10, 30));
    EXPECT_EQ(engine.fire(ReminderEngineWorld::cue(ReminderKind::water)), Gate::paused);

    w.pause.resume();
    EXPECT_EQ(w.store.read("pausedUntil"), std::nullopt);
    EXPECT_EQ(engine.fire(ReminderEngineWorld::cue(ReminderKind::water)), Gate::shown);
}

TEST(PauseTest, EndsByItselfAtItsTime) {
    QuietWorld w(berlin(12, 10));
    w.enable({ReminderKind::water});
    auto& engine = w.start();
    w.pause.forMinutes(60);
    w.scheduler.advance(3599);
    EXPECT_EQ(engine.fire(ReminderEngineWorld::cue(ReminderKind::water)), Gate::paused);
    w.scheduler.advance(1);
    EXPECT_FALSE(w.pause.active());
    EXPECT_EQ(engine.fire(ReminderEngineWorld::cue(ReminderKind::water)), Gate::shown);
}

struct TomorrowCase {
    std::string name;
    Instant pausedAt;
    Instant expectedEnd;
};

class PauseUntilTomorrowTest : public ::testing::TestWithParam<TomorrowCase> {};

TEST_P(PauseUntilTomorrowTest, EndsAtTheNextFiveOClock) {
    QuietWorld w(GetParam().pausedAt);
    w.pause.untilTomorrow();
    EXPECT_EQ(w.pause.until(), GetParam().expectedEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Times, PauseUntilTomorrowTest,
    ::testing::Values(TomorrowCase{"Evening", berlin(12, 22), berlin(13, 5)},
                      TomorrowCase{"SmallHours", berlin(13, 3), berlin(13, 5)},
                      TomorrowCase{"AtFive", berlin(13, 5), berlin(14, 5)},
                      // Clocks go forward that night: seven wall hours are six.
                      TomorrowCase{"SpringForward", utc(2026, 3, 28, 21, 0),
                                   utc(2026, 3, 29, 3, 0)}),
    [](const auto& row) { return row.param.name; });

// Paused at 22:00 until tomorrow, across midnight and the quiet hours (00:30
// to 07:00): the pause answers first, then the quiet hours, then she speaks.
TEST(PauseTest, UntilTomorrowCrossesMidnightAndTheQuietHours) {
    QuietWorld w(berlin(12, 22));
    w.enable({ReminderKind::water});
    w.idle.idle = 100000;  // away: only the test's cue is offered
    auto& engine = w.start();
    w.pause.untilTomorrow();
    const auto fireAt = [&](Instant at) {
        w.scheduler.advanceTo(at);
        return engine.fire(ReminderEngineWorld::cue(ReminderKind::water));
    };
    EXPECT_EQ(fireAt(berlin(12, 23, 59)), Gate::paused);
    EXPECT_EQ(fireAt(berlin(13, 0, 10)), Gate::paused);
    EXPECT_EQ(fireAt(berlin(13, 4, 59)), Gate::paused);
    EXPECT_EQ(fireAt(berlin(13, 5)), Gate::quietHours);
    EXPECT_EQ(fireAt(berlin(13, 7)), Gate::shown);
}

// Asked for, so they come: a preview, a snooze's return, a focus session's end.
TEST(PauseTest, WhatTheUserAskedForStillShows) {
    QuietWorld w(berlin(12, 10));
    w.enable({ReminderKind::water});
    auto& engine = w.start();
    w.pause.untilTomorrow();
    w.doNotDisturb.current = true;
    w.fullScreen.current = true;

    engine.preview(ReminderKind::water);
    ASSERT_EQ(w.shownKind(), ReminderKind::water);
    engine.answer(*w.shown(), Answer{"", Answer::Tone::snooze});
    w.scheduler.advance(ReminderEngine::kSnoozeSeconds);
    EXPECT_EQ(w.shownKind(), ReminderKind::water);

    w.notch.dismiss();
    engine.startFocus(25);
    w.scheduler.advance(25 * 60);
    EXPECT_EQ(w.shownKind(), ReminderKind::focus);
}

struct SleepCase {
    Quiet quiet;
    bool sleeps;
};

class QuietPresenceTest : public ::testing::TestWithParam<SleepCase> {};

// Paused or under do not disturb she sleeps in the box as at night; over a
// full-screen window she does not show at all.
TEST_P(QuietPresenceTest, SheSleepsExceptOverAFullScreenWindow) {
    QuietWorld w(berlin(12, 10));
    w.prefs.idlePeeks.set(true);
    w.random = ScriptedRandom({}, 0.0);  // every idle peek would come
    w.idle.idle = 0;
    w.set(GetParam().quiet, true);
    w.start();
    ASSERT_EQ(w.presentations.size(), GetParam().sleeps ? 1u : 0u);
    if (!GetParam().sleeps) return;
    const Moment& peek = w.presentations.front().moment;
    EXPECT_EQ(peek.style, MomentStyle::peek);
    EXPECT_EQ(peek.face, Face::pose(Pose::sleeping));
    EXPECT_TRUE(peek.zzz);
}

INSTANTIATE_TEST_SUITE_P(Sources, QuietPresenceTest,
                         ::testing::Values(SleepCase{Quiet::pause, true},
                                           SleepCase{Quiet::doNotDisturb, true},
                                           SleepCase{Quiet::fullScreen, false}));

}  // namespace
}  // namespace pelliwig
