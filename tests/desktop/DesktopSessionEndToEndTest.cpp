// The real program on a private X server as the desktops people run put it:
// a 200 % screen, a tray host that starts after her, and where she sits.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/ChildProcess.h"
#include "support/HoverBound.h"
#include "support/PrivateDBus.h"
#include "support/ProgramHome.h"
#include "support/ProgramPath.h"
#include "support/XvfbServer.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using namespace pelliwig::testing;
using namespace std::chrono_literals;

// A StatusNotifier tray host as a desktop's panel runs one: it owns the
// watcher's name only once it answers, and writes each item that registers
// to the file it is given, one a line.
constexpr const char* kTrayHost = R"(
import sys
from gi.repository import Gio, GLib
XML = '''<node><interface name="org.kde.StatusNotifierWatcher">
<method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
<method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
<property name="ProtocolVersion" type="i" access="read"/>
<property name="RegisteredStatusNotifierItems" type="as" access="read"/>
<signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
</interface></node>'''
out = open(sys.argv[1], 'a', buffering=1)
items = []
def call(conn, sender, path, iface, method, params, invocation):
    if method == 'RegisterStatusNotifierItem':
        items.append(params.unpack()[0])
        out.write(sender + ' ' + items[-1] + '\n')
    invocation.return_value(None)
def get(conn, sender, path, iface, name):
    if name == 'IsStatusNotifierHostRegistered': return GLib.Variant('b', True)
    if name == 'ProtocolVersion': return GLib.Variant('i', 0)
    return GLib.Variant('as', items)
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
bus.register_object('/StatusNotifierWatcher', Gio.DBusNodeInfo.new_for_xml(XML).interfaces[0],
                    call, get, None)
Gio.bus_own_name_on_connection(bus, 'org.kde.StatusNotifierWatcher', 0, None, None)
GLib.MainLoop().run()
)";

class DesktopSessionEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(program)) GTEST_SKIP() << "no program at " << program;
        if (!server.ok()) GTEST_SKIP() << server.why();
        if (!wm.ok()) GTEST_SKIP() << wm.why();
        if (findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
        // Only the pointer brings her out.
        home.store(quietSettings());
    }

    std::vector<std::string> env(std::vector<std::string> extra = {}) const {
        auto vars = server.env();
        vars.push_back("QT_QPA_PLATFORM=xcb");
        const auto own = home.env();
        vars.insert(vars.end(), own.begin(), own.end());
        vars.insert(vars.end(), extra.begin(), extra.end());
        return vars;
    }

    void store(const char* key, const std::string& json) { home.store(key, json); }

    std::optional<ChildProcess> start(std::vector<std::string> arguments,
                                      std::vector<std::string> extraEnv = {}) {
        arguments.insert(arguments.begin(), program.string());
        auto app = ChildProcess::start(arguments, env(std::move(extraEnv)));
        // The hover strip is mapped once she has built her notch.
        if (app && !waitUntil([&] { return exists("^Pelliwig hover$"); }, 15s)) return {};
        return app;
    }

    bool exists(const std::string& pattern) const {
        return server.xdotool({"search", "--onlyvisible", "--name", pattern});
    }
    // Her panel (the strip is named apart).
    bool panelShown() const { return exists("^Pelliwig($| —)"); }

    // The output of a command run on this display.
    std::string output(const std::string& command) const {
        const std::string line = "DISPLAY=" + server.display() + " " + command + " 2>/dev/null";
        std::string text;
        if (FILE* pipe = ::popen(line.c_str(), "r")) {
            char buffer[256];
            while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
            ::pclose(pipe);
        }
        return text;
    }

    // X and WIDTH of the first visible window named `pattern`, in device pixels.
    std::pair<int, int> placeOf(const std::string& pattern) const {
        const std::string shell = output("xdotool search --onlyvisible --name '" + pattern +
                                         "' getwindowgeometry --shell");
        auto value = [&](const std::string& key) {
            const auto at = shell.find(key + "=");
            return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + key.size() + 1);
        };
        return {value("X"), value("WIDTH")};
    }

    bool rest(int x, int y) const {
        return server.xdotool({"mousemove", std::to_string(x), std::to_string(y)}) &&
               server.xdotool({"mousemove", std::to_string(x + 1), std::to_string(y)});
    }

    const fs::path program = programPath();
    const ProgramHome home{"desktops"};
    XvfbServer server;
    OpenboxSession wm{server};
};

struct ScaleCase {
    const char* name;
    std::vector<std::string> env;
    bool xftDpi;
};

class HoverAtScale : public DesktopSessionEndToEndTest,
                     public ::testing::WithParamInterface<ScaleCase> {};

// On the 1280-pixel screen at 200 % her notch is 200 wide around x 320 of
// 640: device pixels 440 to 840. Resting a quarter of the way across (where
// device pixels read as her own units would have put her) does nothing.
TEST_P(HoverAtScale, RestingAtTheTopCentreBringsHerOut) {
    if (GetParam().xftDpi) {
        ASSERT_EQ(
            output("xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER 'Xft.dpi:\t192\n'"
                   " && echo set"),
            "set\n");
    }
    auto app = start({}, GetParam().env);
    ASSERT_TRUE(app) << "she never built her notch";
    EXPECT_EQ(placeOf("^Pelliwig hover$"), std::make_pair(440, 400));

    ASSERT_TRUE(rest(320, 2));
    std::this_thread::sleep_for(1s);  // three times the entry delay, on the real program
    EXPECT_FALSE(panelShown());

    ASSERT_TRUE(rest(640, 1));
    EXPECT_TRUE(waitUntil([&] { return panelShown(); }, 5s)) << "hover did not bring her out";
    EXPECT_EQ(placeOf("^Pelliwig($| —)").first, 440);
}

INSTANTIATE_TEST_SUITE_P(Scales, HoverAtScale,
                         ::testing::Values(ScaleCase{"QtScaleFactor", {"QT_SCALE_FACTOR=2"}, false},
                                           ScaleCase{"XftDpi", {}, true}),
                         [](const auto& row) { return std::string(row.param.name); });

// A window that fills the screen as a film or a game does, through the
// window manager's full-screen state (GTK asks openbox for it).
constexpr const char* kFullScreenWindow = R"(
import gi
gi.require_version('Gtk', '3.0')
from gi.repository import Gtk
w = Gtk.Window(title='full screen')
w.connect('destroy', Gtk.main_quit)
w.fullscreen()
w.show_all()
Gtk.main()
)";

// Every way the pointer leaves her sends her back in soon after its last
// move: by real motion (XTest, which makes XInput2 raw motion) and by warps
// (xdotool's absolute moves, a remote-control tool), which make none and are
// found by asking the server where the pointer is. Her notch is x 540 to 740;
// while her bubble is out, her panel's width (to x 1078) still counts as her.
TEST_F(DesktopSessionEndToEndTest, SheGoesBackInOnEveryWayOfLeaving) {
    struct ExitPath {
        const char* name;
        std::vector<std::string> moves;  // xdotool commands, from the notch's centre
        bool overFullScreen = false;
    };
    auto steps = [](int count, int dx, int dy, const char* pause = nullptr) {
        std::vector<std::string> moves;
        for (int i = 0; i < count; ++i) {
            moves.insert(moves.end(),
                         {"mousemove_relative", "--", std::to_string(dx), std::to_string(dy)});
            if (pause) moves.insert(moves.end(), {"sleep", pause});
        }
        return moves;
    };
    const std::vector<ExitPath> paths{
        {"sideways along the top edge, 5 px at a time", steps(70, -5, 0)},
        {"one jump down", {"mousemove", "641", "600"}},
        {"one warp sideways", {"mousemove", "1200", "2"}},
        {"slow steps down", steps(15, 0, 40, "0.1")},
        {"sideways over a full-screen window", steps(110, 5, 0), true},
    };
    auto app = start({});
    ASSERT_TRUE(app) << "she never built her notch";
    std::optional<ChildProcess> fullScreen;
    for (const ExitPath& path : paths) {
        SCOPED_TRACE(path.name);
        if (path.overFullScreen && !fullScreen) {
            const fs::path script = home / "full-screen.py";
            std::ofstream(script) << kFullScreenWindow;
            fullScreen = ChildProcess::start({kSystemPython, script.string()}, env());
            ASSERT_TRUE(fullScreen);
            ASSERT_TRUE(waitUntil([&] { return exists("^full screen$"); }, 10s));
        }
        ASSERT_TRUE(rest(640, 2));
        ASSERT_TRUE(waitUntil([&] { return panelShown(); }, 5s)) << "hover did not bring her out";
        std::vector<std::string> moves = path.moves;
        ASSERT_TRUE(server.xdotool(moves));
        const auto left = std::chrono::steady_clock::now();
        EXPECT_TRUE(waitUntil([&] { return !panelShown(); }, 5s)) << "she stayed out";
        const auto took = std::chrono::duration<double>(std::chrono::steady_clock::now() - left);
        EXPECT_LT(took.count(), kBackInWithin)
            << "she went back in only after " << took.count() << " s";
    }
}

// At the top right she sits in the corner, her panel (notch and bubble, 538
// wide) reaching left of her to it; "--quit" from a second launch ends her.
TEST_F(DesktopSessionEndToEndTest, PositionSettingMovesHer) {
    store("notchPosition", R"({"value":"topRight"})");
    auto app = start({"--preview", "water"});
    ASSERT_TRUE(app);
    EXPECT_EQ(placeOf("^Pelliwig hover$"), std::make_pair(1280 - 200, 200));
    ASSERT_TRUE(waitUntil([&] { return panelShown(); }, 5s));
    EXPECT_EQ(placeOf("^Pelliwig($| —)").first, 1280 - 538);

    EXPECT_EQ(ChildProcess::run({program.string(), "--quit"}, env(), 10s), 0);
    EXPECT_TRUE(waitUntil([&] { return !app->running(); }, 5s));
}

TEST_F(DesktopSessionEndToEndTest, TrayIconAppearsWhenTheHostStartsAfterHer) {
    if (auto missing = PrivateDBus::missingTools()) GTEST_SKIP() << *missing;
    if (ChildProcess::run({kSystemPython, "-c", "from gi.repository import Gio"}) != 0) {
        GTEST_SKIP() << "python3-gi is not installed";
    }
    PrivateDBus bus;
    ASSERT_TRUE(bus.start());
    const fs::path script = home / "tray-host.py";
    std::ofstream(script) << kTrayHost;
    auto registrations = [&](const fs::path& file) {
        std::ifstream in(file);
        std::string line;
        int count = 0;
        while (std::getline(in, line)) count += !line.empty();
        return count;
    };

    auto app = start({}, {"DBUS_SESSION_BUS_ADDRESS=" + bus.address()});
    ASSERT_TRUE(app);
    auto host = ChildProcess::start({kSystemPython, script.string(), (home / "first").string()},
                                    bus.busEnvironment());
    ASSERT_TRUE(host);
    EXPECT_TRUE(waitUntil([&] { return registrations(home / "first") == 1; }, 10s))
        << "her icon never registered with the tray host";

    // The panel restarts: she registers with the new host too.
    host.reset();
    host = ChildProcess::start({kSystemPython, script.string(), (home / "second").string()},
                               bus.busEnvironment());
    ASSERT_TRUE(host);
    EXPECT_TRUE(waitUntil([&] { return registrations(home / "second") > 0; }, 10s))
        << "her icon did not come back to a restarted host";
    EXPECT_EQ(registrations(home / "second"), 1) << "her icon was announced more than once";
}

}  // namespace
}  // namespace pelliwig
