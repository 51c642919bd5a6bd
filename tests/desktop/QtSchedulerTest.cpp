#include "desktop/support/QtScheduler.h"

#include <chrono>
#include <memory>
#include <vector>

#include <QDateTime>
#include <QTest>

#include "NotchTestSupport.h"

namespace pelliwig {
namespace {

const auto* const kApp = ::testing::AddGlobalTestEnvironment(new testing::QtApplication);

// Waits on the event loop for real timer events, never longer than this.
constexpr int kPatienceMs = 5000;

TEST(QtSchedulerTest, NowIsWallClockSeconds) {
    QtScheduler scheduler;
    const double wall = QDateTime::currentMSecsSinceEpoch() / 1000.0;
    EXPECT_NEAR(scheduler.now(), wall, 1.0);
}

TEST(QtSchedulerTest, OneShotRunsOnceAndThenReadsFinished) {
    QtScheduler scheduler;
    int runs = 0;
    TaskHandle handle = scheduler.after(0.01, [&] { ++runs; });
    EXPECT_TRUE(handle.active());
    ASSERT_TRUE(QTest::qWaitFor([&] { return runs > 0; }, kPatienceMs));
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(handle.active());
}

TEST(QtSchedulerTest, TasksRunInDueOrder) {
    QtScheduler scheduler;
    std::vector<int> order;
    auto late = scheduler.after(0.05, [&] { order.push_back(2); });
    auto early = scheduler.after(0.0, [&] { order.push_back(1); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return order.size() == 2; }, kPatienceMs));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(QtSchedulerTest, CancelledOrDroppedTasksNeverRun) {
    QtScheduler scheduler;
    bool cancelledRan = false, droppedRan = false, sentinel = false;
    TaskHandle cancelled = scheduler.after(0.0, [&] { cancelledRan = true; });
    cancelled.cancel();
    {
        TaskHandle dropped = scheduler.after(0.0, [&] { droppedRan = true; });
    }
    auto last = scheduler.after(0.03, [&] { sentinel = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return sentinel; }, kPatienceMs));
    EXPECT_FALSE(cancelledRan);
    EXPECT_FALSE(droppedRan);
    EXPECT_FALSE(cancelled.active());
}

TEST(QtSchedulerTest, RepeatsUntilCancelledFromInside) {
    QtScheduler scheduler;
    int runs = 0;
    TaskHandle handle;
    handle = scheduler.every(0.005, [&] {
        if (++runs == 3) handle.cancel();
    });
    bool sentinel = false;
    ASSERT_TRUE(QTest::qWaitFor([&] { return runs == 3; }, kPatienceMs));
    auto after = scheduler.after(0.05, [&] { sentinel = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return sentinel; }, kPatienceMs));
    EXPECT_EQ(runs, 3);
}

TEST(QtSchedulerTest, HandlesOutliveTheScheduler) {
    TaskHandle handle;
    bool ran = false;
    {
        QtScheduler scheduler;
        handle = scheduler.after(0.0, [&] { ran = true; });
    }
    QTest::qWait(0);  // let any stray timer event through
    handle.cancel();
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace pelliwig
