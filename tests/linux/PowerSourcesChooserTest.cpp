#include "linux/PowerSourcesChooser.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "fakes/VirtualScheduler.h"
#include "support/PrivateDBus.h"
#include "support/QtDBusSupport.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;

using testing::BusConnection;
using testing::PrivateDBus;

// The daemon's battery and the kernel's differ, so a reading tells which was
// chosen.
const std::vector<PowerSource> kFromUPower{{42, false}};
const std::vector<PowerSource> kFromSysfs{{77, true}};

class PowerSourcesChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "pelliwig-power-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        sysfs_ = pattern;
        fs::create_directories(sysfs_ / "BAT0");
        std::ofstream(sysfs_ / "BAT0" / "type") << "Battery\n";
        std::ofstream(sysfs_ / "BAT0" / "capacity") << "77\n";
        std::ofstream(sysfs_ / "BAT0" / "status") << "Charging\n";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(sysfs_, ignored);
    }

    // A private bus, with the mocked UPower daemon on it when `withUPower`.
    void startBus(bool withUPower) {
        if (auto missing = PrivateDBus::missingMockTools()) GTEST_SKIP() << *missing;
        ASSERT_TRUE(bus_.start());
        if (withUPower) {
            ASSERT_TRUE(bus_.startMock({"--template", "upower", "-p", R"({"OnBattery": true})"},
                                       "org.freedesktop.UPower"));
            ASSERT_TRUE(bus_.call("org.freedesktop.UPower", "/org/freedesktop/UPower",
                                  "org.freedesktop.DBus.Mock.AddDischargingBattery",
                                  {"BAT0", "Battery", "42.0", "3600"}));
        }
    }

    std::vector<PowerSource> chosenReading(const std::string& address) {
        BusConnection connection(address);
        return PowerSourcesChooser::choose(connection.get(), scheduler_, sysfs_)->read();
    }

    fs::path sysfs_;
    PrivateDBus bus_;
    VirtualScheduler scheduler_;
};

TEST_F(PowerSourcesChooserTest, UPowerWhenItAnswers) {
    ASSERT_NO_FATAL_FAILURE(startBus(true));
    if (IsSkipped()) return;
    EXPECT_EQ(chosenReading(bus_.address()), kFromUPower);
}

TEST_F(PowerSourcesChooserTest, KernelFilesWhenUPowerIsAbsent) {
    ASSERT_NO_FATAL_FAILURE(startBus(false));
    if (IsSkipped()) return;
    EXPECT_EQ(chosenReading(bus_.address()), kFromSysfs);
}

TEST_F(PowerSourcesChooserTest, KernelFilesWithoutASystemBus) {
    EXPECT_EQ(chosenReading(testing::kNoBus), kFromSysfs);
}

}  // namespace
}  // namespace pelliwig
