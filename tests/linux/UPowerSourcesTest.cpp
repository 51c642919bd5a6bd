#include "linux/dbus/UPowerSources.h"

#include <gtest/gtest.h>

#include <QDBusMessage>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "linux/dbus/DBusSignalRelay.h"
#include "support/PrivateDBus.h"
#include "support/QtDBusSupport.h"

namespace pelliwig {
namespace {

using testing::BusConnection;
using testing::PrivateDBus;
using testing::runEventsUntil;

const std::string kService = "org.freedesktop.UPower";
const std::string kPath = "/org/freedesktop/UPower";
const std::string kDevices = kPath + "/devices/";
const std::string kMock = "org.freedesktop.DBus.Mock.";

// A private bus with python-dbusmock's UPower daemon on it.
class UPowerTest : public ::testing::Test {
public:
    void SetUp() override {
        if (auto missing = PrivateDBus::missingMockTools()) GTEST_SKIP() << *missing;
        ASSERT_TRUE(bus_.start());
        connection_.emplace(bus_.address());
        ASSERT_TRUE(connection_->get().isConnected());
    }

    // Puts the mocked daemon on the bus, on battery or not.
    void startDaemon(bool onBattery) {
        const std::string parameters = onBattery ? R"({"OnBattery": true})" : "{}";
        ASSERT_TRUE(bus_.startMock({"--template", "upower", "-p", parameters}, kService));
    }
    void mock(const std::string& method, const std::vector<std::string>& arguments) {
        ASSERT_TRUE(bus_.call(kService, kPath, kMock + method, arguments)) << method;
    }
    void setDaemon(const std::string& property, const std::string& value) {
        ASSERT_TRUE(bus_.call(kService, kPath, "org.freedesktop.DBus.Properties.Set",
                              {kService, property, value}));
    }
    void addDischarging(const std::string& name, double percent) {
        mock("AddDischargingBattery", {name, "Battery", std::to_string(percent), "3600"});
    }
    void addAc(bool online) {
        mock("AddAC", {"ac", "Mains"});
        if (!online) setDevice("ac", "{'Online': <false>}");
    }
    // Changes device properties (GVariant text of an a{sv}), announcing them.
    void setDevice(const std::string& name, const std::string& properties) {
        mock("SetDeviceProperties", {kDevices + name, properties});
    }
    void removeDevice(const std::string& name) { mock("RemoveDevice", {kDevices + name}); }
    void setOnBattery(bool onBattery) { setDaemon("OnBattery", onBattery ? "<true>" : "<false>"); }

protected:
    PrivateDBus bus_;
    std::optional<BusConnection> connection_;
};

TEST_F(UPowerTest, ReadsABatteryOnBattery) {
    startDaemon(true);
    addDischarging("BAT0", 42);
    UPowerSources power(connection_->get());
    EXPECT_TRUE(power.available());
    EXPECT_EQ(power.read(), (std::vector<PowerSource>{{42, false}}));
}

struct ExternalCase {
    std::string name;
    bool onBattery;
    std::optional<bool> acOnline;  // no line-power device when absent
    bool external;
};

void PrintTo(const ExternalCase& c, std::ostream* out) {
    *out << c.name;
}

class ExternalPower : public UPowerTest, public ::testing::WithParamInterface<ExternalCase> {};

TEST_P(ExternalPower, FollowsTheDaemonAndTheLinePower) {
    startDaemon(GetParam().onBattery);
    addDischarging("BAT0", 80);
    if (GetParam().acOnline) addAc(*GetParam().acOnline);
    UPowerSources power(connection_->get());
    EXPECT_EQ(power.read(), (std::vector<PowerSource>{{80, GetParam().external}}));
}

INSTANTIATE_TEST_SUITE_P(Cases, ExternalPower,
                         ::testing::Values(ExternalCase{"OnBattery", true, std::nullopt, false},
                                           ExternalCase{"NotOnBattery", false, std::nullopt, true},
                                           ExternalCase{"OnBatteryAcOffline", true, false, false},
                                           ExternalCase{"NotOnBatteryAcOffline", false, false,
                                                        true},
                                           ExternalCase{"AcOnlineDespiteDaemon", true, true, true}),
                         [](const auto& row) { return row.param.name; });

TEST_F(UPowerTest, LeavesOutPeripheralAndEmptyBatteriesAndKeepsPathOrder) {
    startDaemon(true);
    addDischarging("BAT1", 41.6);
    addDischarging("BAT0", 90);
    addDischarging("mouse", 12);
    setDevice("mouse", "{'PowerSupply': <false>}");
    addDischarging("BAT2", 5);
    setDevice("BAT2", "{'IsPresent': <false>}");
    UPowerSources power(connection_->get());
    EXPECT_EQ(power.read(), (std::vector<PowerSource>{{90, false}, {42, false}}));
}

TEST_F(UPowerTest, MachineWithoutBatteriesHasNoSources) {
    startDaemon(false);
    addAc(true);
    UPowerSources power(connection_->get());
    EXPECT_TRUE(power.available());
    EXPECT_TRUE(power.read().empty());
}

struct ChangeCase {
    std::string name;
    std::function<void(UPowerTest&)> change;
    std::vector<PowerSource> after;
};

void PrintTo(const ChangeCase& c, std::ostream* out) {
    *out << c.name;
}

class ChangeSignals : public UPowerTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(ChangeSignals, ReachTheNotification) {
    startDaemon(true);
    addDischarging("BAT0", 50);
    UPowerSources power(connection_->get());
    std::vector<std::vector<PowerSource>> seen;
    const auto subscription = power.onChange([&] { seen.push_back(power.read()); });
    GetParam().change(*this);
    ASSERT_TRUE(runEventsUntil([&] { return !seen.empty(); }));
    EXPECT_EQ(seen.front(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangeSignals,
    ::testing::Values(
        ChangeCase{"Percentage",
                   [](UPowerTest& test) { test.setDevice("BAT0", "{'Percentage': <15.0>}"); },
                   {{15, false}}},
        ChangeCase{
            "DaemonOnBattery", [](UPowerTest& test) { test.setOnBattery(false); }, {{50, true}}},
        ChangeCase{"DeviceAdded",
                   [](UPowerTest& test) { test.addDischarging("BAT1", 70); },
                   {{50, false}, {70, false}}},
        ChangeCase{"DeviceRemoved", [](UPowerTest& test) { test.removeDevice("BAT0"); }, {}}),
    [](const auto& row) { return row.param.name; });

TEST_F(UPowerTest, EstimatesAloneDoNotNotify) {
    startDaemon(true);
    addDischarging("BAT0", 50);
    UPowerSources power(connection_->get());
    int notified = 0;
    const auto subscription = power.onChange([&] { ++notified; });
    int announced = 0;  // property changes reaching the connection at all
    DBusSignalRelay tally([&](const QDBusMessage&) { ++announced; });
    tally.listen(connection_->get(), {}, {}, "org.freedesktop.DBus.Properties",
                 "PropertiesChanged");

    setDevice("BAT0", "{'TimeToEmpty': <int64 1800>, 'Energy': <40.0>}");
    setDevice("BAT0", "{'Percentage': <40.0>}");
    ASSERT_TRUE(runEventsUntil([&] { return announced >= 3 && notified >= 1; }));
    connection_->settle();
    EXPECT_EQ(notified, 1);
}

TEST_F(UPowerTest, DaemonStartingLaterNotifies) {
    UPowerSources power(connection_->get());
    EXPECT_FALSE(power.available());
    EXPECT_TRUE(power.read().empty());
    bool notified = false;
    const auto subscription = power.onChange([&] { notified = true; });
    startDaemon(true);
    ASSERT_TRUE(runEventsUntil([&] { return notified; }));
    EXPECT_TRUE(power.available());
}

TEST(UPowerWithoutBusTest, ReadsNothingAndNeverNotifies) {
    BusConnection nowhere(testing::kNoBus);
    ASSERT_FALSE(nowhere.get().isConnected());
    UPowerSources power(nowhere.get());
    const auto subscription = power.onChange([] { FAIL() << "no bus, no news"; });
    EXPECT_FALSE(power.available());
    EXPECT_TRUE(power.read().empty());
}

}  // namespace
}  // namespace pelliwig
