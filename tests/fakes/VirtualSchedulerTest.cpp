#include "fakes/VirtualScheduler.h"

#include <gtest/gtest.h>

namespace pelliwig {
namespace {

TEST(VirtualSchedulerTest, RunsDueTasksInTimeOrderWithNowAtTheirDueTime) {
    VirtualScheduler scheduler(1000);
    std::vector<std::pair<std::string, Instant>> ran;
    auto record = [&](std::string name) {
        return [&, name] { ran.emplace_back(name, scheduler.now()); };
    };
    auto late = scheduler.after(5, record("late"));
    auto early = scheduler.after(2, record("early"));
    auto tie = scheduler.after(2, record("tie"));
    auto repeat = scheduler.every(2, record("every"));
    scheduler.advance(4.5);
    EXPECT_EQ(ran, (std::vector<std::pair<std::string, Instant>>{
                       {"early", 1002}, {"tie", 1002}, {"every", 1002}, {"every", 1004}}));
    EXPECT_EQ(scheduler.now(), 1004.5);
    EXPECT_FALSE(early.active());  // one-shot tasks finish once run
    EXPECT_TRUE(late.active());
}

TEST(VirtualSchedulerTest, DroppingOrCancellingAHandleStopsTheTask) {
    VirtualScheduler scheduler;
    int runs = 0;
    {
        auto dropped = scheduler.after(1, [&] { ++runs; });
    }
    auto repeat = scheduler.every(1, [&] { ++runs; });
    scheduler.advance(3);
    repeat.cancel();
    scheduler.advance(3);
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(scheduler.pending(), 0u);
}

// A suspend: what fell due while the machine slept runs once on waking, in
// order, and a repeating task counts its period from then.
TEST(VirtualSchedulerTest, AJumpRunsWhatFellDueOnceAtTheNewTime) {
    VirtualScheduler scheduler(1000);
    std::vector<std::pair<std::string, Instant>> ran;
    auto record = [&](std::string name) {
        return [&, name] { ran.emplace_back(name, scheduler.now()); };
    };
    auto repeat = scheduler.every(30, record("tick"));
    auto once = scheduler.after(100, record("once"));
    auto later = scheduler.after(5000, record("later"));
    scheduler.jumpTo(4600);
    scheduler.advanceTo(4660);
    EXPECT_EQ(ran, (std::vector<std::pair<std::string, Instant>>{
                       {"tick", 4600}, {"once", 4600}, {"tick", 4630}, {"tick", 4660}}));
    EXPECT_TRUE(later.active());
}

// A replay applies what happens at an instant before the tasks due at it.
TEST(VirtualSchedulerTest, CanStopJustBeforeAnInstantOrRightAfterIt) {
    VirtualScheduler scheduler(100);
    int runs = 0;
    auto tick = scheduler.every(30, [&] { ++runs; });
    scheduler.advanceBefore(130);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(scheduler.now(), 130);
    scheduler.advanceTo(130);
    EXPECT_EQ(runs, 1);
    scheduler.advanceTo(190);
    EXPECT_EQ(runs, 3);
    tick.cancel();
    scheduler.advanceTo(400);
    EXPECT_EQ(runs, 3);
}

TEST(VirtualSchedulerTest, TasksScheduledWhileAdvancingRunIfDueInTheWindow) {
    VirtualScheduler scheduler;
    std::vector<Instant> ran;
    TaskHandle inner;
    auto outer = scheduler.after(1, [&] {
        ran.push_back(scheduler.now());
        inner = scheduler.after(1, [&] { ran.push_back(scheduler.now()); });
    });
    TaskHandle self;
    self = scheduler.every(10, [&] { self.cancel(); });  // a task may cancel itself
    scheduler.advance(30);
    EXPECT_EQ(ran, (std::vector<Instant>{1, 2}));
    EXPECT_EQ(scheduler.pending(), 0u);
}

}  // namespace
}  // namespace pelliwig
