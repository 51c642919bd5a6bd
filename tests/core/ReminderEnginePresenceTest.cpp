#include <gtest/gtest.h>

#include "ReminderEngineWorld.h"

namespace pelliwig {
namespace {

using Gate = ReminderEngine::Gate;

class PresenceTest : public ::testing::Test {
protected:
    explicit PresenceTest(Instant start = berlin(12, 10)) : world(start) {
        world.idle.idle = 100000;
        world.enable({ReminderKind::hover, ReminderKind::water});
    }

    ReminderEngine& engine() { return *world.engine; }
    std::optional<Face> face() const { return world.shown().value().face; }

    ReminderEngineWorld world;
};

TEST_F(PresenceTest, HoverOverAnEmptyNotchShowsHerUntilThePointerLeaves) {
    world.start();
    world.pointerIntoNotch();
    ASSERT_EQ(world.shownKind(), ReminderKind::hover);
    EXPECT_EQ(face(), Face::pose(Pose::lookDown));
    EXPECT_EQ(world.presentations.back().seconds, std::nullopt);
    world.scheduler.advance(600);
    EXPECT_EQ(world.shownKind(), ReminderKind::hover);

    world.pointerAway();
    world.scheduler.advance(1);
    EXPECT_FALSE(world.model().moment().has_value());
}

TEST_F(PresenceTest, HoverIsOffWithItsKind) {
    world.prefs.setEnabled(ReminderKind::hover, false);
    world.start();
    world.pointerIntoNotch();
    EXPECT_FALSE(world.shown().has_value());
}

TEST_F(PresenceTest, HoverNeverInterruptsANudgeAndLeavingLeavesItAlone) {
    world.prefs.showSeconds.set(60);
    world.start();
    engine().fire(ReminderEngineWorld::cue(ReminderKind::water));
    world.pointerIntoNotch();
    EXPECT_EQ(world.shownKind(), ReminderKind::water);
    world.pointerAway();
    EXPECT_EQ(world.shownKind(), ReminderKind::water);
    EXPECT_TRUE(world.model().isBubbleShown());
}

struct EyesCase {
    double offset;
    Pose pose;
};

class HoverEyesTest : public PresenceTest, public ::testing::WithParamInterface<EyesCase> {};

TEST_P(HoverEyesTest, EyesFollowThePointerBeyondSeventyPoints) {
    world.start();
    world.pointerIntoNotch();
    world.pointerAt(GetParam().offset);
    EXPECT_EQ(face(), Face::pose(GetParam().pose));
    world.pointerAt(0);
    EXPECT_EQ(face(), Face::pose(Pose::lookDown));
}

INSTANTIATE_TEST_SUITE_P(Offsets, HoverEyesTest,
                         ::testing::Values(EyesCase{71, Pose::lookRight},
                                           EyesCase{70, Pose::lookDown},
                                           EyesCase{-70, Pose::lookDown},
                                           EyesCase{-71, Pose::lookLeft},
                                           EyesCase{250, Pose::lookRight}));

struct StillCase {
    std::string name;
    bool ownSetting;
    std::optional<bool> desktop;  // none: the desktop says nothing
    bool eyesMove;
};

class StillEyesTest : public PresenceTest, public ::testing::WithParamInterface<StillCase> {};

// Asked to keep still, by her setting or the desktop's, she looks down and
// stays so wherever the pointer goes.
TEST_P(StillEyesTest, EyesFollowOnlyWhenNothingAsksForStillness) {
    world.prefs.reduceMotion.set(GetParam().ownSetting);
    world.start();
    if (const auto desktop = GetParam().desktop) {
        engine().desktopReducesMotion = [desktop] { return *desktop; };
    }
    world.pointerIntoNotch();
    world.pointerAt(100);
    world.pointerAt(-90);
    const Face expected = Face::pose(GetParam().eyesMove ? Pose::lookLeft : Pose::lookDown);
    EXPECT_EQ(face(), expected);
}

INSTANTIATE_TEST_SUITE_P(Settings, StillEyesTest,
                         ::testing::Values(StillCase{"NothingAsks", false, std::nullopt, true},
                                           StillCase{"DesktopAnimates", false, false, true},
                                           StillCase{"HerOwnSetting", true, std::nullopt, false},
                                           StillCase{"DesktopSetting", false, true, false},
                                           StillCase{"Both", true, true, false}),
                         [](const auto& row) { return row.param.name; });

TEST_F(PresenceTest, OnlyAChangeOfPoseRedrawsHerFace) {
    world.start();
    world.pointerIntoNotch();
    for (double x : {80, 90, 100, -80, -90}) world.pointerAt(x);
    int faces = 0;
    for (const auto& p : world.presentations) {
        faces += p.how == ReminderEngine::Presentation::How::face;
    }
    EXPECT_EQ(faces, 2);
}

// An idle peek is of kind hover too; the pointer must not dress it up as the
// old hover moment that a nudge once pushed aside.
TEST_F(PresenceTest, EyesDoNotTurnAPeekIntoAnOldHoverMoment) {
    world.start();
    world.pointerIntoNotch();
    engine().preview(ReminderKind::water);
    world.pointerAway();
    world.notch.dismiss();
    world.scheduler.advance(1);
    const Moment peek{ReminderKind::hover,     "", MomentStyle::peek,
                      Face::mood(Mood::happy), {}, false};
    world.notch.present(peek);
    engine().hoverMoved(100);
    EXPECT_EQ(world.shown(), peek);
}

// The pointer leaves (dismissal starts) and a preview comes at once: the
// dismissal's later steps must not take the new moment away.
TEST_F(PresenceTest, QuickRepresentUndoesTheStaggeredDismissal) {
    world.start();
    world.pointerIntoNotch();
    world.pointerAway();
    ASSERT_FALSE(world.model().isBubbleShown());
    world.scheduler.advance(0.1);
    engine().preview(ReminderKind::water);
    world.scheduler.advance(1);
    EXPECT_EQ(world.shownKind(), ReminderKind::water);
    EXPECT_TRUE(world.model().isBubbleShown());
}

class SleepingPeekTest : public PresenceTest {
protected:
    SleepingPeekTest() : PresenceTest(berlin(13, 1)) {}

    int sleepingPeeks() const {
        int n = 0;
        for (const auto& p : world.presentations) n += p.moment.zzz;
        return n;
    }
};

TEST_F(SleepingPeekTest, AtMostEveryHalfHourAndOnlyWhileTheUserIsThere) {
    world.idle.idle = 0;
    world.start();
    ASSERT_EQ(sleepingPeeks(), 1);
    const auto& first = world.presentations.front();
    EXPECT_EQ(first.moment.face, Face::pose(Pose::sleeping));
    EXPECT_EQ(first.moment.style, MomentStyle::peek);
    EXPECT_EQ(first.seconds, 6.0);
    world.scheduler.advance(6.1);
    EXPECT_FALSE(world.model().isBubbleShown());

    world.scheduler.advance(1800 - 6.1 - 1);
    EXPECT_EQ(sleepingPeeks(), 1);
    world.scheduler.advance(1);
    EXPECT_EQ(sleepingPeeks(), 2);

    world.idle.idle = 200;
    world.scheduler.advance(3 * 3600);
    EXPECT_EQ(sleepingPeeks(), 2);
}

TEST_F(SleepingPeekTest, NoneWhenSheMayNotSleepInTheNotch) {
    world.idle.idle = 0;
    world.prefs.sleepInNotch.set(false);
    world.start();
    world.scheduler.advance(3600);
    EXPECT_EQ(sleepingPeeks(), 0);
}

TEST_F(PresenceTest, SurprisesNeedTheirRateButIdlePeeksDoNot) {
    world.idle.idle = 0;
    world.prefs.idlePeeks.set(true);
    world.enable({ReminderKind::surprise});
    world.random = ScriptedRandom({}, 0.0);  // every die comes up
    world.start();
    EXPECT_EQ(world.shown().value().style, MomentStyle::peek);
    EXPECT_EQ(world.presentations.back().seconds, 2.2);
    EXPECT_EQ(world.shown().value().face, Face::mood(Mood::happy));

    world.scheduler.advance(30);
    world.prefs.surprisesPerWeek.set(3);
    world.scheduler.advance(30);
    EXPECT_EQ(world.shownKind(), ReminderKind::surprise);
    EXPECT_EQ(world.shown().value().style, MomentStyle::normal);
}

struct MoodCase {
    int mood;
    Mood face;
};

class IdlePeekMoodTest : public PresenceTest, public ::testing::WithParamInterface<MoodCase> {};

TEST_P(IdlePeekMoodTest, IdlePeekShowsHerMood) {
    world.idle.idle = 0;
    world.prefs.idlePeeks.set(true);
    world.random = ScriptedRandom({}, 0.0);
    auto& engine = world.start();
    engine.memory().state.mood = GetParam().mood;
    world.scheduler.advance(60);
    EXPECT_EQ(world.presentations.back().moment.face, Face::mood(GetParam().face));
}

INSTANTIATE_TEST_SUITE_P(Moods, IdlePeekMoodTest,
                         ::testing::Values(MoodCase{-5, Mood::annoyed}, MoodCase{-3, Mood::annoyed},
                                           MoodCase{-2, Mood::pouty}, MoodCase{-1, Mood::pouty},
                                           MoodCase{0, Mood::happy}, MoodCase{2, Mood::happy},
                                           MoodCase{3, Mood::love}));

TEST_F(PresenceTest, ResumeRestartsTheSittingStretchAndTicksThreeSecondsLater) {
    world.idle.idle = 0;
    world.prefs.breakEvery.set(60);
    world.prefs.showSeconds.set(100000);
    world.enable({ReminderKind::breaks});
    world.start();
    world.scheduler.advance(50 * 60);
    int ticks = 0;
    world.onGated = [&](const Cue&, Gate) { ++ticks; };
    world.scheduler.advance(10);
    engine().resumed();
    world.scheduler.advance(2.9);
    const int before = ticks;
    world.scheduler.advance(0.2);
    EXPECT_GT(ticks, before) << "a tick 3 s after the resume";

    world.scheduler.advance(15 * 60);
    EXPECT_NE(world.shownKind(), ReminderKind::breaks) << "the hour starts again at the resume";
    world.scheduler.advance(45 * 60 + 30);
    EXPECT_EQ(world.shownKind(), ReminderKind::breaks);
}

}  // namespace
}  // namespace pelliwig
