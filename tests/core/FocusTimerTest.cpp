#include "core/sensors/FocusTimer.h"

#include <gtest/gtest.h>

#include <memory>

#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

constexpr Instant kStart = 1'750'000'000;

TEST(FocusTimer, FinishesOnceAfterItsLength) {
    VirtualScheduler scheduler(kStart);
    int finished = 0;
    FocusTimer timer(scheduler, 25, [&] { ++finished; });
    EXPECT_EQ(timer.endsAt(), kStart + 1500);

    scheduler.advance(1499.9);
    EXPECT_EQ(finished, 0);
    scheduler.advance(0.1);
    EXPECT_EQ(finished, 1);
    scheduler.advance(10'000);
    EXPECT_EQ(finished, 1);
}

TEST(FocusTimer, DroppingItCancelsTheSession) {
    VirtualScheduler scheduler(kStart);
    int finished = 0;
    auto timer = std::make_unique<FocusTimer>(scheduler, 25, [&] { ++finished; });
    scheduler.advance(1000);
    timer.reset();
    scheduler.advance(10'000);
    EXPECT_EQ(finished, 0);
}

TEST(FocusTimer, OwnerMayDropItWhenItFinishes) {
    VirtualScheduler scheduler(kStart);
    std::unique_ptr<FocusTimer> timer;
    int finished = 0;
    timer = std::make_unique<FocusTimer>(scheduler, 1, [&] {
        ++finished;
        timer.reset();
    });
    scheduler.advance(120);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(timer, nullptr);
}

}  // namespace
}  // namespace pelliwig
