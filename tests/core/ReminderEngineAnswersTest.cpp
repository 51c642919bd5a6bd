#include <algorithm>

#include <gtest/gtest.h>

#include "ReminderEngineWorld.h"
#include "core/content/Placeholders.h"
#include "core/support/Clock.h"

namespace pelliwig {
namespace {

using Gate = ReminderEngine::Gate;
using Tone = Answer::Tone;

bool among(const std::string& line, const LineBank::LanguageTable& table) {
    const auto& english = table.at(Language::english);
    return std::find(english.begin(), english.end(), line) != english.end();
}

class AnswersTest : public ::testing::Test {
protected:
    explicit AnswersTest(Instant start = berlin(12, 10)) : world(start) {
        world.idle.idle = 100000;
    }

    ReminderEngine& engine() { return *world.engine; }
    Moment shownMoment() const { return world.shown().value(); }

    ReminderEngineWorld world;
};

struct ReplyCase {
    ReminderKind kind;
    Tone tone;
    Mood face;
    const LineBank::LanguageTable* lines;
};

class ReplyTest : public AnswersTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(ReplyTest, EveryAnswerGetsAThreeSecondReaction) {
    const auto& c = GetParam();
    world.start();
    engine().preview(c.kind);
    engine().answer(shownMoment(), Answer{"", c.tone});

    const Moment reply = shownMoment();
    EXPECT_EQ(reply.kind, ReminderKind::surprise);
    EXPECT_EQ(reply.style, MomentStyle::reaction);
    EXPECT_EQ(reply.face, Face::mood(c.face));
    EXPECT_TRUE(among(reply.line, *c.lines)) << reply.line;

    world.scheduler.advance(2.9);
    EXPECT_TRUE(world.model().isBubbleShown());
    world.scheduler.advance(0.2);
    EXPECT_FALSE(world.model().isBubbleShown());
}

const LineBank::Tables& kLines = LineBank::tables();
INSTANTIATE_TEST_SUITE_P(
    Tones, ReplyTest,
    ::testing::Values(ReplyCase{ReminderKind::water, Tone::good, Mood::love, &kLines.reactions},
                      ReplyCase{ReminderKind::focus, Tone::good, Mood::proud, &kLines.reactions},
                      ReplyCase{ReminderKind::breaks, Tone::good, Mood::proud, &kLines.reactions},
                      ReplyCase{ReminderKind::call, Tone::bad, Mood::pouty, &kLines.comfort},
                      ReplyCase{ReminderKind::water, Tone::snooze, Mood::annoyed, &kLines.snoozed},
                      ReplyCase{ReminderKind::morning, Tone::apology, Mood::love, &kLines.melt}));

TEST_F(AnswersTest, AnswersAreRemembered) {
    world.start();
    engine().preview(ReminderKind::water);
    engine().answer(shownMoment(), Answer{"", Tone::good});
    engine().preview(ReminderKind::meal);
    const Moment meal = shownMoment();
    engine().answer(meal, Answer{"", Tone::snooze});
    engine().answer(meal, Answer{"", Tone::snooze});

    const auto& kinds = engine().memory().state.kinds;
    EXPECT_EQ(kinds.at("water").acks, 1);
    EXPECT_EQ(kinds.at("meal").snoozeStreak, 2);
    EXPECT_EQ(engine().memory().today().waterAcks, 1);
}

TEST_F(AnswersTest, SecondSnoozeInARowGetsTheSnoozedAgainLine) {
    world.start();
    engine().preview(ReminderKind::water);
    const Moment water = shownMoment();
    engine().answer(water, Answer{"", Tone::snooze});
    engine().answer(water, Answer{"", Tone::snooze});
    EXPECT_TRUE(among(shownMoment().line, kLines.snoozedAgain)) << shownMoment().line;
}

// Snoozed at 00:25, back at 00:35 although the quiet hours began at 00:30.
TEST_F(AnswersTest, SnoozedReminderReturnsAfterTenMinutesEvenInQuietHours) {
    world.scheduler.advanceTo(berlin(13, 0, 25));
    world.enable({ReminderKind::water});
    world.start();
    ASSERT_EQ(engine().fire(ReminderEngineWorld::cue(ReminderKind::water)), Gate::shown);
    engine().answer(shownMoment(), Answer{"", Tone::snooze});

    world.scheduler.advance(599);
    EXPECT_FALSE(world.shown().has_value());
    world.scheduler.advance(1);
    ASSERT_EQ(world.shownKind(), ReminderKind::water);
    EXPECT_EQ(shownMoment().style, MomentStyle::normal);
    EXPECT_EQ(world.presentations.back().seconds, 8.0);
    EXPECT_EQ(engine().fire(ReminderEngineWorld::cue(ReminderKind::water)), Gate::quietHours);
}

TEST_F(AnswersTest, SnoozedCustomReminderComesBackInItsOwnWords) {
    world.start();
    const Moment custom{ReminderKind::custom, "Call {mom}", MomentStyle::normal, {}, {}, false};
    world.notch.present(custom);
    engine().answer(custom, Answer{"", Tone::snooze});
    world.scheduler.advance(600);
    EXPECT_EQ(shownMoment().line, "Call {mom}");
}

TEST_F(AnswersTest, SnoozeReturnDiesWithTheEngine) {
    world.start();
    engine().preview(ReminderKind::water);
    engine().answer(shownMoment(), Answer{"", Tone::snooze});
    world.stop();
    world.scheduler.advance(700);
    EXPECT_FALSE(world.model().moment().has_value());
}

struct TimeOutCase {
    ReminderKind kind;
    MomentStyle style;
    bool answered;
    int ignored;
};

class IgnoredTest : public AnswersTest, public ::testing::WithParamInterface<TimeOutCase> {};

// Only a normal moment with buttons that runs out unanswered counts as
// ignored: a greeting cannot be answered, so it cannot be ignored either.
TEST_P(IgnoredTest, IgnoredIsCountedWhenTheControllerTimesOut) {
    const auto& c = GetParam();
    world.enable({c.kind});
    world.start();
    engine().fire(ReminderEngineWorld::cue(c.kind, std::nullopt, c.style));
    if (c.answered) engine().answer(shownMoment(), Answer{"", Tone::good});
    world.scheduler.advance(60);

    const auto& kinds = engine().memory().state.kinds;
    const std::string kind = rawString(c.kind);
    const int streak = kinds.contains(kind) ? kinds.at(kind).ignoredStreak : 0;
    EXPECT_EQ(streak, c.ignored);
    EXPECT_EQ(engine().memory().today().ignored, c.ignored);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, IgnoredTest,
    ::testing::Values(TimeOutCase{ReminderKind::water, MomentStyle::normal, false, 1},
                      TimeOutCase{ReminderKind::water, MomentStyle::normal, true, 0},
                      TimeOutCase{ReminderKind::bedtime, MomentStyle::sticky, false, 0},
                      TimeOutCase{ReminderKind::morning, MomentStyle::normal, false, 0}));

struct FaceCase {
    MomentStyle style;
    std::optional<Face> face;
    std::optional<double> seconds;
};

class ShowTest : public AnswersTest, public ::testing::WithParamInterface<FaceCase> {};

TEST_P(ShowTest, StyleChoosesTheFaceAndTheDisplayTime) {
    const auto& c = GetParam();
    world.enable({ReminderKind::bedtime});
    world.prefs.showSeconds.set(12);
    world.start();
    engine().fire(ReminderEngineWorld::cue(ReminderKind::bedtime, std::nullopt, c.style));
    EXPECT_EQ(shownMoment().face, c.face);
    EXPECT_EQ(world.presentations.back().seconds, c.seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ShowTest,
    ::testing::Values(FaceCase{MomentStyle::normal, std::nullopt, 12.0},
                      FaceCase{MomentStyle::sticky, Face::mood(Mood::annoyed), std::nullopt},
                      FaceCase{MomentStyle::cold, Face::pose(Pose::cold), std::nullopt}));

TEST_F(AnswersTest, CustomLineIsShownExactlyAsTyped) {
    world.start();
    engine().fire(Cue{ReminderKind::custom, "custom|1", "{surprise}", MomentStyle::normal, {}, {}});
    EXPECT_EQ(shownMoment().line, "{surprise}");
}

// Four ignored moments yesterday: a cold morning, until she gets her apology.
class ColdMorningTest : public AnswersTest {
protected:
    ColdMorningTest() : AnswersTest(berlin(13, 8)) {
        VirtualScheduler yesterday(berlin(12, 15));
        Clock clock(yesterday);
        Memory memory(world.store, clock);
        for (int i = 0; i < 4; ++i) memory.recordIgnored(ReminderKind::water);
        world.enable({ReminderKind::morning, ReminderKind::hover});
        world.idle.idle = 0;
    }
};

TEST_F(ColdMorningTest, ColdMorningStaysUntilTheApology) {
    world.start();
    ASSERT_TRUE(engine().memory().state.coldUntilApology);
    const Moment morning = shownMoment();
    EXPECT_EQ(morning.kind, ReminderKind::morning);
    EXPECT_EQ(morning.style, MomentStyle::cold);
    EXPECT_EQ(morning.face, Face::pose(Pose::cold));
    EXPECT_TRUE(among(morning.line, kLines.coldMorning)) << morning.line;
    EXPECT_EQ(world.presentations.back().seconds, std::nullopt);
    world.scheduler.advance(3600);
    EXPECT_EQ(shownMoment(), morning) << "a cold moment waits for its answer";

    const auto answers = LineBank(world.random).answers(morning, Language::english);
    ASSERT_EQ(answers.size(), 1u);
    engine().answer(morning, answers.front());

    EXPECT_FALSE(engine().memory().state.coldUntilApology);
    EXPECT_EQ(engine().memory().state.mood, 1);
    EXPECT_TRUE(among(shownMoment().line, kLines.melt));
}

TEST_F(ColdMorningTest, HoverLineThawsWithTheApology) {
    world.start();
    const Moment morning = shownMoment();
    world.notch.dismiss();
    world.scheduler.advance(1);
    world.pointerIntoNotch();
    EXPECT_TRUE(among(shownMoment().line, kLines.coldHover)) << shownMoment().line;
    world.pointerAway();
    world.scheduler.advance(1);

    engine().answer(morning, Answer{"", Tone::apology});
    world.scheduler.advance(4);
    world.pointerIntoNotch();
    EXPECT_TRUE(among(shownMoment().line, kLines.hover)) << shownMoment().line;
}

TEST_F(AnswersTest, OnlyTheLastFocusSessionFinishes) {
    world.start();
    engine().startFocus(25);
    engine().startFocus(50);
    EXPECT_EQ(engine().focus()->endsAt(), world.scheduler.now() + 3000);
    world.scheduler.advance(50 * 60 - 1);
    EXPECT_TRUE(world.presentations.empty());
    world.scheduler.advance(1);
    EXPECT_EQ(world.shownKind(), ReminderKind::focus);
    EXPECT_EQ(world.presentations.size(), 1u);
    EXPECT_FALSE(engine().focus().has_value());
}

TEST_F(AnswersTest, CancelledFocusNeverFinishes) {
    world.start();
    engine().startFocus(25);
    engine().cancelFocus();
    world.scheduler.advance(3600);
    EXPECT_TRUE(world.presentations.empty());
}

// Quiet hours, nothing enabled, a moment just shown: a preview still comes.
TEST_F(AnswersTest, PreviewIgnoresTheGateAndSetsLastShown) {
    world.scheduler.advanceTo(berlin(13, 3));
    world.start();
    engine().preview(ReminderKind::water);
    world.scheduler.advance(10);
    engine().preview(ReminderKind::meal);
    EXPECT_EQ(world.shownKind(), ReminderKind::meal);
    EXPECT_EQ(engine().lastShown(), world.scheduler.now());
}

TEST_F(AnswersTest, PreviewWithoutKindNeverNeedsARecord) {
    world.start();
    std::vector<ReminderKind> seen;
    const auto& kinds = previewKinds();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        world.random.push((i + 0.5) / kinds.size());
        engine().preview(std::nullopt);
        seen.push_back(shownMoment().kind);
    }
    EXPECT_EQ(kinds.size(), 19u);
    EXPECT_EQ(seen, kinds);
    for (auto kind : {ReminderKind::custom, ReminderKind::countdown, ReminderKind::date,
                      ReminderKind::deadline}) {
        EXPECT_EQ(std::count(seen.begin(), seen.end(), kind), 0);
    }
}

TEST_F(AnswersTest, AppPreviewsSpeakOfTheAppInFrontOrSafari) {
    world.start();
    engine().preview(ReminderKind::appTime);
    EXPECT_NE(shownMoment().line.find("Safari"), std::string::npos) << shownMoment().line;
    world.front.current = "Xcode";
    engine().preview(ReminderKind::appSwitch);
    std::vector<std::string> codingQuips;
    for (const auto& quip : kLines.appSwitch.at(AppBucket::coding).at(Language::english)) {
        codingQuips.push_back(fillPlaceholders(quip, {{"app", "Xcode"}}));
    }
    EXPECT_NE(std::find(codingQuips.begin(), codingQuips.end(), shownMoment().line),
              codingQuips.end())
        << shownMoment().line;
}

}  // namespace
}  // namespace pelliwig
