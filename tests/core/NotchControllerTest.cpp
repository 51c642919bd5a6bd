#include "core/notch/NotchController.h"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "fakes/FixedScreens.h"
#include "fakes/RecordingSurface.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

using Field = NotchModel::Field;
using Change = NotchModel::Change;

Moment moment(std::string line, MomentStyle style = MomentStyle::normal) {
    Moment m;
    m.kind = ReminderKind::water;
    m.line = std::move(line);
    m.style = style;
    return m;
}

Screen screen(std::string name, Rect frame) {
    Screen s;
    s.name = std::move(name);
    s.frame = frame;
    return s;
}

// A 1920-wide desktop with a 27-point top bar: the notch stand-in is
// (860, 0, 200, 27) and the surface (860, 0, 538, 299).
const Rect kNotch{860, 0, 200, 27};
const Rect kPanel{860, 0, 538, 299};

struct TimedChange {
    Instant at;
    Change change;
    bool operator==(const TimedChange&) const = default;
};

class NotchControllerTest : public testing::Test {
protected:
    NotchControllerTest()
        : screens({screen("desk", {0, 0, 1920, 1080})}, 27),
          notch(std::make_unique<NotchController>(scheduler, screens, surface)) {
        timedOutWatch = notch->timedOut.connect([this](const Moment& m) { timedOut.push_back(m); });
        recording = notch->model().changed.connect([this](Change c) {
            changes.push_back({scheduler.now(), c});
        });
    }

    const NotchModel& model() const { return notch->model(); }
    bool fullyShown() const { return model().isShown() && model().isBubbleShown(); }
    bool fullyHidden() const {
        return !model().isShown() && !model().isBubbleShown() && !model().moment();
    }

    VirtualScheduler scheduler;
    FixedScreens screens;
    RecordingSurface surface;
    std::unique_ptr<NotchController> notch;
    std::vector<Moment> timedOut;
    std::vector<TimedChange> changes;
    Connection timedOutWatch;
    Connection recording;
};

TEST_F(NotchControllerTest, BuildsTheSurfaceBelowAndRightOfTheNotch) {
    EXPECT_EQ(notch->geometry()->notchRect, kNotch);
    EXPECT_EQ(surface.frame, kPanel);
    EXPECT_EQ(surface.model, &notch->model());
    EXPECT_EQ(surface.calls, std::vector<std::string>{"build"});
}

TEST_F(NotchControllerTest, PresentBringsHerOutWithTheSpring) {
    const Moment m = moment("water?");
    notch->present(m);
    EXPECT_EQ(model().moment(), m);
    EXPECT_TRUE(surface.front);
    EXPECT_EQ(changes,
              (std::vector<TimedChange>{{0, {Field::moment, ThemeAnimation::none}},
                                        {0, {Field::isShown, ThemeAnimation::showSpring}},
                                        {0, {Field::isBubbleShown, ThemeAnimation::showSpring}}}));
}

TEST_F(NotchControllerTest, DismissalIsStaggered) {
    notch->present(moment("water?"));
    changes.clear();
    notch->dismiss();
    scheduler.advanceTo(0.69);
    EXPECT_TRUE(model().moment()) << "the view animates her away with the content intact";
    EXPECT_TRUE(surface.front);
    scheduler.advanceTo(0.71);
    EXPECT_TRUE(fullyHidden());
    EXPECT_FALSE(surface.front);
    EXPECT_EQ(changes,
              (std::vector<TimedChange>{{0, {Field::isBubbleShown, ThemeAnimation::bubbleOut}},
                                        {0.18, {Field::isShown, ThemeAnimation::hideAnimation}},
                                        {0.7, {Field::moment, ThemeAnimation::none}}}));
}

TEST_F(NotchControllerTest, WithoutADurationAMomentStaysUntilSomethingElseActs) {
    notch->present(moment("hi"));
    scheduler.advance(86400);
    EXPECT_TRUE(fullyShown());
    notch->present(moment("hi again"), 5);
    scheduler.advance(5.7);
    EXPECT_TRUE(fullyHidden());
}

// A quick re-presentation undoes the staggered dismissal, whichever step it
// lands before.
class RePresentTest : public NotchControllerTest, public testing::WithParamInterface<double> {};

TEST_P(RePresentTest, NewMomentSurvivesTheEarlierDismissal) {
    notch->present(moment("first"));
    changes.clear();
    notch->dismiss();
    scheduler.advance(GetParam());
    notch->present(moment("second"));
    scheduler.advance(2);
    EXPECT_TRUE(fullyShown());
    EXPECT_EQ(model().moment(), moment("second"));
    EXPECT_TRUE(surface.front);
    // Before the 0.18 s step she never even starts going back in.
    const bool wentIn = std::ranges::any_of(
        changes, [](const TimedChange& c) { return c.change.field == Field::isShown; });
    EXPECT_EQ(wentIn, GetParam() >= NotchController::kHideCharacterDelay);
}

INSTANTIATE_TEST_SUITE_P(Delays, RePresentTest, testing::Values(0.0, 0.1, 0.17, 0.3, 0.69));

// The steps of a dismissal that a present interrupted must not cut short the
// next dismissal of the new moment.
TEST_F(NotchControllerTest, SecondDismissalKeepsItsOwnTiming) {
    notch->present(moment("first"));
    notch->dismiss();
    scheduler.advanceTo(0.1);
    notch->present(moment("second"));
    scheduler.advanceTo(0.2);
    notch->dismiss();
    scheduler.advanceTo(0.37);
    EXPECT_TRUE(model().isShown());
    scheduler.advanceTo(0.39);
    EXPECT_FALSE(model().isShown());
    scheduler.advanceTo(0.89);
    EXPECT_EQ(model().moment(), moment("second"));
    EXPECT_TRUE(surface.front);
    scheduler.advanceTo(0.91);
    EXPECT_TRUE(fullyHidden());
    EXPECT_FALSE(surface.front);
}

TEST_F(NotchControllerTest, DismissWhenNothingIsShownIsHarmless) {
    notch->dismiss();
    scheduler.advance(1);
    EXPECT_TRUE(fullyHidden());
    EXPECT_TRUE(changes.empty());
}

TEST_F(NotchControllerTest, ViewCloseRequestDismisses) {
    notch->present(moment("hi"));
    notch->model().onDismiss();
    scheduler.advance(1);
    EXPECT_TRUE(fullyHidden());
}

struct CloseCase {
    std::string name;
    bool fromKeyboard;  // Escape rather than the close button
    bool reported;
};

class CloseRequestTest : public NotchControllerTest,
                         public testing::WithParamInterface<CloseCase> {};

// Escape lets the moment go as its time running out would: she counts it
// unanswered. The close button is an answer of its own and is not.
TEST_P(CloseRequestTest, EscapeCountsAsATimeOut) {
    const Moment m = moment("drink");
    notch->present(m, 60);
    if (GetParam().fromKeyboard) {
        notch->model().onExpire();
    } else {
        notch->model().onDismiss();
    }
    scheduler.advance(1);
    EXPECT_TRUE(fullyHidden());
    EXPECT_EQ(timedOut, GetParam().reported ? std::vector<Moment>{m} : std::vector<Moment>{});
    scheduler.advance(60);
    EXPECT_EQ(timedOut.size(), GetParam().reported ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Requests, CloseRequestTest,
                         testing::Values(CloseCase{"CloseButton", false, false},
                                         CloseCase{"Escape", true, true}),
                         [](const auto& row) { return row.param.name; });

struct StyleCase {
    MomentStyle style;
    bool reported;
};

class TimeOutTest : public NotchControllerTest, public testing::WithParamInterface<StyleCase> {};

TEST_P(TimeOutTest, OnlyUnansweredNormalMomentsAreReported) {
    const Moment m = moment("drink", GetParam().style);
    notch->present(m, 5);
    scheduler.advance(4.99);
    EXPECT_TRUE(fullyShown());
    EXPECT_TRUE(timedOut.empty());
    scheduler.advance(0.01);
    EXPECT_EQ(timedOut, GetParam().reported ? std::vector<Moment>{m} : std::vector<Moment>{});
    EXPECT_FALSE(model().isBubbleShown());
    scheduler.advance(10);
    EXPECT_TRUE(fullyHidden());
    EXPECT_EQ(timedOut.size(), GetParam().reported ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Styles, TimeOutTest,
                         testing::Values(StyleCase{MomentStyle::normal, true},
                                         StyleCase{MomentStyle::reaction, false},
                                         StyleCase{MomentStyle::sticky, false},
                                         StyleCase{MomentStyle::peek, false},
                                         StyleCase{MomentStyle::cold, false}));

TEST_F(NotchControllerTest, SwappedMomentHidesWithoutReport) {
    notch->present(moment("drink"), 60);
    notch->swap(moment("good girl"), 3);
    EXPECT_EQ(model().moment(), moment("good girl"));
    EXPECT_EQ(changes.back().change, (Change{Field::moment, ThemeAnimation::showSpring}));
    scheduler.advance(3.7);
    EXPECT_TRUE(fullyHidden());
    EXPECT_TRUE(timedOut.empty());
}

// Each entry point cancels the automatic hide of a moment presented for 5 s;
// afterwards whatever is on screen stays past the 5 s mark, unreported.
struct CancelCase {
    std::string name;
    std::function<void(NotchController&)> act;
    bool shownAfter;
};

class AutoHideCancelTest : public NotchControllerTest,
                           public testing::WithParamInterface<CancelCase> {};

TEST_P(AutoHideCancelTest, LaterEntryPointCancelsThePendingHide) {
    notch->present(moment("drink"), 5);
    scheduler.advance(3);
    GetParam().act(*notch);
    scheduler.advance(1);
    if (!GetParam().shownAfter) notch->present(moment("back"));
    scheduler.advance(100);
    EXPECT_TRUE(fullyShown());
    EXPECT_TRUE(timedOut.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EntryPoints, AutoHideCancelTest,
    testing::Values(CancelCase{"swap", [](NotchController& n) { n.swap(moment("reply")); }, true},
                    CancelCase{"present", [](NotchController& n) { n.present(moment("other")); },
                               true},
                    CancelCase{"dismiss", [](NotchController& n) { n.dismiss(); }, false}),
    [](const auto& row) { return row.param.name; });

// hotRect: notch-wide unless a moment with a bubble is out.
struct HotCase {
    std::string name;
    std::optional<MomentStyle> presented;
    double dismissedFor;  // seconds since dismiss; negative when not dismissed
    double width;
};

class HotRectTest : public NotchControllerTest, public testing::WithParamInterface<HotCase> {};

TEST_P(HotRectTest, WidthFollowsWhatIsOut) {
    const HotCase& c = GetParam();
    if (c.presented) notch->present(moment("x", *c.presented));
    if (c.dismissedFor >= 0) {
        notch->dismiss();
        scheduler.advance(c.dismissedFor);
    }
    EXPECT_EQ(notch->hotRect(), (Rect{860, 0, c.width, 299}));
}

INSTANTIATE_TEST_SUITE_P(States, HotRectTest,
                         testing::Values(HotCase{"hidden", std::nullopt, -1, 200},
                                         HotCase{"shown", MomentStyle::normal, -1, 538},
                                         HotCase{"reaction", MomentStyle::reaction, -1, 538},
                                         HotCase{"peek", MomentStyle::peek, -1, 200},
                                         HotCase{"bubbleClosing", MomentStyle::normal, 0.1, 538},
                                         HotCase{"characterHiding", MomentStyle::normal, 0.3, 200}),
                         [](const auto& row) { return row.param.name; });

const Screen kNotched = [] {
    Screen s = screen("builtIn", {0, 0, 1512, 982});
    s.topInset = 32;
    s.auxiliaryTopLeftArea = Rect{0, 0, 700, 32};
    s.auxiliaryTopRightArea = Rect{812, 0, 700, 32};
    return s;
}();

TEST_F(NotchControllerTest, ScreenChangeWhileShownRebuildsAtTheNewNotchInFront) {
    notch->present(moment("hi"));
    surface.calls.clear();
    screens.change({kNotched});
    EXPECT_EQ(surface.calls, (std::vector<std::string>{"orderOut", "build", "orderFront"}));
    EXPECT_TRUE(notch->geometry()->hasNotch);
    EXPECT_EQ(surface.frame, (Rect{700, 0, 450, 304}));
    EXPECT_TRUE(fullyShown());
}

TEST_F(NotchControllerTest, LosingEveryScreenKeepsTheLastGeometry) {
    notch->present(moment("hi"));
    screens.change({}, std::nullopt);
    EXPECT_EQ(notch->geometry()->notchRect, kNotch);
    EXPECT_EQ(surface.builds, 1);
    EXPECT_FALSE(surface.front);
    EXPECT_TRUE(fullyShown()) << "a rebuild never changes the model";
}

TEST(NotchControllerNoScreen, PresentOnlyUpdatesTheModel) {
    VirtualScheduler scheduler;
    FixedScreens screens;
    RecordingSurface surface;
    NotchController notch(scheduler, screens, surface);
    notch.present(moment("hi"), 1);
    EXPECT_TRUE(notch.model().isShown());
    EXPECT_FALSE(notch.hotRect());
    scheduler.advance(2);
    EXPECT_FALSE(notch.model().moment());
    EXPECT_TRUE(surface.calls.empty());
}

TEST_F(NotchControllerTest, NoFlagUsesTheSubstituteAreaOnANotchedScreen) {
    NotchGeometry::forceFallback = true;
    screens.change({kNotched});
    NotchGeometry::forceFallback = false;
    EXPECT_FALSE(notch->geometry()->hasNotch);
    EXPECT_EQ(notch->geometry()->notchRect, (Rect{656, 0, 200, 27}));
    EXPECT_EQ(surface.builds, 2);
    EXPECT_FALSE(surface.front) << "nothing was out, so the new surface stays hidden";
}

// A changed placement moves the surface at once; she comes out on the screen
// with the pointer, measured when she is presented.
TEST(NotchControllerPlacement, FollowsTheSettingAndThePointersScreen) {
    VirtualScheduler scheduler;
    FixedScreens screens(
        {screen("left", {0, 0, 1280, 800}), screen("right", {1280, 0, 1920, 1080})}, 27);
    RecordingSurface surface;
    NotchPlacement placement;
    NotchController notch(scheduler, screens, surface, [&] { return placement; });
    EXPECT_EQ(notch.geometry()->notchRect, (Rect{540, 0, 200, 27}));

    notch.refreshPlacement();
    EXPECT_EQ(surface.builds, 1) << "nothing changed, nothing is rebuilt";
    placement.position = NotchPosition::topLeft;
    notch.refreshPlacement();
    EXPECT_EQ(surface.frame->x, 0);
    EXPECT_EQ(surface.builds, 2);

    placement.screen = "pointer";
    screens.setPointerScreen("right");
    notch.present(moment("hi"));
    EXPECT_EQ(notch.geometry()->screen.name, "right");
    EXPECT_EQ(surface.frame->x, 1280);
    EXPECT_TRUE(surface.front);
    EXPECT_EQ(notch.hotRect()->x, 1280);

    // At the top right she sits in the corner and her panel reaches left of
    // her; only while her bubble is out does that area count as hers.
    notch.dismiss();
    scheduler.advance(1);
    placement = {NotchPosition::topRight, "primary"};
    notch.refreshPlacement();
    EXPECT_EQ(notch.geometry()->notchRect, (Rect{1080, 0, 200, 27}));
    EXPECT_EQ(surface.frame, (Rect{1080 - 338, 0, 538, 299}));
    EXPECT_EQ(notch.hotRect(), (Rect{1080, 0, 200, 299}));
    notch.present(moment("hi"));
    EXPECT_EQ(notch.hotRect(), (Rect{1080 - 338, 0, 538, 299}));
}

TEST_F(NotchControllerTest, PendingWorkDiesWithTheController) {
    notch->present(moment("drink"), 5);
    notch->dismiss();
    notch.reset();
    EXPECT_EQ(scheduler.pending(), 0u);
    EXPECT_FALSE(screens.hasListeners());
}

}  // namespace
}  // namespace pelliwig
