#include "linux/dbus/DBusNotifications.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/PrivateDBus.h"
#include "support/QtDBusSupport.h"
#include "support/ScratchFolder.h"

namespace pelliwig {
namespace {

using namespace std::chrono_literals;
using testing::BusConnection;
using testing::PrivateDBus;
using testing::ScratchFolder;
using testing::waitUntil;

const std::string kService = "org.freedesktop.Notifications";
const std::string kPath = "/org/freedesktop/Notifications";

// The notification daemon of python-dbusmock on a private bus, which logs
// every call made of it, and the adapter on a connection of its own.
class DBusNotificationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (auto missing = PrivateDBus::missingMockTools()) GTEST_SKIP() << *missing;
        ASSERT_TRUE(bus.start());
        ASSERT_TRUE(
            bus.startMock({"--template", "notification_daemon", "-l", log.string()}, kService));
        connection.emplace(bus.address());
        notifications.emplace(connection->get(), "pelliwig");
        notifications->onAnswer = [this](std::size_t index) { answered.push_back(index); };
        notifications->onDismiss = [this] { ++dismissed; };
    }

    // The calls logged so far, one a line, without their time stamps (and
    // without the signals the mock was told to send).
    std::vector<std::string> calls() const {
        std::ifstream in(log);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            const auto space = line.find(' ');
            if (space == std::string::npos || line.compare(space + 1, 5, "emit ") == 0) continue;
            lines.push_back(line.substr(space + 1));
        }
        return lines;
    }
    // Lets the adapter read the server's answers until `count` calls are
    // logged and the last Notify's answer is in.
    bool waitForCalls(std::size_t count) {
        return waitUntil(
            [&] {
                QCoreApplication::processEvents();
                return calls().size() >= count && !notifications->sending();
            },
            5s);
    }
    void serverSays(const std::string& member, const std::string& signature,
                    const std::string& arguments) {
        ASSERT_TRUE(bus.call(kService, kPath, "org.freedesktop.DBus.Mock.EmitSignal",
                             {kService, member, signature, arguments}));
        connection->settle();
    }

    PrivateDBus bus;
    ScratchFolder folder;
    const std::filesystem::path log = folder / "calls.log";
    std::optional<BusConnection> connection;
    std::optional<DBusNotifications> notifications;
    std::vector<std::size_t> answered;
    int dismissed = 0;
};

TEST_F(DBusNotificationsTest, HersReplaceEachOtherAndGoWhenClosed) {
    notifications->show({"Zuzi", "Water & <you> 💧", {"Done ✅", "Later"}});
    ASSERT_TRUE(waitForCalls(1));
    notifications->show({"Zuzi", "Yay!", {}});
    notifications->close();  // before the server has answered the second
    ASSERT_TRUE(waitForCalls(3));
    const auto logged = calls();
    EXPECT_EQ(
        logged[0].rfind(R"(Notify "Pelliwig" 0 "pelliwig" "Zuzi" "Water &amp; &lt;you&gt; 💧" )"
                        R"(["answer-0", "Done ✅", "answer-1", "Later"])",
                        0),
        0u)
        << logged[0];
    EXPECT_EQ(logged[1].rfind(R"(Notify "Pelliwig" 1 "pelliwig" "Zuzi" "Yay!" [])", 0), 0u)
        << logged[1];
    EXPECT_EQ(logged[2], "CloseNotification 1");
}

// What the server says of hers, and of others', and what it means to her.
struct SignalCase {
    const char* name;
    const char* member;
    const char* signature;
    const char* arguments;
    std::vector<std::size_t> answered;
    int dismissed;
};

class DBusNotificationsSignalTest : public DBusNotificationsTest,
                                    public ::testing::WithParamInterface<SignalCase> {};

TEST_P(DBusNotificationsSignalTest, OnlyTheUsersDoingsWithHersReachHer) {
    const auto& c = GetParam();
    notifications->show({"Zuzi", "Water?", {"Done ✅", "Later"}});
    ASSERT_TRUE(waitForCalls(1));
    serverSays(c.member, c.signature, c.arguments);
    EXPECT_EQ(answered, c.answered);
    EXPECT_EQ(dismissed, c.dismissed);
}

INSTANTIATE_TEST_SUITE_P(
    Signals, DBusNotificationsSignalTest,
    ::testing::Values(
        SignalCase{"answer", "ActionInvoked", "us", "[<uint32 1>, <'answer-1'>]", {1}, 0},
        SignalCase{"othersAction", "ActionInvoked", "us", "[<uint32 7>, <'answer-0'>]", {}, 0},
        SignalCase{"defaultAction", "ActionInvoked", "us", "[<uint32 1>, <'default'>]", {}, 0},
        SignalCase{"dismissed", "NotificationClosed", "uu", "[<uint32 1>, <uint32 2>]", {}, 1},
        SignalCase{"expired", "NotificationClosed", "uu", "[<uint32 1>, <uint32 1>]", {}, 0},
        SignalCase{
            "othersDismissed", "NotificationClosed", "uu", "[<uint32 7>, <uint32 2>]", {}, 0}),
    [](const auto& row) { return std::string(row.param.name); });

// An answer takes hers away, as servers do; what she says next is new.
TEST_F(DBusNotificationsTest, WhatFollowsAnAnswerIsANewOne) {
    notifications->show({"Zuzi", "Water?", {"Done ✅"}});
    ASSERT_TRUE(waitForCalls(1));
    serverSays("ActionInvoked", "us", "[<uint32 1>, <'answer-0'>]");
    notifications->show({"Zuzi", "Yay!", {}});
    ASSERT_TRUE(waitForCalls(3));
    const auto logged = calls();
    EXPECT_EQ(logged[1], "CloseNotification 1");
    EXPECT_EQ(logged[2].rfind(R"(Notify "Pelliwig" 0 )", 0), 0u) << logged[2];
}

}  // namespace
}  // namespace pelliwig
