#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "linux/dbus/DBusWatchedFlag.h"
#include "support/PrivateDBus.h"
#include "support/QtDBusSupport.h"

namespace pelliwig {
namespace {

using testing::BusConnection;
using testing::PrivateDBus;
using testing::runEventsUntil;

const std::string kMock = "org.freedesktop.DBus.Mock.";
const std::string kNotifications = "org.freedesktop.Notifications";
const std::string kNotificationsPath = "/org/freedesktop/Notifications";
const std::string kXfconf = "org.xfce.Xfconf";
const std::string kXfconfPath = "/org/xfce/Xfconf";

// A private bus with python-dbusmock standing in for the desktop's service.
class DoNotDisturbBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (auto missing = PrivateDBus::missingMockTools()) GTEST_SKIP() << *missing;
        ASSERT_TRUE(bus_.start());
        connection_.emplace(bus_.address());
    }

    void startMock(const std::string& name, const std::string& path) {
        ASSERT_TRUE(bus_.startMock({name, path, name}, name));
    }
    void mock(const std::string& service, const std::string& path, const std::string& method,
              const std::vector<std::string>& arguments) {
        ASSERT_TRUE(bus_.call(service, path, kMock + method, arguments)) << method;
    }
    void setInhibited(bool on) {
        mock(kNotifications, kNotificationsPath, "UpdateProperties",
             {kNotifications, std::string("{'Inhibited': <") + (on ? "true" : "false") + ">}"});
    }
    void emitXfconf(const std::string& member, const std::string& signature,
                    const std::string& arguments) {
        mock(kXfconf, kXfconfPath, "EmitSignal", {kXfconf, member, signature, arguments});
    }
    static bool becomes(const DoNotDisturb& source, bool on) {
        return runEventsUntil([&] { return source.on() == on; });
    }

    PrivateDBus bus_;
    std::optional<BusConnection> connection_;
};

// KDE Plasma's notification server: the switch read when we start, then
// followed as the user flips it; a server that starts after us counts too.
TEST_F(DoNotDisturbBusTest, FollowsTheNotificationServersInhibitedProperty) {
    const auto early = notificationsInhibited(connection_->get());
    startMock(kNotifications, kNotificationsPath);
    mock(kNotifications, kNotificationsPath, "AddProperty",
         {kNotifications, "Inhibited", "<true>"});
    const auto late = notificationsInhibited(connection_->get());
    EXPECT_TRUE(becomes(*late, true)) << "read at start";

    setInhibited(false);
    EXPECT_TRUE(becomes(*late, false));
    setInhibited(true);
    EXPECT_TRUE(becomes(*late, true));
    EXPECT_TRUE(becomes(*early, true)) << "a server that came later";

    // Another property changing says nothing about the switch.
    mock(kNotifications, kNotificationsPath, "AddProperty", {kNotifications, "Other", "<true>"});
    mock(kNotifications, kNotificationsPath, "UpdateProperties",
         {kNotifications, "{'Other': <false>}"});
    connection_->settle();
    EXPECT_TRUE(late->on());
}

// Xfce: xfconfd's xfce4-notifyd channel, as GetProperty answers at start and
// as PropertyChanged and PropertyRemoved tell later.
TEST_F(DoNotDisturbBusTest, FollowsXfceNotifydsDoNotDisturb) {
    startMock(kXfconf, kXfconfPath);
    mock(kXfconf, kXfconfPath, "AddMethod",
         {kXfconf, "GetProperty", "ss", "v",
          "ret = dbus.Boolean(args == ['xfce4-notifyd', '/do-not-disturb'])"});
    const auto source = xfceDoNotDisturb(connection_->get());
    EXPECT_TRUE(becomes(*source, true)) << "read at start";

    emitXfconf("PropertyChanged", "ssv", "[<'xfwm4'>, <'/do-not-disturb'>, <false>]");
    connection_->settle();
    EXPECT_TRUE(source->on()) << "another channel's property";

    emitXfconf("PropertyChanged", "ssv", "[<'xfce4-notifyd'>, <'/do-not-disturb'>, <false>]");
    EXPECT_TRUE(becomes(*source, false));
    emitXfconf("PropertyChanged", "ssv", "[<'xfce4-notifyd'>, <'/do-not-disturb'>, <true>]");
    EXPECT_TRUE(becomes(*source, true));
    emitXfconf("PropertyRemoved", "ss", "[<'xfce4-notifyd'>, <'/do-not-disturb'>]");
    EXPECT_TRUE(becomes(*source, false));
}

// No service at all (another desktop, or none): off, and no waiting.
TEST(DoNotDisturbNoBusTest, OffWithoutABus) {
    BusConnection nowhere(testing::kNoBus);
    EXPECT_FALSE(notificationsInhibited(nowhere.get())->on());
    EXPECT_FALSE(xfceDoNotDisturb(nowhere.get())->on());
}

}  // namespace
}  // namespace pelliwig
