#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "ReminderEngineWorld.h"

namespace pelliwig {
namespace {

using Gate = ReminderEngine::Gate;

constexpr double kAway = 100000;  // idle seconds: ticks do nothing

class GateTest : public ::testing::Test {
protected:
    explicit GateTest(Instant start = berlin(12, 10)) : world(start) { world.idle.idle = kAway; }

    ReminderEngine& engine() { return *world.engine; }
    Gate fire(ReminderKind kind, std::optional<std::string> onceKey = std::nullopt) {
        return engine().fire(ReminderEngineWorld::cue(kind, std::move(onceKey)));
    }

    ReminderEngineWorld world;
};

// Each step of the gate, set up so that it and every later step would stop
// the cue: the earliest one must be the one that answers.
TEST_F(GateTest, StepsAreAskedInOrder) {
    constexpr int kSteps = 9;
    for (int first = 0; first <= kSteps; ++first) {
        SCOPED_TRACE(first);
        ReminderEngineWorld w(berlin(12, 10));
        w.idle.idle = kAway;
        auto from = [first](Gate step) { return static_cast<int>(step) >= first; };
        if (!from(Gate::kindOff)) w.enable({ReminderKind::water});
        if (from(Gate::onceKeyUsed)) {
            w.store.write("firedLog",
                          nlohmann::json{{"water|1", toReferenceSeconds(berlin(12, 9))}}.dump());
        }
        if (from(Gate::paused)) w.prefs.pausedUntil.set(berlin(12, 11));
        w.doNotDisturb.current = from(Gate::doNotDisturb);
        w.fullScreen.current = from(Gate::fullScreen);
        if (from(Gate::quietHours)) {
            w.prefs.quietStart.set(9 * 60);
            w.prefs.quietEnd.set(11 * 60);
        }
        auto& engine = w.start();
        if (from(Gate::gap)) {
            engine.preview(ReminderKind::surprise);
            w.notch.dismiss();
            w.scheduler.advance(1);
        }
        if (from(Gate::notchOccupied)) {
            w.notch.present(
                Moment{ReminderKind::meal, "Lunch?", MomentStyle::normal, {}, {}, false});
        }
        if (from(Gate::inCall)) {
            w.media.cameraStates = {true};
            engine.tick();
        }
        EXPECT_EQ(engine.fire(ReminderEngineWorld::cue(ReminderKind::water, "water|1")),
                  static_cast<Gate>(first));
    }
}

TEST_F(GateTest, ShownCueMarksItsOnceKeyAndSetsLastShown) {
    world.enable({ReminderKind::water});
    world.start();
    world.scheduler.advance(5);
    EXPECT_EQ(fire(ReminderKind::water, "water|7"), Gate::shown);
    EXPECT_TRUE(engine().fired().contains("water|7"));
    EXPECT_EQ(engine().lastShown(), world.scheduler.now());
    EXPECT_EQ(world.shownKind(), ReminderKind::water);
}

struct QuietCase {
    int start, end;
    int hour, minute;
    bool quiet;
};

class QuietHoursTest : public GateTest, public ::testing::WithParamInterface<QuietCase> {};

TEST_P(QuietHoursTest, WindowIncludesItsStartAndWrapsPastMidnight) {
    const auto& c = GetParam();
    ReminderEngineWorld w(berlin(12, c.hour, c.minute));
    w.idle.idle = kAway;
    w.enable({ReminderKind::water});
    w.prefs.quietStart.set(c.start);
    w.prefs.quietEnd.set(c.end);
    auto& engine = w.start();
    EXPECT_EQ(engine.fire(ReminderEngineWorld::cue(ReminderKind::water)),
              c.quiet ? Gate::quietHours : Gate::shown);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, QuietHoursTest,
    ::testing::Values(QuietCase{1320, 420, 23, 30, true}, QuietCase{1320, 420, 6, 59, true},
                      QuietCase{1320, 420, 7, 0, false}, QuietCase{1320, 420, 22, 0, true},
                      QuietCase{1320, 420, 21, 59, false}, QuietCase{780, 840, 13, 0, true},
                      QuietCase{780, 840, 14, 0, false}, QuietCase{780, 840, 12, 59, false},
                      QuietCase{600, 600, 10, 0, false}, QuietCase{0, 0, 0, 0, false}));

struct GapCase {
    bool bigDay;
    int minutesLater;
    Gate expected;
};

class BigDayGapTest : public GateTest, public ::testing::WithParamInterface<GapCase> {};

TEST_P(BigDayGapTest, BigDayWeekDoublesTheGap) {
    const auto& c = GetParam();
    world.enable({ReminderKind::water});
    world.prefs.minGap.set(45);
    if (c.bigDay) world.prefs.bigDay.set(berlin(15, 9));
    world.start();
    engine().preview(ReminderKind::water);
    world.scheduler.advance(c.minutesLater * 60.0);
    EXPECT_EQ(fire(ReminderKind::water), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Gaps, BigDayGapTest,
                         ::testing::Values(GapCase{true, 80, Gate::gap},
                                           GapCase{true, 89, Gate::gap},
                                           GapCase{true, 90, Gate::shown},
                                           GapCase{false, 44, Gate::gap},
                                           GapCase{false, 45, Gate::shown}));

enum class Showing { nothing, normal, peek };

struct ChargerCase {
    Showing showing;
    ReminderKind kind;
    Gate expected;
};

class ChargerTest : public GateTest, public ::testing::WithParamInterface<ChargerCase> {};

// Ten seconds after a moment: the charger skips the gap, but only a peek
// gives way to it.
TEST_P(ChargerTest, ChargerSkipsOnlyTheGap) {
    const auto& c = GetParam();
    world.enable({ReminderKind::charger, ReminderKind::water});
    world.prefs.showSeconds.set(60);
    world.start();
    engine().preview(ReminderKind::water);
    if (c.showing != Showing::normal) world.notch.dismiss();
    world.scheduler.advance(5);
    if (c.showing == Showing::peek) {
        world.notch.present(Moment{ReminderKind::hover, "", MomentStyle::peek, {}, {}, false});
    }
    world.scheduler.advance(5);

    EXPECT_EQ(fire(c.kind), c.expected);
    if (c.expected == Gate::shown) {
        EXPECT_EQ(world.shownKind(), c.kind);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Showing, ChargerTest,
    ::testing::Values(ChargerCase{Showing::nothing, ReminderKind::charger, Gate::shown},
                      ChargerCase{Showing::nothing, ReminderKind::water, Gate::gap},
                      ChargerCase{Showing::normal, ReminderKind::charger, Gate::notchOccupied},
                      ChargerCase{Showing::normal, ReminderKind::water, Gate::gap},
                      ChargerCase{Showing::peek, ReminderKind::charger, Gate::shown},
                      ChargerCase{Showing::peek, ReminderKind::water, Gate::gap}));

TEST_F(GateTest, PluggingInTheChargerAndRunningLowComeThroughTheGate) {
    world.enable({ReminderKind::charger, ReminderKind::battery});
    world.power.battery(40, false);
    world.start();
    world.power.battery(40, true);
    EXPECT_EQ(world.shownKind(), ReminderKind::charger);

    world.scheduler.advance(3600);
    world.power.battery(19, false);
    EXPECT_EQ(world.shownKind(), ReminderKind::battery);
}

// With no gap the second cue of a tick finds the first one on show.
TEST_F(GateTest, SecondCueOfATickIsStoppedByTheGapOrTheOccupiedNotch) {
    for (int gap : {20, 0}) {
        SCOPED_TRACE(gap);
        ReminderEngineWorld w(berlin(12, 15));
        w.enable({ReminderKind::breaks, ReminderKind::water});
        w.prefs.breakEvery.set(60);
        w.prefs.waterEvery.set(60);
        w.prefs.minGap.set(gap);
        w.start();
        std::vector<std::pair<ReminderKind, Gate>> verdicts;
        w.onGated = [&](const Cue& cue, Gate gate) {
            if (gate != Gate::kindOff) verdicts.emplace_back(cue.kind, gate);
        };
        w.scheduler.advance(3600);

        const Gate second = gap > 0 ? Gate::gap : Gate::notchOccupied;
        EXPECT_EQ(verdicts,
                  (std::vector<std::pair<ReminderKind, Gate>>{{ReminderKind::breaks, Gate::shown},
                                                              {ReminderKind::water, second}}));
    }
}

struct AgeCase {
    double secondsLater;
    bool restart;
    Gate expected;
};

class FiredLogAgeTest : public GateTest, public ::testing::WithParamInterface<AgeCase> {};

// Eight days after it was shown a once-key goes: at the next start, or while
// she runs, at the first change of day after that.
TEST_P(FiredLogAgeTest, OnceKeysLastEightDays) {
    world.enable({ReminderKind::water});
    world.start();
    ASSERT_EQ(fire(ReminderKind::water, "water|1"), Gate::shown);
    if (GetParam().restart) world.stop();
    world.scheduler.advance(GetParam().secondsLater);
    if (GetParam().restart) world.start();
    EXPECT_EQ(fire(ReminderKind::water, "water|1"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ages, FiredLogAgeTest,
    ::testing::Values(AgeCase{7 * 86400 + 23 * 3600, true, Gate::onceKeyUsed},
                      AgeCase{8 * 86400, true, Gate::shown},
                      AgeCase{7 * 86400 + 23 * 3600, false, Gate::onceKeyUsed},
                      AgeCase{8 * 86400 + 13 * 3600, false, Gate::onceKeyUsed},  // same day
                      AgeCase{8 * 86400 + 22 * 3600, false, Gate::shown}));      // next morning

class CallTest : public GateTest {
protected:
    CallTest() {
        world.idle.idle = 0;
        world.enable({ReminderKind::meeting, ReminderKind::water});
        world.prefs.waterEvery.set(5);
        world.start();
        world.onGated = [this](const Cue& cue, Gate gate) {
            if (gate != Gate::kindOff) offered.emplace_back(cue.kind, gate);
        };
    }

    // A camera that runs from just before one tick to just before another.
    void call(int minutes) {
        world.scheduler.advance(20);
        world.media.cameraStates = {true};
        world.scheduler.advance(minutes * 60.0);
        world.media.cameraStates = {false};
    }

    int meetingMoments() const {
        int n = 0;
        for (const auto& p : world.presentations) n += p.moment.kind == ReminderKind::meeting;
        return n;
    }

    std::vector<std::pair<ReminderKind, Gate>> offered;
};

TEST_F(CallTest, CallOfNineMinutesEndsSilently) {
    call(9);
    world.scheduler.advance(60);
    EXPECT_EQ(meetingMoments(), 0);
    EXPECT_TRUE(engine().memory().state.lastMeetingEnd.has_value());
}

TEST_F(CallTest, CallOfTenMinutesIsAskedAboutOnce) {
    call(10);
    world.scheduler.advance(30);
    EXPECT_EQ(meetingMoments(), 1);
    world.scheduler.advance(3600);
    EXPECT_EQ(meetingMoments(), 1);
}

TEST_F(CallTest, DuringACallNoRuleIsEvenAsked) {
    world.scheduler.advance(20);
    world.media.cameraStates = {true};
    world.scheduler.advance(30);
    offered.clear();
    world.scheduler.advance(1800);  // water would be due every 5 minutes
    EXPECT_TRUE(offered.empty());
    EXPECT_TRUE(engine().meetingStart().has_value());
}

TEST_F(CallTest, MicrophoneAloneIsACall) {
    world.scheduler.advance(20);
    world.media.microphone = true;
    world.scheduler.advance(30);
    EXPECT_TRUE(engine().meetingStart().has_value());
}

}  // namespace
}  // namespace pelliwig
