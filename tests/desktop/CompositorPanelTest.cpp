// The real program in real Wayland compositors, drawing through their
// XWayland: she speaks above a full-screen native window, at 100 % and 200 %.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDir>
#include <QImage>

#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/support/Geometry.h"
#include "linux/dbus/KWinScriptFrontApp.h"
#include "support/ChildProcess.h"
#include "support/HoverBound.h"
#include "support/ProgramHome.h"
#include "support/ProgramPath.h"
#include "support/QtCoreApplication.h"
#include "support/WaylandCompositor.h"
#include "support/WaylandInput.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using namespace pelliwig::testing;
using namespace std::chrono_literals;
using Kind = WaylandCompositor::Kind;

const auto* const kApp = ::testing::AddGlobalTestEnvironment(new QtCoreApplication);

// KWin's screen as ScreenShot2 hands it over: the pixels come down a pipe
// once the reply has told their layout.
QImage kwinScreenshot(const WaylandCompositor& kwin) {
    auto bus = QDBusConnection::connectToBus(QString::fromStdString(kwin.busAddress()),
                                             QStringLiteral("kwin-screenshot"));
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) return {};
    QDBusMessage reply;
    {
        auto call = QDBusMessage::createMethodCall(
            QStringLiteral("org.kde.KWin"), QStringLiteral("/org/kde/KWin/ScreenShot2"),
            QStringLiteral("org.kde.KWin.ScreenShot2"), QStringLiteral("CaptureActiveScreen"));
        call << QVariantMap() << QVariant::fromValue(QDBusUnixFileDescriptor(pipe[1]));
        ::close(pipe[1]);  // the message holds its own copy, closed with it
        reply = bus.call(call, QDBus::Block, 5000);
    }
    QByteArray data;
    char buffer[1 << 16];
    for (ssize_t n; reply.type() == QDBusMessage::ReplyMessage &&
                    (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
        data.append(buffer, n);
    }
    ::close(pipe[0]);
    QDBusConnection::disconnectFromBus(QStringLiteral("kwin-screenshot"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    const auto layout = qdbus_cast<QVariantMap>(reply.arguments().first());
    const int width = layout.value("width").toInt();
    const int height = layout.value("height").toInt();
    const int stride = layout.value("stride").toInt();
    if (data.size() < qsizetype(stride) * height) return {};
    return QImage(reinterpret_cast<const uchar*>(data.constData()), width, height, stride,
                  QImage::Format(layout.value("format").toInt()))
        .copy();
}

QImage screenshot(const WaylandCompositor& compositor) {
    if (compositor.kind() == Kind::kwin) return kwinScreenshot(compositor);
    const std::string file = compositor.home() + "/screen.png";
    fs::remove(file);
    if (compositor.runClient({"grim", file}) != 0) return {};
    return QImage(QString::fromStdString(file));
}

// Pixels of `rect` (in the picture's own pixels) at least as light as
// `level` in every channel. Her bubble is white; the terminals below her are
// black with grey text.
int lightPixels(const QImage& image, QRect rect, int level) {
    int count = 0;
    rect &= image.rect();
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() >= level && c.green() >= level && c.blue() >= level;
        }
    }
    return count;
}

int whitePixels(const QImage& image, QRect rect) {
    return lightPixels(image, rect, 236);
}

// Runs `open`, then waits until KWin activates a window of `resourceClass`,
// as a KWin script loaded for the purpose reports.
template <typename Open>
bool whenKWinActivates(const WaylandCompositor& kwin, const std::string& resourceClass, Open open) {
    const QString name = QStringLiteral("kwin-focus");
    bool activated = false;
    {
        KWinScriptFrontApp focus(
            QDBusConnection::connectToBus(QString::fromStdString(kwin.busAddress()), name));
        activated = focus.watching() && open() &&
                    waitUntil(
                        [&] {
                            QCoreApplication::processEvents();
                            return focus.name() == resourceClass;
                        },
                        20s, 20ms);
    }
    QDBusConnection::disconnectFromBus(name);
    return activated;
}

struct PanelCase {
    const char* name;
    Kind compositor;
    int scale;
};

class CompositorPanelTest : public ::testing::TestWithParam<PanelCase> {
protected:
    // A full-screen native terminal, focused, with nothing else open.
    bool openFullScreenTerminal(WaylandCompositor& compositor) {
        if (compositor.kind() == Kind::kwin) {
            // foot fails on KWin's virtual output; weston-terminal does not.
            // Its activation is awaited through KWin itself, since a
            // screenshot would make KWin draw again.
            return whenKWinActivates(compositor, "org.freedesktop.weston.wayland-terminal", [&] {
                return compositor.startClient({"weston-terminal", "-f"});
            });
        }
        return compositor.startClient({"foot", "--app-id=pelliwig-full", "sleep", "600"}) &&
               waitUntil(
                   [&] { return compositor.swaymsg({"[app_id=pelliwig-full] fullscreen enable"}); },
                   10s, 50ms);
    }

    // Starts her as after onboarding, on the compositor's XWayland at the
    // session's scale, with `arguments` and the stored `settings`.
    bool startHer(WaylandCompositor& compositor, int scale, std::vector<std::string> arguments,
                  const StoredSettings& settings = {}) {
        // Plasma lets X programs draw at its scale, telling them in Xft.dpi as
        // an X desktop does; sway draws them at 100 % and enlarges them.
        if (scale > 1 && compositor.kind() == Kind::kwin &&
            compositor.runClient(
                {"xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                 "Xft.dpi:\t" + std::to_string(96 * scale) + "\n"},
                {"DISPLAY=" + compositor.xDisplay()}) != 0) {
            return false;
        }
        const std::string config = compositor.home() + "/config";
        storeSettings(config, {{"hasOnboarded", R"({"value":true})"}});
        storeSettings(config, settings);
        compositor.giveToUser(config);
        arguments.insert(arguments.begin(), programPath().string());
        return compositor.startClient(
            arguments,
            {"DISPLAY=" + compositor.xDisplay(), "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + config,
             "XDG_CURRENT_DESKTOP=" +
                 std::string(compositor.kind() == Kind::kwin ? "KDE" : "sway")});
    }

    // Whether her panel is mapped on the compositor's XWayland.
    static bool panelMapped(WaylandCompositor& compositor) {
        return compositor.runClient(
                   {"xdotool", "search", "--onlyvisible", "--name", "^Pelliwig($| —)"},
                   {"DISPLAY=" + compositor.xDisplay()}) == 0;
    }

    // Rests the pointer at (x, y) as a hand does, moving it a pixel to and
    // fro, until her panel is mapped: a loaded machine may map her strip,
    // or stack it above the terminal, only after the first moves.
    static bool restUntilShown(WaylandCompositor& compositor, WaylandInput& pointer, int x, int y,
                               int width, int height) {
        int step = 0;
        return waitUntil(
            [&] {
                return pointer.moveTo(x + (++step % 2), y, width, height) &&
                       panelMapped(compositor);
            },
            20s, 100ms);
    }

    // The top band of the screen, right of its centre, where her bubble opens.
    static QRect bubbleBand(const QImage& screen) {
        return QRect(screen.width() / 2, 0, screen.width() / 2, screen.height() / 4);
    }
};

TEST_P(CompositorPanelTest, SheSpeaksAboveAFullScreenNativeWindow) {
    const PanelCase& c = GetParam();
    if (!fs::exists(programPath())) GTEST_SKIP() << "no program at " << programPath();
    const char* terminal = c.compositor == Kind::kwin ? "weston-terminal" : "foot";
    if (findProgram(terminal).empty()) GTEST_SKIP() << terminal << " is not installed";
    if (c.compositor == Kind::sway && findProgram("grim").empty())
        GTEST_SKIP() << "grim is not installed";
    WaylandCompositor compositor(c.compositor, {.xwayland = true, .scale = c.scale});
    if (!compositor.ok()) GTEST_SKIP() << compositor.name() << ": " << compositor.why();
    if (compositor.xDisplay().empty()) GTEST_SKIP() << compositor.name() << " started no XWayland";

    ASSERT_TRUE(openFullScreenTerminal(compositor));
    ASSERT_TRUE(startHer(compositor, c.scale, {"--preview", "water"}));
    ASSERT_TRUE(waitUntil([&] { return panelMapped(compositor); }, 15s, 100ms))
        << "her panel never appeared on " << compositor.name() << "'s XWayland";
    // Her slide out takes under half a second, more on a loaded machine:
    // the screen is taken until her bubble is on it, never after a fixed
    // wait, which a busy machine outlasts.
    QImage screen;
    int white = 0;
    const bool seen = waitUntil(
        [&] {
            screen = screenshot(compositor);
            if (screen.isNull()) return false;
            white = whitePixels(screen, bubbleBand(screen));
            return white > bubbleBand(screen).width() * bubbleBand(screen).height() / 10;
        },
        20s, 200ms);
    ASSERT_FALSE(screen.isNull()) << "no screenshot from " << compositor.name();
    const QString folder = QDir::currentPath() + "/compositor-screens";
    QDir().mkpath(folder);
    screen.save(folder + "/" + c.name + ".png");
    EXPECT_EQ(screen.width(), WaylandCompositor::kWidth * c.scale);
    EXPECT_TRUE(seen) << "her bubble is not on the screen above the full-screen terminal (" << white
                      << " white pixels in the band); see " << folder.toStdString();
    // The terminal is what covers the rest: its prompt in the screen's
    // corner, and no white below her band.
    if (c.compositor == Kind::kwin) {
        EXPECT_GT(lightPixels(screen, {0, 0, 300 * c.scale, 40 * c.scale}, 128), 20);
    }
    const QRect below(0, screen.height() / 2, screen.width(), screen.height() / 2);
    EXPECT_LT(whitePixels(screen, below), below.width() * below.height() / 100);
}

// Over the full-screen terminal, the pointer resting at the top centre
// brings her out: the strip she listens on is above the terminal too.
TEST_P(CompositorPanelTest, PointerAtTheTopCentreBringsHerOut) {
    const PanelCase& c = GetParam();
    if (!fs::exists(programPath())) GTEST_SKIP() << "no program at " << programPath();
    const char* terminal = c.compositor == Kind::kwin ? "weston-terminal" : "foot";
    if (findProgram(terminal).empty()) GTEST_SKIP() << terminal << " is not installed";
    WaylandCompositor compositor(c.compositor, {.xwayland = true, .scale = c.scale});
    if (!compositor.ok()) GTEST_SKIP() << compositor.name() << ": " << compositor.why();
    if (compositor.xDisplay().empty()) GTEST_SKIP() << compositor.name() << " started no XWayland";
    WaylandInput pointer(compositor.socketPath());
    if (!pointer.ok()) GTEST_SKIP() << compositor.name() << " offers no way to move the pointer";

    ASSERT_TRUE(openFullScreenTerminal(compositor));
    // Only the pointer brings her out: no nudge, peek or sleep at start.
    ASSERT_TRUE(startHer(compositor, c.scale, {}, quietSettings()));
    ASSERT_TRUE(waitUntil(
        [&] {
            return compositor.runClient({"xdotool", "search", "--name", "^Pelliwig hover$"},
                                        {"DISPLAY=" + compositor.xDisplay()}) == 0;
        },
        15s, 100ms))
        << "her hover strip never appeared on " << compositor.name() << "'s XWayland";
    EXPECT_FALSE(panelMapped(compositor));

    // KWin's fake input places the pointer in the output's own pixels,
    // sway's virtual pointer in the screen's logical ones.
    const int unit = c.compositor == Kind::kwin ? c.scale : 1;
    const int width = WaylandCompositor::kWidth * unit;
    const int height = WaylandCompositor::kHeight * unit;
    ASSERT_TRUE(pointer.moveTo(width / 2 - 40 * unit, 2 * unit, width, height));
    EXPECT_TRUE(restUntilShown(compositor, pointer, width / 2, unit, width, height))
        << "hover did not bring her out on " << compositor.name();
}

// The top of her window named `pattern` (mapped ones only, if asked), in X
// pixels; -1 when there is none.
int topOf(WaylandCompositor& compositor, const std::string& pattern, bool visible) {
    std::vector<std::string> search{"xdotool", "search"};
    if (visible) search.push_back("--onlyvisible");
    search.insert(search.end(), {"--name", pattern, "getwindowgeometry", "--shell"});
    const std::string shell = compositor.clientOutput(search, {"DISPLAY=" + compositor.xDisplay()});
    const auto at = shell.find("Y=");
    return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + 2);
}

// XWayland tells nothing of swaybar: she asks sway where its bars leave room,
// and sits below a top one, as she does under GNOME's and Xfce's panels.
TEST(CompositorBarTest, SheSitsBelowATopSwaybar) {
    if (!fs::exists(programPath())) GTEST_SKIP() << "no program at " << programPath();
    if (findProgram("swaybar").empty()) GTEST_SKIP() << "swaybar is not installed";
    WaylandCompositor sway(Kind::sway, {.xwayland = true, .topBar = true});
    if (!sway.ok()) GTEST_SKIP() << sway.name() << ": " << sway.why();
    if (sway.xDisplay().empty()) GTEST_SKIP() << "sway started no XWayland";
    // The bar has taken its room once the workspace starts below it.
    ASSERT_TRUE(waitUntil(
        [&] {
            const std::string workspaces = sway.swaymsgOutput({"-t", "get_workspaces", "-r"});
            return workspaces.find("\"y\": " + std::to_string(WaylandCompositor::kBarHeight)) !=
                   std::string::npos;
        },
        15s, 100ms))
        << "swaybar took no room at the top";
    const std::string config = sway.home() + "/config";
    storeSettings(config, {{"hasOnboarded", R"({"value":true})"}});
    sway.giveToUser(config);
    ASSERT_TRUE(sway.startClient({programPath().string(), "--preview", "water"},
                                 {"DISPLAY=" + sway.xDisplay(), "QT_QPA_PLATFORM=xcb",
                                  "XDG_CONFIG_HOME=" + config, "XDG_CURRENT_DESKTOP=sway"}));
    const std::string panel = "^Pelliwig($| —)";
    ASSERT_TRUE(waitUntil([&] { return topOf(sway, panel, true) >= 0; }, 15s, 100ms))
        << "the preview did not show her";
    EXPECT_EQ(topOf(sway, panel, true), WaylandCompositor::kBarHeight);
    EXPECT_EQ(topOf(sway, "^Pelliwig hover$", false), WaylandCompositor::kBarHeight);
    const QImage screen = screenshot(sway);
    const QString folder = QDir::currentPath() + "/compositor-screens";
    QDir().mkpath(folder);
    screen.save(folder + "/sway_bar.png");
}

// Her visible windows on the compositor's XWayland, where they are.
std::vector<QRect> windowsOfHers(WaylandCompositor& compositor) {
    std::vector<QRect> windows;
    std::istringstream ids(
        compositor.clientOutput({"xdotool", "search", "--onlyvisible", "--class", "pelliwig"},
                                {"DISPLAY=" + compositor.xDisplay()}));
    for (std::string id; ids >> id;) {
        const std::string shell = compositor.clientOutput(
            {"xdotool", "getwindowgeometry", "--shell", id}, {"DISPLAY=" + compositor.xDisplay()});
        auto value = [&](const std::string& key) {
            const auto at = shell.find("\n" + key + "=");
            return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + key.size() + 2);
        };
        windows.emplace_back(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
    }
    return windows;
}

// In swaybar, which draws no menus, a left and a right click on her heart
// each open her menu where the click was, at the bar's right end.
TEST(CompositorBarTest, ClicksOnHerHeartOpenHerMenuThere) {
    if (!fs::exists(programPath())) GTEST_SKIP() << "no program at " << programPath();
    if (findProgram("swaybar").empty()) GTEST_SKIP() << "swaybar is not installed";
    WaylandCompositor sway(Kind::sway, {.xwayland = true, .topBar = true});
    if (!sway.ok()) GTEST_SKIP() << sway.name() << ": " << sway.why();
    if (sway.xDisplay().empty()) GTEST_SKIP() << "sway started no XWayland";
    WaylandInput pointer(sway.socketPath());
    if (!pointer.ok()) GTEST_SKIP() << "sway offers no way to move the pointer";
    const std::string config = sway.home() + "/config";
    storeSettings(config, quietSettings());
    sway.giveToUser(config);
    const std::vector<std::string> herEnv{"DISPLAY=" + sway.xDisplay(), "QT_QPA_PLATFORM=xcb",
                                          "XDG_CONFIG_HOME=" + config, "XDG_CURRENT_DESKTOP=sway"};
    // Her heart is the pink at the bar's right end.
    const int bar = WaylandCompositor::kBarHeight;
    const QRect heartArea(WaylandCompositor::kWidth - 60, 0, 60, bar);
    auto heartShown = [&] {
        const QImage screen = screenshot(sway);
        int pink = 0;
        for (int y = heartArea.top(); !screen.isNull() && y <= heartArea.bottom(); ++y) {
            for (int x = heartArea.left(); x <= heartArea.right(); ++x) {
                const QColor c = screen.pixelColor(x, y);
                pink += c.red() > 200 && c.green() < 150 && c.blue() < 180;
            }
        }
        return pink > 20;
    };
    const QPoint heart(WaylandCompositor::kWidth - 13, bar / 2);
    auto menuAtHeart = [&] {
        for (const QRect& window : windowsOfHers(sway)) {
            if (window.height() > 100 && window.width() > 100 && window.top() <= bar + 10 &&
                window.right() >= WaylandCompositor::kWidth - 80) {
                return true;
            }
        }
        return false;
    };
    // A click on a Wayland window does not reach XWayland's menu, which
    // holds X's grab, so each click gets her afresh.
    for (const int button : {WaylandInput::kLeftButton, WaylandInput::kRightButton}) {
        SCOPED_TRACE(button == WaylandInput::kLeftButton ? "left click" : "right click");
        ASSERT_TRUE(sway.startClient({programPath().string()}, herEnv));
        ASSERT_TRUE(waitUntil(heartShown, 20s, 200ms)) << "her heart never showed in swaybar";
        ASSERT_TRUE(pointer.moveTo(heart.x(), heart.y(), WaylandCompositor::kWidth,
                                   WaylandCompositor::kHeight));
        ASSERT_TRUE(pointer.click(button));
        EXPECT_TRUE(waitUntil(menuAtHeart, 10s, 100ms))
            << "no menu of hers opened at the heart; her windows:" <<
            [&] {
                std::ostringstream list;
                for (const QRect& w : windowsOfHers(sway)) {
                    list << " " << w.width() << "x" << w.height() << "+" << w.x() << "+" << w.y();
                }
                return list.str();
            }();
        screenshot(sway).save(QDir::currentPath() + "/compositor-screens/sway_tray_" +
                              (button == WaylandInput::kLeftButton ? "left" : "right") + ".png");
        ASSERT_EQ(sway.runClient({programPath().string(), "--quit"}, herEnv), 0);
        ASSERT_TRUE(waitUntil([&] { return windowsOfHers(sway).empty(); }, 10s, 100ms));
        ASSERT_TRUE(waitUntil([&] { return !heartShown(); }, 10s, 200ms));
    }
}

// With Screen set to "the one with the pointer", she comes out on the output
// the pointer is on each time: on a second output at 200 %, then back on
// the first, with nothing of her left on the one she left.
TEST(CompositorOutputsTest, SheFollowsThePointerToEachOutput) {
    if (!fs::exists(programPath())) GTEST_SKIP() << "no program at " << programPath();
    if (findProgram("grim").empty()) GTEST_SKIP() << "grim is not installed";
    WaylandCompositor sway(Kind::sway, {.xwayland = true});
    if (!sway.ok()) GTEST_SKIP() << sway.name() << ": " << sway.why();
    if (sway.xDisplay().empty()) GTEST_SKIP() << "sway started no XWayland";
    WaylandInput pointer(sway.socketPath());
    if (!pointer.ok()) GTEST_SKIP() << "sway offers no way to move the pointer";
    // A second output, at 200 %; sway places it where it likes.
    ASSERT_TRUE(sway.swaymsg({"create_output"}));
    ASSERT_TRUE(sway.swaymsg({"output HEADLESS-2 resolution 1280x800 scale 2"}));
    std::map<std::string, QRect> outputs;
    ASSERT_TRUE(waitUntil(
        [&] {
            outputs.clear();
            const auto list = nlohmann::json::parse(sway.swaymsgOutput({"-t", "get_outputs", "-r"}),
                                                    nullptr, false);
            for (const auto& output : list.is_array() ? list : nlohmann::json::array()) {
                const auto& r = output["rect"];
                outputs[output.value("name", "")] = QRect(
                    r.value("x", 0), r.value("y", 0), r.value("width", 0), r.value("height", 0));
            }
            return outputs.size() == 2 && outputs["HEADLESS-2"].width() == 640;
        },
        10s, 100ms));
    const QRect layout = outputs["HEADLESS-1"].united(outputs["HEADLESS-2"]);
    const std::string config = sway.home() + "/config";
    storeSettings(config, quietSettings());
    storeSettings(config, {{"notchScreen", R"({"value":"pointer"})"}});
    sway.giveToUser(config);
    const std::vector<std::string> herEnv{"DISPLAY=" + sway.xDisplay(), "QT_QPA_PLATFORM=xcb",
                                          "XDG_CONFIG_HOME=" + config, "XDG_CURRENT_DESKTOP=sway"};
    ASSERT_TRUE(sway.startClient({programPath().string()}, herEnv));
    ASSERT_TRUE(waitUntil([&] { return topOf(sway, "^Pelliwig hover$", false) >= 0; }, 15s, 100ms));
    // Her panel's left edge on the X screen (XWayland's root is sway's
    // layout), mapped or not.
    auto panelLeft = [&] {
        const std::string shell =
            sway.clientOutput({"xdotool", "search", "--name", "^Pelliwig($| —)",
                               "getwindowgeometry", "--shell", "%@"},
                              {"DISPLAY=" + sway.xDisplay()});
        const auto at = shell.find("\nX=");
        return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + 3);
    };
    for (const char* name : {"HEADLESS-2", "HEADLESS-1", "HEADLESS-2"}) {
        SCOPED_TRACE(name);
        const QRect output = outputs[name];
        const QPoint centre = output.center() - layout.topLeft();
        ASSERT_TRUE(pointer.moveTo(centre.x(), centre.y(), layout.width(), layout.height()));
        ASSERT_EQ(sway.runClient({programPath().string(), "--preview", "water"}, herEnv), 0);
        const int notchLeft = output.x() + output.width() / 2 - 100;
        EXPECT_TRUE(waitUntil([&] { return panelLeft() == notchLeft; }, 10s, 100ms))
            << "she came out at x " << panelLeft() << ", not " << notchLeft;
    }
    // Nothing of her is left on the output she came from.
    QImage screen;
    ASSERT_TRUE(waitUntil([&] { return !(screen = screenshot(sway)).isNull(); }, 10s, 200ms));
    screen.save(QDir::currentPath() + "/compositor-screens/sway_outputs.png");
    const double toPicture = double(screen.width()) / layout.width();
    const QRect first = outputs["HEADLESS-1"].translated(-layout.topLeft());
    const QRect firstInPicture(
        QPoint(int(first.x() * toPicture), int(first.y() * toPicture)),
        QSize(int(first.width() * toPicture), int(first.height() * toPicture)));
    EXPECT_EQ(whitePixels(screen, firstInPicture), 0)
        << "a piece of her bubble stayed on the output she left";
}

// Every way the pointer leaves her over the full-screen terminal sends her
// back in within 2 s of its last move, though the compositor shows her the
// pointer only over her own windows.
class CompositorHoverTest : public CompositorPanelTest {};

TEST_P(CompositorHoverTest, SheGoesBackInOnEveryWayOfLeaving) {
    const PanelCase& c = GetParam();
    if (!fs::exists(programPath())) GTEST_SKIP() << "no program at " << programPath();
    const char* terminal = c.compositor == Kind::kwin ? "weston-terminal" : "foot";
    if (findProgram(terminal).empty()) GTEST_SKIP() << terminal << " is not installed";
    WaylandCompositor compositor(c.compositor, {.xwayland = true, .scale = c.scale});
    if (!compositor.ok()) GTEST_SKIP() << compositor.name() << ": " << compositor.why();
    if (compositor.xDisplay().empty()) GTEST_SKIP() << compositor.name() << " started no XWayland";
    WaylandInput pointer(compositor.socketPath());
    if (!pointer.ok()) GTEST_SKIP() << compositor.name() << " offers no way to move the pointer";
    ASSERT_TRUE(openFullScreenTerminal(compositor));
    ASSERT_TRUE(startHer(compositor, c.scale, {}, quietSettings()));
    ASSERT_TRUE(waitUntil(
        [&] {
            return compositor.runClient({"xdotool", "search", "--name", "^Pelliwig hover$"},
                                        {"DISPLAY=" + compositor.xDisplay()}) == 0;
        },
        15s, 100ms));

    const int width = WaylandCompositor::kWidth;
    const int height = WaylandCompositor::kHeight;
    const int centre = width / 2;
    auto line = [](Point from, Point to, int count) {
        std::vector<Point> points;
        for (int i = 1; i <= count; ++i) {
            points.push_back(
                {from.x + (to.x - from.x) * i / count, from.y + (to.y - from.y) * i / count});
        }
        return points;
    };
    struct ExitPath {
        const char* name;
        std::vector<Point> points;
    };
    const std::vector<ExitPath> paths{
        {"sideways along the top edge, 5 px at a time", line({640, 1}, {300, 1}, 68)},
        {"one jump down", {{640, 600}}},
        {"slow steps down", line({640, 1}, {640, 601}, 15)},
        {"one jump sideways to the right", {{1100, 2}}},
    };
    for (const ExitPath& path : paths) {
        SCOPED_TRACE(path.name);
        ASSERT_TRUE(pointer.moveTo(centre - 40, 2, width, height));
        ASSERT_TRUE(restUntilShown(compositor, pointer, centre, 1, width, height))
            << "hover did not bring her out on " << compositor.name();
        for (const Point& p : path.points) {
            ASSERT_TRUE(pointer.moveTo(int(p.x), int(p.y), width, height));
        }
        const auto left = std::chrono::steady_clock::now();
        EXPECT_TRUE(waitUntil([&] { return !panelMapped(compositor); }, 10s, 50ms))
            << "she stayed out on " << compositor.name();
        const auto took = std::chrono::duration<double>(std::chrono::steady_clock::now() - left);
        EXPECT_LT(took.count(), kBackInWithin)
            << "she went back in only after " << took.count() << " s";
    }
}

INSTANTIATE_TEST_SUITE_P(Compositors, CompositorHoverTest,
                         ::testing::Values(PanelCase{"sway", Kind::sway, 1},
                                           PanelCase{"KWin", Kind::kwin, 1}),
                         [](const auto& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(Compositors, CompositorPanelTest,
                         ::testing::Values(PanelCase{"sway_100", Kind::sway, 1},
                                           PanelCase{"sway_200", Kind::sway, 2},
                                           PanelCase{"KWin_100", Kind::kwin, 1},
                                           PanelCase{"KWin_200", Kind::kwin, 2}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace pelliwig
