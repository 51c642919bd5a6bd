#include "linux/dbus/DBusSystemEvents.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusMessage>

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

const std::string kLogin = "org.freedesktop.login1";
const std::string kLoginPath = "/org/freedesktop/login1";
const std::string kManager = "org.freedesktop.login1.Manager";
const std::string kSessions = kLoginPath + "/session/";
const std::string kMock = "org.freedesktop.DBus.Mock.";

std::string boolArgs(bool value) {
    return value ? "[<true>]" : "[<false>]";
}

// One private bus standing in for both the system and the session bus, each
// with its own connection, as the program has them.
class SystemEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (auto missing = PrivateDBus::missingMockTools()) GTEST_SKIP() << *missing;
        ASSERT_TRUE(bus_.start());
        system_.emplace(bus_.address());
        session_.emplace(bus_.address());
    }
    void TearDown() override { events_.reset(); }

    void startLogind() { ASSERT_TRUE(bus_.startMock({"--template", "logind"}, kLogin)); }
    // Makes logind name `session` as the one this process belongs to.
    void answerSessionByPid(const std::string& session) {
        const std::string code = "ret = '" + kSessions + "' + ('" + session +
                                 "' if args[0] == " + std::to_string(getpid()) +
                                 " else 'someone-else')";
        call(kLogin, kLoginPath, "AddMethod", {kManager, "GetSessionByPID", "u", "o", code});
    }
    void addSession(const std::string& id) {
        call(kLogin, kLoginPath, "AddSession", {id, "seat0", "1000", "me", "true"});
    }
    void unlock(const std::string& id) {
        ASSERT_TRUE(bus_.call(kLogin, kSessions + id, "org.freedesktop.login1.Session.Unlock"));
    }
    void setLockedHint(const std::string& id, bool locked) {
        ASSERT_TRUE(bus_.call(kLogin, kSessions + id,
                              "org.freedesktop.login1.Session.SetLockedHint",
                              {locked ? "true" : "false"}));
    }
    void prepareForSleep(bool start) {
        call(kLogin, kLoginPath, "EmitSignal", {kManager, "PrepareForSleep", "b", boolArgs(start)});
    }
    void call(const std::string& service, const std::string& path, const std::string& method,
              const std::vector<std::string>& arguments) {
        ASSERT_TRUE(bus_.call(service, path, kMock + method, arguments)) << method;
    }

    void listen() {
        events_.emplace(system_->get(), session_->get());
        subscription_ = events_->onResumed([this] { ++resumed_; });
    }
    // Counts signals named `member` reaching `connection` (from any sender),
    // to know when the adapter has seen them all.
    void tally(BusConnection& connection, const QString& interface, const QString& member) {
        tally_ = std::make_unique<DBusSignalRelay>([this](const QDBusMessage&) { ++announced_; });
        tally_->listen(connection.get(), {}, {}, interface, member);
    }
    // Waits until `announcements` signals were announced and they caused at least
    // one resume, then lets the rest of their deliveries run.
    void settleAfter(BusConnection& connection, int announcements) {
        ASSERT_TRUE(runEventsUntil([&] { return announced_ >= announcements && resumed_ >= 1; }));
        connection.settle();
    }

    PrivateDBus bus_;
    std::optional<BusConnection> system_;
    std::optional<BusConnection> session_;
    std::optional<DBusSystemEvents> events_;
    Connection subscription_;
    int resumed_ = 0;
    std::unique_ptr<DBusSignalRelay> tally_;
    int announced_ = 0;
};

TEST_F(SystemEventsTest, WakingResumesOnceAndFallingAsleepDoesNot) {
    startLogind();
    listen();
    tally(*system_, QString::fromStdString(kManager), "PrepareForSleep");
    prepareForSleep(true);
    prepareForSleep(false);
    settleAfter(*system_, 2);
    EXPECT_EQ(resumed_, 1);
}

TEST_F(SystemEventsTest, UnlockingOurSessionResumesAndOthersDoNot) {
    startLogind();
    addSession("c2");
    addSession("c3");
    answerSessionByPid("c2");
    listen();
    EXPECT_EQ(events_->sessionPath().toStdString(), kSessions + "c2");
    tally(*system_, "org.freedesktop.login1.Session", "Unlock");
    unlock("c3");
    unlock("c2");
    settleAfter(*system_, 2);
    EXPECT_EQ(resumed_, 1);
}

TEST_F(SystemEventsTest, OurSessionsLockedHintTurningFalseResumes) {
    startLogind();
    addSession("c2");
    addSession("c3");
    answerSessionByPid("c2");
    listen();
    tally(*system_, "org.freedesktop.DBus.Properties", "PropertiesChanged");
    setLockedHint("c2", true);
    setLockedHint("c3", true);
    setLockedHint("c3", false);
    setLockedHint("c2", false);
    settleAfter(*system_, 4);
    EXPECT_EQ(resumed_, 1);
}

// GNOME tells both logind and the session bus; one unlock is one resume,
// whichever word arrives first.
TEST_F(SystemEventsTest, AnUnlockToldTwiceCountsOnce) {
    startLogind();
    addSession("c2");
    answerSessionByPid("c2");
    ASSERT_TRUE(bus_.startMock({"--template", "gnome_screensaver"}, "org.gnome.ScreenSaver"));
    listen();
    // Each word is handled before the next is said.
    const auto saver = [&](bool active) {
        call("org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "EmitSignal",
             {"org.gnome.ScreenSaver", "ActiveChanged", "b", boolArgs(active)});
        session_->settle();
    };
    const auto hint = [&](bool locked) {
        setLockedHint("c2", locked);
        system_->settle();
    };
    saver(true);
    hint(true);
    saver(false);
    hint(false);
    EXPECT_EQ(resumed_, 1);

    hint(true);
    saver(true);
    hint(false);
    saver(false);
    EXPECT_EQ(resumed_, 2) << "the next unlock counts again";
}

TEST_F(SystemEventsTest, OutsideASessionTheUsersOwnCounts) {
    startLogind();  // knows no session by our pid
    addSession("auto");
    listen();
    EXPECT_EQ(events_->sessionPath().toStdString(), kSessions + "auto");
    unlock("auto");
    EXPECT_TRUE(runEventsUntil([&] { return resumed_ == 1; }));
}

struct SaverCase {
    std::string name;
    std::vector<std::string> mockArguments;
    std::string service;
    std::string path;
};

void PrintTo(const SaverCase& saver, std::ostream* out) {
    *out << saver.name;
}

class ScreenSaver : public SystemEventsTest, public ::testing::WithParamInterface<SaverCase> {
protected:
    void startSaver() { ASSERT_TRUE(bus_.startMock(GetParam().mockArguments, GetParam().service)); }
    void activeChanged(bool active, const std::string& path) {
        call(GetParam().service, path, "EmitSignal",
             {GetParam().service, "ActiveChanged", "b", boolArgs(active)});
    }
    void activeChanged(bool active) { activeChanged(active, GetParam().path); }
};

TEST_P(ScreenSaver, UnlockResumesOnceLockingDoesNot) {
    startSaver();
    listen();
    tally(*session_, QString::fromStdString(GetParam().service), "ActiveChanged");
    activeChanged(true);
    activeChanged(false);
    settleAfter(*session_, 2);
    EXPECT_EQ(resumed_, 1);
}

TEST_P(ScreenSaver, SaverStartedAfterUsIsHeard) {
    listen();
    startSaver();
    activeChanged(false);
    EXPECT_TRUE(runEventsUntil([&] { return resumed_ == 1; }));
}

TEST_P(ScreenSaver, RepeatedAnnouncementsCountOnce) {
    startSaver();
    const std::string second = "/ScreenSaver";  // KDE announces on two objects
    call(GetParam().service, GetParam().path, "AddObject",
         {second, GetParam().service, "@a{sv} {}", "@a(ssss) []"});
    listen();
    tally(*session_, QString::fromStdString(GetParam().service), "ActiveChanged");
    for (bool active : {true, false}) {
        activeChanged(active);
        activeChanged(active, second);
    }
    settleAfter(*session_, 4);
    EXPECT_EQ(resumed_, 1);

    activeChanged(true);
    activeChanged(false);
    EXPECT_TRUE(runEventsUntil([&] { return resumed_ == 2; })) << "the next unlock counts again";
}

INSTANTIATE_TEST_SUITE_P(
    Names, ScreenSaver,
    ::testing::Values(SaverCase{"Freedesktop",
                                {"--session", "org.freedesktop.ScreenSaver",
                                 "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver"},
                                "org.freedesktop.ScreenSaver",
                                "/org/freedesktop/ScreenSaver"},
                      SaverCase{"Gnome",
                                {"--template", "gnome_screensaver"},
                                "org.gnome.ScreenSaver",
                                "/org/gnome/ScreenSaver"},
                      SaverCase{"Cinnamon",
                                {"--session", "org.cinnamon.ScreenSaver",
                                 "/org/cinnamon/ScreenSaver", "org.cinnamon.ScreenSaver"},
                                "org.cinnamon.ScreenSaver",
                                "/org/cinnamon/ScreenSaver"},
                      SaverCase{"Mate",
                                {"--session", "org.mate.ScreenSaver", "/org/mate/ScreenSaver",
                                 "org.mate.ScreenSaver"},
                                "org.mate.ScreenSaver",
                                "/org/mate/ScreenSaver"},
                      SaverCase{"Xfce",
                                {"--session", "org.xfce.ScreenSaver", "/org/xfce/ScreenSaver",
                                 "org.xfce.ScreenSaver"},
                                "org.xfce.ScreenSaver",
                                "/org/xfce/ScreenSaver"}),
    [](const auto& row) { return row.param.name; });

TEST_F(SystemEventsTest, WithoutLogindNoSessionIsWatched) {
    listen();
    EXPECT_TRUE(events_->sessionPath().isEmpty());
}

TEST(SystemEventsWithoutBusTest, ListensToNothingQuietly) {
    BusConnection system(testing::kNoBus);
    BusConnection session(testing::kNoBus);
    ASSERT_FALSE(system.get().isConnected());
    DBusSystemEvents events(system.get(), session.get());
    const auto subscription = events.onResumed([] { FAIL() << "no bus, no news"; });
    EXPECT_TRUE(events.sessionPath().isEmpty());
}

}  // namespace
}  // namespace pelliwig
