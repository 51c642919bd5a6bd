#include "linux/SessionSensors.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/VirtualScheduler.h"
#include "support/XvfbServer.h"

namespace pelliwig {
namespace {

using testing::waitUntil;
using namespace std::chrono_literals;

// Points $DISPLAY somewhere for one test and restores it after.
class DisplayVariable {
public:
    explicit DisplayVariable(const std::optional<std::string>& display) {
        if (const char* old = std::getenv("DISPLAY")) saved_ = old;
        set(display);
    }
    ~DisplayVariable() { set(saved_); }

private:
    static void set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv("DISPLAY", value->c_str(), 1);
        } else {
            ::unsetenv("DISPLAY");
        }
    }
    std::optional<std::string> saved_;
};

class SessionSensorsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "SessionSensorsTest";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
    // A bus no one listens on: these tests are not about D-Bus.
    static QDBusConnection noBus() {
        return QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                             QStringLiteral("no-bus"));
    }

    VirtualScheduler scheduler_;
    std::ostringstream log_;
    int moves_ = 0;
};

// A Wayland session whose compositor names no focused window and whose bus
// has no KWin (GNOME; here, no compositor at all): each missing source is
// named once in the log, and the focused app reads as none.
TEST_F(SessionSensorsTest, WaylandWithoutSourcesSaysWhatIsMissingOnce) {
    ::setenv("WAYLAND_DISPLAY", "/nonexistent/wayland-0", 1);
    SessionSensors sensors(SessionKind::Wayland, scheduler_, noBus(), log_);
    ::unsetenv("WAYLAND_DISPLAY");
    auto watch = sensors.pointer().onMove([this](Point) { ++moves_; });
    sensors.processPointerEvents();
    EXPECT_FALSE(sensors.seesFrontApp());
    EXPECT_EQ(sensors.frontApp().name(), std::nullopt);
    EXPECT_EQ(sensors.frontApp().name(), std::nullopt);
    EXPECT_EQ(sensors.idleTime().seconds(), 0);
    EXPECT_EQ(sensors.pointerFd(), -1);
    EXPECT_EQ(moves_, 0);
    std::istringstream said(log_.str());
    std::vector<std::string> lines;
    for (std::string line; std::getline(said, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 2u) << log_.str();
    EXPECT_NE(lines[0].find("zwlr_foreign_toplevel_manager_v1"), std::string::npos);
    EXPECT_NE(lines[0].find("org.kde.KWin"), std::string::npos);
    EXPECT_NE(lines[1].find("pointer"), std::string::npos);
}

struct MissingServer {
    const char* what;
    std::optional<std::string> display;  // $DISPLAY, or unset
};

void PrintTo(const MissingServer& c, std::ostream* out) {
    *out << c.what;
}

class SessionSensorsWithoutXTest : public SessionSensorsTest,
                                   public ::testing::WithParamInterface<MissingServer> {};

TEST_P(SessionSensorsWithoutXTest, ReportNothingAndKeepQuiet) {
    DisplayVariable display(GetParam().display);
    SessionSensors sensors(SessionKind::X11, scheduler_, noBus(), log_);
    auto watch = sensors.pointer().onMove([this](Point) { ++moves_; });
    sensors.processPointerEvents();
    scheduler_.advance(1);
    EXPECT_EQ(sensors.idleTime().seconds(), 0);
    EXPECT_EQ(sensors.frontApp().name(), std::nullopt);
    EXPECT_EQ(sensors.pointerFd(), -1);
    EXPECT_EQ(moves_, 0);
    EXPECT_EQ(log_.str(), "");
}

INSTANTIATE_TEST_SUITE_P(Displays, SessionSensorsWithoutXTest,
                         ::testing::Values(MissingServer{"DISPLAY unset", std::nullopt},
                                           MissingServer{"DISPLAY empty", ""},
                                           MissingServer{"nothing listens on the display",
                                                         testing::XvfbServer::deadDisplay()},
                                           MissingServer{"a display that cannot be parsed",
                                                         "not a display"}));

TEST_F(SessionSensorsTest, X11SourcesReadTheServerInDisplay) {
    testing::XvfbServer server;
    if (!server.ok()) GTEST_SKIP() << server.why();
    if (testing::findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
    DisplayVariable display(server.display());
    SessionSensors sensors(SessionKind::X11, scheduler_, noBus(), log_);
    auto watch = sensors.pointer().onMove([this](Point) { ++moves_; });
    ASSERT_GE(sensors.pointerFd(), 0);
    EXPECT_TRUE(waitUntil([&] { return sensors.idleTime().seconds() > 0.05; }));
    ASSERT_TRUE(server.xdotool({"mousemove_relative", "5", "5"}));
    EXPECT_TRUE(waitUntil([&] {
        sensors.processPointerEvents();
        return moves_ == 1;
    }));
    EXPECT_EQ(sensors.frontApp().name(), std::nullopt) << "no window manager, no active window";
    EXPECT_EQ(log_.str(), "");
}

}  // namespace
}  // namespace pelliwig
