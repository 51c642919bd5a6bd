#include "core/sensors/HoverMonitor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/ScriptedPointerEvents.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

constexpr Rect kNotch{700, 0, 200, 32};  // centre x = 800
constexpr Rect kHot{600, 0, 400, 150};   // the bubble below the notch
constexpr Point kInNotch{820, 10};
constexpr Point kInBubble{650, 120};  // in the hot area, not in the notch
constexpr Point kFarAway{100, 500};

class HoverMonitorTest : public testing::Test {
protected:
    HoverMonitorTest() {
        hover.notchRect = [this] { return notch; };
        hover.hotRect = [this] { return hot; };
        hover.onEnter = [this] { events.push_back("enter"); };
        hover.onLeave = [this] { events.push_back("leave"); };
        hover.onMove = [this](double dx) { moves.push_back(dx); };
    }

    void enter() {
        pointer.moveTo(kInNotch);
        scheduler.advance(HoverMonitor::kEntryDelay);
        ASSERT_TRUE(hover.isInside());
        events.clear();
        moves.clear();
    }

    VirtualScheduler scheduler{1'750'000'000};
    ScriptedPointerEvents pointer;
    HoverMonitor hover{pointer, scheduler};
    std::optional<Rect> notch = kNotch;
    std::optional<Rect> hot = kHot;
    std::vector<std::string> events;
    std::vector<double> moves;
};

TEST_F(HoverMonitorTest, RestingInTheNotchEntersAfterTheDelay) {
    const Instant arrived = scheduler.now();
    pointer.moveTo(kInNotch);  // outside → entering
    scheduler.advanceTo(arrived + 0.3);
    pointer.moveTo(830, 12);  // still entering: the delay is not restarted
    scheduler.advanceTo(arrived + 0.34);
    EXPECT_FALSE(hover.isInside());
    EXPECT_TRUE(events.empty());
    scheduler.advanceTo(arrived + HoverMonitor::kEntryDelay);
    EXPECT_TRUE(hover.isInside());
    EXPECT_EQ(events, std::vector<std::string>{"enter"});
    EXPECT_TRUE(moves.empty());  // no move reports before entry
}

TEST_F(HoverMonitorTest, EntryZoneReachesSixPointsAroundTheNotch) {
    struct Case {
        Point p;
        bool enters;
    };
    const Case cases[] = {
        {{800, 37.9}, true},   // just under the bottom edge, within tolerance
        {{800, 38}, false},    // 6 points below: outside
        {{800, -6}, true},     // above the top edge (another screen above)
        {{699.9, 10}, false},  // beside the notch: no sideways tolerance
        {{700, 10}, true},    {{900, 10}, false},
    };
    for (const auto& c : cases) {
        // A fresh monitor for each point.
        VirtualScheduler time;
        ScriptedPointerEvents motion;
        HoverMonitor monitor(motion, time);
        monitor.notchRect = [] { return std::optional<Rect>(kNotch); };
        motion.moveTo(c.p);
        time.advance(1);
        EXPECT_EQ(monitor.isInside(), c.enters) << c.p.x << "," << c.p.y;
    }
}

TEST_F(HoverMonitorTest, PassingQuicklyThroughTheNotchDoesNotEnter) {
    pointer.moveTo(kInNotch);
    scheduler.advance(0.3);
    pointer.moveTo(kFarAway);  // entering → outside
    scheduler.advance(5);
    EXPECT_FALSE(hover.isInside());
    EXPECT_TRUE(events.empty());
}

TEST_F(HoverMonitorTest, TheHotAreaDoesNotLetThePointerIn) {
    pointer.moveTo(kInBubble);
    scheduler.advance(5);
    EXPECT_FALSE(hover.isInside());
    EXPECT_TRUE(events.empty());
}

TEST_F(HoverMonitorTest, InsideTheHotAreaReportsMovesFromTheNotchCentre) {
    enter();
    pointer.moveTo(kInBubble);
    pointer.moveTo(870, 20);
    EXPECT_EQ(moves, (std::vector<double>{-150, 70}));
    scheduler.advance(10);
    EXPECT_TRUE(hover.isInside());
    EXPECT_TRUE(events.empty());
}

TEST_F(HoverMonitorTest, StayingAwayForTheExitDelayLeaves) {
    enter();
    const Instant left = scheduler.now();
    pointer.moveTo(kFarAway);  // inside → leaving
    scheduler.advance(0.5);
    pointer.moveTo(50, 600);  // the delay counts from the first outside event
    scheduler.advanceTo(left + 1.19);
    EXPECT_TRUE(hover.isInside());
    scheduler.advanceTo(left + HoverMonitor::kExitDelay);
    EXPECT_FALSE(hover.isInside());  // leaving → outside
    EXPECT_EQ(events, std::vector<std::string>{"leave"});
}

// Where the pointer is seen only over her own windows, leaving them counts as
// an outside event: it cancels a pending entry, and once in starts the exit.
TEST_F(HoverMonitorTest, LeavingHerWindowsCountsAsOutside) {
    pointer.moveTo(kInNotch);
    pointer.leave();
    scheduler.advance(HoverMonitor::kEntryDelay);
    EXPECT_FALSE(hover.isInside());
    enter();
    const Instant left = scheduler.now();
    pointer.moveTo(kInBubble);
    pointer.leave();
    scheduler.advanceTo(left + HoverMonitor::kExitDelay);
    EXPECT_FALSE(hover.isInside());
    EXPECT_EQ(events, std::vector<std::string>{"leave"});
}

// A quiet spell while inside makes the monitor ask where the pointer is. The
// answer decides: over her, she stays; far away or off her windows, or no
// answer at all, she goes, within a bound.
TEST(HoverMonitorQuiet, AQuietSpellAsksWhereThePointerIs) {
    enum class Answer { overHer, farAway, offHer, none };
    struct Case {
        const char* name;
        Answer answer;
        bool stillInsideAfterTenSeconds;
        double leftAfter;  // seconds after the last event; for those that leave
    };
    constexpr double quiet = HoverMonitor::kQuietCheck;
    constexpr double exit = HoverMonitor::kExitDelay;
    const Case cases[] = {
        {"resting on her keeps her out", Answer::overHer, true, 0},
        {"a warp far away starts the exit", Answer::farAway, false, quiet + exit},
        {"seen off her windows starts the exit", Answer::offHer, false, quiet + exit},
        {"no answer counts as gone", Answer::none, false, 2 * quiet + exit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualScheduler scheduler{1'750'000'000};
        ScriptedPointerEvents pointer;
        HoverMonitor hover(pointer, scheduler);
        hover.notchRect = [] { return std::optional<Rect>(kNotch); };
        hover.hotRect = [] { return std::optional<Rect>(kHot); };
        std::optional<Instant> leftAt;
        hover.onLeave = [&] { leftAt = scheduler.now(); };
        pointer.answer = [] {};  // a platform that cannot tell
        if (c.answer == Answer::overHer) pointer.answer = [&] { pointer.moveTo(kInBubble); };
        if (c.answer == Answer::farAway) pointer.answer = [&] { pointer.moveTo(kFarAway); };
        if (c.answer == Answer::offHer) pointer.answer = [&] { pointer.leave(); };

        pointer.moveTo(kInNotch);
        scheduler.advance(HoverMonitor::kEntryDelay);
        ASSERT_TRUE(hover.isInside());
        pointer.moveTo(kInBubble);  // the last event before the pointer vanished
        const Instant lastEvent = scheduler.now();
        scheduler.advance(10);

        EXPECT_EQ(hover.isInside(), c.stillInsideAfterTenSeconds);
        EXPECT_GT(pointer.questions(), 0);
        if (!c.stillInsideAfterTenSeconds) {
            ASSERT_TRUE(leftAt);
            EXPECT_NEAR(*leftAt - lastEvent, c.leftAfter, 1e-6);
            EXPECT_LE(*leftAt - lastEvent, 2.0);
        }
    }
}

TEST_F(HoverMonitorTest, ComingBackBeforeTheExitDelayStaysInside) {
    enter();
    pointer.moveTo(kFarAway);
    scheduler.advance(1.0);
    pointer.moveTo(kInBubble);  // leaving → inside, and she follows the pointer
    EXPECT_EQ(moves, std::vector<double>{-150});
    scheduler.advance(5);
    EXPECT_TRUE(hover.isInside());
    EXPECT_TRUE(events.empty());

    // A new exit starts its full delay again.
    const Instant left = scheduler.now();
    pointer.moveTo(kFarAway);
    scheduler.advanceTo(left + 1.1);
    EXPECT_TRUE(hover.isInside());
    scheduler.advanceTo(left + HoverMonitor::kExitDelay);
    EXPECT_EQ(events, std::vector<std::string>{"leave"});
}

TEST_F(HoverMonitorTest, WithoutAHotAreaTheNotchKeepsThePointerIn) {
    hot.reset();
    enter();
    pointer.moveTo(850, 36);  // within the entry zone: still inside
    pointer.moveTo(950, 10);  // sideways out of the notch
    scheduler.advance(HoverMonitor::kExitDelay);
    EXPECT_EQ(moves, std::vector<double>{50});
    EXPECT_EQ(events, std::vector<std::string>{"leave"});
}

TEST_F(HoverMonitorTest, NarrowHotAreaLeavesWhenMovingSideways) {
    hot = Rect{700, 0, 200, 150};  // as tall as the panel, as wide as the notch
    enter();
    pointer.moveTo(920, 5);  // near the top of the screen but beside the notch
    scheduler.advance(HoverMonitor::kExitDelay);
    EXPECT_FALSE(hover.isInside());
}

TEST_F(HoverMonitorTest, WithoutANotchEveryEventIsIgnored) {
    notch.reset();
    pointer.moveTo(kInNotch);
    scheduler.advance(5);
    EXPECT_FALSE(hover.isInside());

    // Losing the notch while inside freezes the state rather than leaving.
    notch = kNotch;
    enter();
    notch.reset();
    pointer.moveTo(kFarAway);
    scheduler.advance(5);
    EXPECT_TRUE(hover.isInside());
    EXPECT_TRUE(events.empty());
}

TEST_F(HoverMonitorTest, FullCycleThroughAllFourStates) {
    pointer.moveTo(kInNotch);  // entering
    scheduler.advance(0.35);   // inside
    pointer.moveTo(kInNotch);  // move
    pointer.moveTo(kFarAway);  // leaving
    scheduler.advance(1.2);    // outside
    pointer.moveTo(kInNotch);  // entering again
    scheduler.advance(0.35);   // inside again
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave", "enter"}));
    EXPECT_EQ(moves, std::vector<double>{20});
}

TEST(HoverMonitor, PendingWorkDiesWithTheMonitor) {
    VirtualScheduler scheduler;
    ScriptedPointerEvents pointer;
    int entered = 0;
    {
        HoverMonitor hover(pointer, scheduler);
        hover.notchRect = [] { return std::optional<Rect>(kNotch); };
        hover.onEnter = [&] { ++entered; };
        pointer.moveTo(kInNotch);
    }
    EXPECT_FALSE(pointer.hasListeners());
    scheduler.advance(1);
    EXPECT_EQ(entered, 0);
}

}  // namespace
}  // namespace pelliwig
