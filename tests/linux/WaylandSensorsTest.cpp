#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/VirtualScheduler.h"
#include "linux/SessionSensors.h"
#include "linux/dbus/KWinScriptFrontApp.h"
#include "linux/wayland/WaylandConnection.h"
#include "linux/wayland/WaylandFrontApp.h"
#include "linux/wayland/WaylandIdleTime.h"
#include "linux/xdg/DesktopEntryIndex.h"
#include "support/QtCoreApplication.h"
#include "support/ScopedEnv.h"
#include "support/WaylandCompositor.h"
#include "support/WaylandInput.h"

namespace pelliwig {
namespace {

using testing::WaylandCompositor;
using testing::WaylandInput;
using namespace std::chrono_literals;

const auto* const kApp = ::testing::AddGlobalTestEnvironment(new testing::QtCoreApplication);

// The wall clock: the notifiers' events come in real time.
class WallClock final : public Scheduler {
public:
    Instant now() const override {
        timespec t{};
        ::clock_gettime(CLOCK_REALTIME, &t);
        return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
    }
    TaskHandle after(double, std::function<void()>) override { return {}; }
    TaskHandle every(double, std::function<void()>) override { return {}; }
};

// Waits for `condition` while the Qt loop delivers the compositor's events.
template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds timeout = 10s) {
    return testing::waitUntil(
        [&] {
            QCoreApplication::processEvents();
            return condition();
        },
        timeout, 20ms);
}

// A folder with one desktop entry: file id → Name.
class EntryFolder {
public:
    EntryFolder(const std::string& id, const std::string& name) {
        std::string pattern = std::filesystem::temp_directory_path() / "pelliwig-entries-XXXXXX";
        folder_ = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(folder_ / "applications");
        std::ofstream(folder_ / "applications" / (id + ".desktop"))
            << "[Desktop Entry]\nType=Application\nName=" << name << "\nExec=true\n";
    }
    ~EntryFolder() { std::filesystem::remove_all(folder_); }
    const std::filesystem::path& dataHome() const { return folder_; }
    std::unique_ptr<DesktopEntryIndex> index() const {
        return std::make_unique<DesktopEntryIndex>(
            std::vector<std::filesystem::path>{folder_ / "applications"});
    }

private:
    std::filesystem::path folder_;
};

struct IdleCase {
    WaylandCompositor::Kind compositor;
    WaylandIdleTime::Protocol protocol;
    const char* name;
};

void PrintTo(const IdleCase& c, std::ostream* out) {
    *out << c.name;
}

class WaylandIdleTimeTest : public ::testing::TestWithParam<IdleCase> {};

// The idle seconds grow while nothing happens and drop to 0 when the
// pointer moves, through the notifier a real compositor sends.
TEST_P(WaylandIdleTimeTest, GrowsWhileNothingHappensAndDropsAfterInput) {
    WaylandCompositor compositor(GetParam().compositor);
    if (!compositor.ok()) GTEST_SKIP() << compositor.name() << ": " << compositor.why();
    testing::ScopedEnv env;
    env.set("WAYLAND_DISPLAY", compositor.socketPath());
    auto connection = std::make_shared<WaylandConnection>();
    ASSERT_TRUE(connection->ok());
    WaylandInput input(compositor.socketPath());
    ASSERT_TRUE(input.ok()) << compositor.name() << " offers no way to move the pointer";

    WallClock clock;
    WaylandIdleTime idle(connection, GetParam().protocol, clock, 1.0);
    ASSERT_TRUE(idle.watching());
    ASSERT_TRUE(input.move());
    ASSERT_TRUE(eventually([&] { return idle.seconds() >= 1.0; }))
        << "the compositor never said the user is idle";
    const double first = idle.seconds();
    EXPECT_LT(first, 3.0) << "counted from long before the last input";
    EXPECT_TRUE(eventually([&] { return idle.seconds() >= first + 1.0; }));

    ASSERT_TRUE(input.move());
    EXPECT_TRUE(eventually([&] { return idle.seconds() == 0; }, 5s))
        << "input did not end the idle stretch";
    EXPECT_TRUE(eventually([&] { return idle.seconds() >= 1.0; }))
        << "no idle stretch after the second input";

    compositor.stop();
    EXPECT_TRUE(eventually([&] { return idle.seconds() == 0; }, 5s))
        << "a compositor that went away still reads as idle";
    EXPECT_FALSE(connection->ok());
}

INSTANTIATE_TEST_SUITE_P(Compositors, WaylandIdleTimeTest,
                         ::testing::Values(IdleCase{WaylandCompositor::Kind::sway,
                                                    WaylandIdleTime::Protocol::kdeIdle,
                                                    "sway_org_kde_kwin_idle"},
                                           IdleCase{WaylandCompositor::Kind::kwin,
                                                    WaylandIdleTime::Protocol::extIdleNotify,
                                                    "KWin_ext_idle_notifier_v1"}),
                         [](const auto& row) { return std::string(row.param.name); });

// The session's own choice on sway: the window list names the focused
// application as `swaymsg focus` moves between two native windows.
TEST(WaylandSessionSensors, FocusedAppFollowsSwayFocus) {
    WaylandCompositor sway(WaylandCompositor::Kind::sway);
    if (!sway.ok()) GTEST_SKIP() << "sway: " << sway.why();
    if (testing::findProgram("foot").empty()) GTEST_SKIP() << "foot is not installed";
    EntryFolder entries("pelliwig-left", "Left Pad");
    testing::ScopedEnv env;
    env.set("WAYLAND_DISPLAY", sway.socketPath());
    env.set("XDG_DATA_HOME", entries.dataHome());
    env.set("XDG_DATA_DIRS", entries.dataHome() / "none");

    ASSERT_TRUE(sway.startClient({"foot", "--app-id=pelliwig-left", "sleep", "600"}));
    ASSERT_TRUE(sway.startClient({"foot", "--app-id=pelliwig-right", "sleep", "600"}));
    // Both windows must be mapped before the right one is focused: a window
    // mapped later takes the focus itself.
    for (const char* focus : {"[app_id=pelliwig-left] focus", "[app_id=pelliwig-right] focus"}) {
        ASSERT_TRUE(testing::waitUntil([&] { return sway.swaymsg({focus}); }, 10s, 50ms))
            << "foot windows did not appear";
    }

    VirtualScheduler scheduler;
    std::ostringstream log;
    SessionSensors sensors(SessionKind::Wayland, scheduler,
                           QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent"),
                                                         QStringLiteral("no-bus")),
                           log);
    EXPECT_TRUE(sensors.seesFrontApp());
    EXPECT_EQ(log.str().find("focused"), std::string::npos) << log.str();
    EXPECT_TRUE(eventually([&] { return sensors.frontApp().name() == "pelliwig-right"; }))
        << "an app_id without a desktop entry is its own name";

    ASSERT_TRUE(sway.swaymsg({"[app_id=pelliwig-left] focus"}));
    EXPECT_TRUE(eventually([&] { return sensors.frontApp().name() == "Left Pad"; }))
        << "the desktop entry names the app";
    ASSERT_TRUE(sway.swaymsg({"[app_id=pelliwig-right] focus"}));
    EXPECT_TRUE(eventually([&] { return sensors.frontApp().name() == "pelliwig-right"; }));

    // The same window list tells the session's full-screen source.
    EXPECT_FALSE(sensors.fullScreen().focusedWindowIsFullScreen());
    ASSERT_TRUE(sway.swaymsg({"[app_id=pelliwig-right] fullscreen enable"}));
    EXPECT_TRUE(eventually([&] { return sensors.fullScreen().focusedWindowIsFullScreen(); }));
    ASSERT_TRUE(sway.swaymsg({"[app_id=pelliwig-right] fullscreen disable"}));
    EXPECT_TRUE(eventually([&] { return !sensors.fullScreen().focusedWindowIsFullScreen(); }));

    sway.stop();
    EXPECT_TRUE(eventually([&] { return sensors.frontApp().name() == std::nullopt; }, 5s))
        << "a compositor that went away still names an app";
}

// The activated window's full-screen state comes with the window list.
TEST(WaylandFrontAppTest, TellsWhenTheFocusedWindowIsFullScreen) {
    WaylandCompositor sway(WaylandCompositor::Kind::sway);
    if (!sway.ok()) GTEST_SKIP() << "sway: " << sway.why();
    if (testing::findProgram("foot").empty()) GTEST_SKIP() << "foot is not installed";
    testing::ScopedEnv env;
    env.set("WAYLAND_DISPLAY", sway.socketPath());
    ASSERT_TRUE(sway.startClient({"foot", "--app-id=pelliwig-film", "sleep", "600"}));
    auto connection = std::make_shared<WaylandConnection>();
    WaylandFrontApp windows(connection, EntryFolder("none", "None").index());
    ASSERT_TRUE(windows.watching());
    ASSERT_TRUE(eventually([&] { return windows.name() == "pelliwig-film"; }));
    EXPECT_FALSE(windows.activatedFullscreen());
    ASSERT_TRUE(sway.swaymsg({"[app_id=pelliwig-film] fullscreen enable"}));
    EXPECT_TRUE(eventually([&] { return windows.activatedFullscreen(); }));
    ASSERT_TRUE(sway.swaymsg({"[app_id=pelliwig-film] fullscreen disable"}));
    EXPECT_TRUE(eventually([&] { return !windows.activatedFullscreen(); }));
}

bool kwinScriptLoaded(const QDBusConnection& bus) {
    auto call = QDBusMessage::createMethodCall("org.kde.KWin", "/Scripting",
                                               "org.kde.kwin.Scripting", "isScriptLoaded");
    call << QString::fromLatin1(KWinScriptFrontApp::kPluginName);
    const QDBusReply<bool> loaded = bus.call(call);
    return loaded.isValid() && loaded.value();
}

// On KWin a script reports each window activation, and goes when we do.
TEST(KWinScriptFrontAppTest, FollowsWindowActivationAndRemovesItsScript) {
    WaylandCompositor kwin(WaylandCompositor::Kind::kwin);
    if (!kwin.ok()) GTEST_SKIP() << "KWin: " << kwin.why();
    for (const char* client : {"weston-flower", "weston-terminal"}) {
        if (testing::findProgram(client).empty()) GTEST_SKIP() << client << " is not installed";
    }
    const QDBusConnection bus = QDBusConnection::connectToBus(
        QString::fromStdString(kwin.busAddress()), QStringLiteral("kwin-test-bus"));
    ASSERT_TRUE(bus.isConnected());
    EntryFolder entries("org.freedesktop.weston.flower", "Flower");
    {
        KWinScriptFrontApp front(bus, entries.index());
        ASSERT_TRUE(front.watching());
        EXPECT_TRUE(kwinScriptLoaded(bus));
        EXPECT_EQ(front.name(), std::nullopt) << "no window yet";

        ASSERT_TRUE(kwin.startClient({"weston-flower"}));
        EXPECT_TRUE(eventually([&] { return front.name() == "Flower"; }))
            << "named " << front.name().value_or("nothing");
        ASSERT_TRUE(kwin.startClient({"weston-terminal"}));
        EXPECT_TRUE(eventually([&] {
            const auto name = front.name();
            return name && name->find("terminal") != std::string::npos;
        })) << "named "
            << front.name().value_or("nothing");
    }
    EXPECT_FALSE(kwinScriptLoaded(bus)) << "the script outlived its object";
}

// On KWin the same script tells whether the active window is full-screen:
// a full-screen terminal is, a flower window activated over it is not.
TEST(KWinSessionSensors, FullScreenFollowsTheActiveWindow) {
    WaylandCompositor kwin(WaylandCompositor::Kind::kwin);
    if (!kwin.ok()) GTEST_SKIP() << "KWin: " << kwin.why();
    for (const char* client : {"weston-flower", "weston-terminal"}) {
        if (testing::findProgram(client).empty()) GTEST_SKIP() << client << " is not installed";
    }
    testing::ScopedEnv env;
    env.set("WAYLAND_DISPLAY", kwin.socketPath());
    VirtualScheduler scheduler;
    std::ostringstream log;
    SessionSensors sensors(SessionKind::Wayland, scheduler,
                           QDBusConnection::connectToBus(QString::fromStdString(kwin.busAddress()),
                                                         QStringLiteral("kwin-sensors-bus")),
                           log);
    ASSERT_TRUE(sensors.seesFrontApp()) << log.str();
    EXPECT_FALSE(sensors.fullScreen().focusedWindowIsFullScreen());

    ASSERT_TRUE(kwin.startClient({"weston-terminal", "-f"}));
    EXPECT_TRUE(eventually([&] { return sensors.fullScreen().focusedWindowIsFullScreen(); }))
        << "a full-screen terminal is not seen as full-screen";
    ASSERT_TRUE(kwin.startClient({"weston-flower"}));
    EXPECT_TRUE(eventually([&] {
        const auto name = sensors.frontApp().name();
        return name && name->find("flower") != std::string::npos &&
               !sensors.fullScreen().focusedWindowIsFullScreen();
    })) << "the flower window over it is taken as full-screen";
}

}  // namespace
}  // namespace pelliwig
