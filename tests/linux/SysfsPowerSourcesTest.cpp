#include "linux/hardware/SysfsPowerSources.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "fakes/VirtualScheduler.h"

#include "support/ScratchFolder.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;

using Attributes = std::map<std::string, std::string>;  // file name → contents

// A throwaway folder laid out like /sys/class/power_supply.
class SupplyFolder {
public:
    const fs::path& root() const { return folder_.path(); }
    // The kernel ends each value with a newline.
    void supply(const std::string& name, const Attributes& attributes) {
        fs::create_directories(root() / name);
        for (const auto& [file, text] : attributes)
            std::ofstream(root() / name / file) << text << '\n';
    }

private:
    testing::ScratchFolder folder_{"power"};
};

Attributes battery(const std::string& capacity, const std::string& status) {
    return {{"type", "Battery"}, {"capacity", capacity}, {"status", status}, {"present", "1"}};
}
Attributes mains(bool online) {
    return {{"type", "Mains"}, {"online", online ? "1" : "0"}};
}

struct ReadingCase {
    std::string name;
    std::map<std::string, Attributes> supplies;
    std::vector<PowerSource> expected;
};

void PrintTo(const ReadingCase& reading, std::ostream* out) {
    *out << reading.name;
}

class SysfsReading : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(SysfsReading, ReadsBatteriesAndExternalPower) {
    SupplyFolder folder;
    for (const auto& [name, attributes] : GetParam().supplies) folder.supply(name, attributes);
    VirtualScheduler scheduler;
    EXPECT_EQ(SysfsPowerSources(scheduler, folder.root()).read(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SysfsReading,
    ::testing::Values(
        ReadingCase{"OnBattery",
                    {{"AC", mains(false)}, {"BAT0", battery("57", "Discharging")}},
                    {{57, false}}},
        ReadingCase{
            "OnMains", {{"AC", mains(true)}, {"BAT0", battery("57", "Charging")}}, {{57, true}}},
        // The charger's word beats the battery's status.
        ReadingCase{"MainsOfflineWins",
                    {{"AC", mains(false)}, {"BAT0", battery("99", "Full")}},
                    {{99, false}}},
        ReadingCase{"UsbChargerOnline",
                    {{"AC", mains(false)},
                     {"ucsi-source-psy-USBC000:001", {{"type", "USB"}, {"online", "1"}}},
                     {"BAT0", battery("30", "Charging")}},
                    {{30, true}}},
        ReadingCase{"NoChargerListedCharging", {{"BAT0", battery("40", "Charging")}}, {{40, true}}},
        ReadingCase{
            "NoChargerListedNotCharging", {{"BAT0", battery("80", "Not charging")}}, {{80, true}}},
        ReadingCase{
            "NoChargerListedDischarging", {{"BAT0", battery("40", "Discharging")}}, {{40, false}}},
        ReadingCase{
            "TwoBatteriesInNameOrder",
            {{"BAT1", battery("20", "Discharging")}, {"BAT0", battery("70", "Discharging")}},
            {{70, false}, {20, false}}},
        ReadingCase{"UnreadableCapacity",
                    {{"BAT0", {{"type", "Battery"}, {"capacity", "n/a"}, {"status", "Unknown"}}}},
                    {{std::nullopt, false}}},
        ReadingCase{
            "PeripheralAndEmptyBayLeftOut",
            {{"AC", mains(true)},
             {"hidpp_battery_0", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "5"}}},
             {"BAT1", {{"type", "Battery"}, {"present", "0"}}},
             {"BAT0", battery("64", "Charging")}},
            {{64, true}}},
        ReadingCase{"NoTypeNoSource", {{"BAT0", {{"capacity", "50"}}}}, {}},
        ReadingCase{"MainsOnly", {{"AC", mains(true)}}, {}}),
    [](const auto& row) { return row.param.name; });

TEST(SysfsPowerSourcesTest, MissingFolderGivesNoReadingsAndNoNews) {
    VirtualScheduler scheduler;
    SysfsPowerSources power(scheduler, "/nonexistent/pelliwig-power");
    int notified = 0;
    const auto subscription = power.onChange([&] { ++notified; });
    EXPECT_TRUE(power.read().empty());
    scheduler.advance(10 * SysfsPowerSources::kPollSeconds);
    EXPECT_EQ(notified, 0);
}

TEST(SysfsPowerSourcesTest, AnnouncesAChangeAtTheNextPollOnly) {
    SupplyFolder folder;
    folder.supply("AC", mains(false));
    folder.supply("BAT0", battery("50", "Discharging"));
    VirtualScheduler scheduler;
    SysfsPowerSources power(scheduler, folder.root());
    std::vector<std::vector<PowerSource>> seen;
    const auto subscription = power.onChange([&] { seen.push_back(power.read()); });

    scheduler.advance(SysfsPowerSources::kPollSeconds);
    EXPECT_TRUE(seen.empty()) << "nothing changed";

    folder.supply("BAT0", battery("49", "Discharging"));
    scheduler.advance(SysfsPowerSources::kPollSeconds - 1);
    EXPECT_TRUE(seen.empty()) << "not yet looked";
    scheduler.advance(1);
    EXPECT_EQ(seen, (std::vector<std::vector<PowerSource>>{{{49, false}}}));

    folder.supply("AC", mains(true));
    scheduler.advance(2 * SysfsPowerSources::kPollSeconds);
    EXPECT_EQ(seen.size(), 2u) << "one change, one notification";
    EXPECT_EQ(seen.back(), (std::vector<PowerSource>{{49, true}}));
}

TEST(SysfsPowerSourcesTest, StopsPollingWhenGone) {
    VirtualScheduler scheduler;
    {
        SysfsPowerSources power(scheduler, "/nonexistent/pelliwig-power");
        EXPECT_EQ(scheduler.pending(), 1u);
    }
    EXPECT_EQ(scheduler.pending(), 0u);
}

}  // namespace
}  // namespace pelliwig
