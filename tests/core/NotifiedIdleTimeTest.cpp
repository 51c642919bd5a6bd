#include "core/sensors/NotifiedIdleTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

constexpr Instant kStart = 1'750'000'000;
constexpr double kTick = 30;

// What the notifier says, and when.
struct Event {
    double at;  // seconds after kStart
    enum { idled, resumed, read } what;
    double expected = 0;  // for `read`: seconds() then
};

struct Timeline {
    const char* name;
    double timeout;
    std::vector<Event> events;
};

class NotifiedIdleTimeTimeline : public ::testing::TestWithParam<Timeline> {};

TEST_P(NotifiedIdleTimeTimeline, ReadsTheSecondsSinceTheLastInput) {
    VirtualScheduler clock(kStart);
    NotifiedIdleTime idle(clock, GetParam().timeout);
    for (const Event& event : GetParam().events) {
        clock.advanceTo(kStart + event.at);
        switch (event.what) {
            case Event::idled:
                idle.idled();
                break;
            case Event::resumed:
                idle.resumed();
                break;
            case Event::read:
                EXPECT_DOUBLE_EQ(idle.seconds(), event.expected) << "at +" << event.at << " s";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Notifier, NotifiedIdleTimeTimeline,
    ::testing::Values(
        // Last input at +0: the notifier fires at +5, and the idle time counts from +0.
        Timeline{"ActiveUntilTheNotifierFires",
                 5,
                 {{0, Event::read, 0},
                  {4.9, Event::read, 0},
                  {5, Event::idled},
                  {5, Event::read, 5},
                  {125, Event::read, 125},
                  {305, Event::read, 305}}},
        Timeline{"InputDropsItToZero",
                 5,
                 {{5, Event::idled},
                  {200, Event::read, 200},
                  {200, Event::resumed},
                  {200, Event::read, 0},
                  {210, Event::idled},
                  {240, Event::read, 35}}},
        // A notifier that repeats itself does not move the last input later.
        Timeline{"RepeatedIdledKeepsTheFirst",
                 1,
                 {{1, Event::idled}, {60, Event::idled}, {90, Event::read, 90}}},
        Timeline{"ResumedWithoutIdledIsActive", 5, {{50, Event::resumed}, {60, Event::read, 0}}}),
    [](const auto& row) { return std::string(row.param.name); });

// The first engine tick (every 30 s from kStart) that reads at least
// `threshold` idle seconds, when the last input came at kStart + phase.
double firstTickReading(double threshold, double timeout, double phase) {
    VirtualScheduler clock(kStart);
    NotifiedIdleTime idle(clock, timeout);
    const TaskHandle notifier = clock.after(phase + timeout, [&] { idle.idled(); });
    for (double tick = kTick;; tick += kTick) {
        clock.advanceTo(kStart + tick);
        if (idle.seconds() >= threshold) return tick;
    }
}

// Whatever the phase of the last input against the tick, the first tick that
// reads 120 (or 300) idle seconds is the first at or after 120 (or 300)
// seconds without input, as with a sensor that reads the idle time directly.
TEST(NotifiedIdleTime, ThresholdsHoldToTheTick) {
    for (const double threshold : {120.0, 300.0}) {
        for (const double timeout : {1.0, 5.0, 10.0}) {
            for (double phase = 0; phase < kTick; phase += 2.5) {
                EXPECT_EQ(firstTickReading(threshold, timeout, phase),
                          std::ceil((phase + threshold) / kTick) * kTick)
                    << "threshold " << threshold << ", timeout " << timeout << ", input at +"
                    << phase;
            }
        }
    }
}

}  // namespace
}  // namespace pelliwig
