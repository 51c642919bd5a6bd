#include "core/sensors/BatteryMonitor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/ScriptedPowerSources.h"

namespace pelliwig {
namespace {

// One reading: a level and whether the charger is in.
struct Reading {
    std::optional<int> percent;
    bool external = false;
};

struct Sequence {
    const char* name;
    std::vector<Reading> readings;  // the first one is taken at start-up
    std::string events;             // 'L' for onLow, 'C' for onCharger, in order
};

class BatterySequence : public testing::TestWithParam<Sequence> {};

TEST_P(BatterySequence, CallsBackOnEdgesOnly) {
    const auto& sequence = GetParam();
    ScriptedPowerSources power;
    power.setQuietly(
        {PowerSource{sequence.readings.front().percent, sequence.readings.front().external}});
    std::string events;
    BatteryMonitor monitor(power);
    monitor.onLow = [&] { events += 'L'; };
    monitor.onCharger = [&] { events += 'C'; };

    for (std::size_t i = 1; i < sequence.readings.size(); ++i) {
        const auto& r = sequence.readings[i];
        power.set({PowerSource{r.percent, r.external}});
    }

    EXPECT_EQ(events, sequence.events);
}

INSTANTIATE_TEST_SUITE_P(
    Readings, BatterySequence,
    testing::Values(
        Sequence{"DischargeWarnsOnceAtTwenty", {{30}, {25}, {21}, {20}, {19}, {5}}, "L"},
        Sequence{"ChargerRearmsTheWarning", {{30}, {18}, {18, true}, {18}}, "LCL"},
        Sequence{"UnplugIsSilentReplugAnnounces", {{80, true}, {80}, {80, true}}, "C"},
        Sequence{
            "StartingLowStaysSilentUntilNextDischarge", {{15}, {14}, {10}, {10, true}, {10}}, "CL"},
        Sequence{"NoCapacityNeverWarns", {{std::nullopt}, {std::nullopt}, {std::nullopt}}, ""},
        Sequence{"StartingOnChargerThenLow", {{15, true}, {15}}, "L"},
        Sequence{"ChargerWhileStillChargingIsNotRepeated", {{50}, {50, true}, {60, true}}, "C"},
        Sequence{"StartupChargerIsNotAnnounced", {{50, true}, {60, true}}, ""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(BatteryMonitor, UnsubscribesWhenDestroyed) {
    ScriptedPowerSources power;
    {
        BatteryMonitor monitor(power);
        EXPECT_TRUE(power.hasListeners());
    }
    EXPECT_FALSE(power.hasListeners());
    power.battery(10);  // must not reach the destroyed monitor
}

}  // namespace
}  // namespace pelliwig
