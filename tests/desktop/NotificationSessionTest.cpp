#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/PrivateDBus.h"
#include "support/ProgramHome.h"
#include "support/ProgramPath.h"
#include "support/WaylandCompositor.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using namespace pelliwig::testing;
using namespace std::chrono_literals;

// The Notify calls a notification server logged, in order.
std::vector<std::string> notifyCalls(const fs::path& log) {
    std::vector<std::string> calls;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) {
        if (line.find(" Notify ") != std::string::npos) calls.push_back(line);
    }
    return calls;
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A Wayland session with no X server at all (sway without XWayland) and a
// notification server on the session bus: she says once why she cannot sit
// at the top, speaks a preview as a notification with her answers on it, and
// hears an answer picked there.
TEST(NotificationSessionTest, WithoutXSheSpeaksInNotificationsAndHearsTheAnswer) {
    if (!fs::exists(programPath())) GTEST_SKIP() << "no program at " << programPath();
    if (auto missing = PrivateDBus::missingMockTools()) GTEST_SKIP() << *missing;
    WaylandCompositor sway(WaylandCompositor::Kind::sway);
    if (!sway.ok()) GTEST_SKIP() << sway.name() << ": " << sway.why();
    PrivateDBus bus;
    ASSERT_TRUE(bus.start());
    const ProgramHome logs{"notify"};
    const fs::path log = logs / "calls.log";
    ASSERT_TRUE(bus.startMock({"--template", "notification_daemon", "-l", log.string()},
                              "org.freedesktop.Notifications"));

    const std::string config = sway.home() + "/config";
    storeSettings(config, quietSettings());
    sway.giveToUser(config);
    ASSERT_TRUE(sway.startClient({programPath().string(), "--preview", "water"},
                                 {"DISPLAY=", "QT_QPA_PLATFORM=", "XDG_CONFIG_HOME=" + config,
                                  "DBUS_SESSION_BUS_ADDRESS=" + bus.address()}));

    ASSERT_TRUE(waitUntil([&] { return notifyCalls(log).size() >= 2; }, 20s, 50ms))
        << "she sent no preview";
    const auto calls = notifyCalls(log);
    EXPECT_TRUE(has(calls[0], "I can't sit at the top of your screen here")) << calls[0];
    const std::string& water = calls[1];
    // Her own picture is the notification's icon.
    EXPECT_TRUE(has(water, R"(Notify "Pelliwig" 0 "file:///)")) << water;
    EXPECT_TRUE(has(water, R"(/icons/pelliwig.png" "Zuzi" )")) << water;
    EXPECT_TRUE(has(water, R"(["answer-0", )")) << water;

    // The mock numbers its notifications from 1 in the order they came.
    ASSERT_TRUE(bus.call(
        "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
        "org.freedesktop.DBus.Mock.EmitSignal",
        {"org.freedesktop.Notifications", "ActionInvoked", "us", "[<uint32 2>, <'answer-0'>]"}));
    ASSERT_TRUE(waitUntil([&] { return notifyCalls(log).size() >= 3; }, 10s, 50ms))
        << "the answer was not heard";
    const std::string reaction = notifyCalls(log)[2];
    EXPECT_TRUE(has(reaction, R"(Notify "Pelliwig" 0 )")) << reaction;
    EXPECT_TRUE(has(reaction, "[] ")) << "a reaction asks nothing: " << reaction;
}

}  // namespace
}  // namespace pelliwig
