// The real program as a screen reader sees it: on a private X server and a
// private session bus with the accessibility bus up, a real AT-SPI client
// (pyatspi) finds her line as an alert, hears it announced, lists her answer
// buttons and presses one, and hears her reaction.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "core/content/LineBank.h"
#include "support/ChildProcess.h"
#include "support/PrivateDBus.h"
#include "support/ProgramHome.h"
#include "support/ProgramPath.h"
#include "support/XvfbServer.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using namespace pelliwig::testing;
using namespace std::chrono_literals;

constexpr const char* kBusLauncher = "/usr/libexec/at-spi-bus-launcher";

// The screen reader's side. It listens first, then has her speak (a second
// launch hands "--preview water" over), waits for her alert, lists it and
// presses the answer named in argv[3], waits for the reply, and writes what
// it saw as JSON to argv[2].
constexpr const char* kClient = R"(
import json, subprocess, sys, time
import pyatspi
from gi.repository import GLib

program, out, press = sys.argv[1], sys.argv[2], sys.argv[3]
seen = {'events': [], 'alerts': [], 'buttons': [], 'pressed': False, 'reply': None}

def on_event(event):
    try:
        if event.source.getRole() != pyatspi.ROLE_ALERT:
            return
        seen['events'].append({'type': event.type, 'detail': event.detail1,
                               'name': event.source.name})
    except Exception:
        pass

def alerts(node, found, depth=0):
    if node is None or depth > 12:
        return found
    try:
        if node.getRole() == pyatspi.ROLE_ALERT and node.getState().contains(pyatspi.STATE_SHOWING):
            found.append(node)
        for child in node:
            alerts(child, found, depth + 1)
    except Exception:
        pass
    return found

def her():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name in ('Zuzi', 'pelliwig'):
            return app
    return None

state = {'step': 'speak', 'deadline': time.time() + 40, 'first': None}

def tick():
    if time.time() > state['deadline']:
        pyatspi.Registry.stop()
        return False
    if state['step'] == 'speak':
        subprocess.run([program, '--preview', 'water'], check=False)
        state['step'] = 'find'
        return True
    found = alerts(her(), [])
    if state['step'] == 'find' and found:
        alert = found[0]
        state['first'] = alert.name
        seen['alerts'].append(alert.name)
        for child in alert:
            if child.getRole() == pyatspi.ROLE_PUSH_BUTTON:
                seen['buttons'].append({
                    'name': child.name,
                    'focusable': child.getState().contains(pyatspi.STATE_FOCUSABLE),
                    'actions': [child.queryAction().getName(i)
                                for i in range(child.queryAction().nActions)]})
            if child.getRole() in (pyatspi.ROLE_IMAGE,):
                seen.setdefault('images', []).append(child.description)
        for child in alert:
            if child.getRole() == pyatspi.ROLE_PUSH_BUTTON and child.name == press:
                seen['pressed'] = child.queryAction().doAction(0)
        state['step'] = 'reply'
        return True
    if state['step'] == 'reply':
        for alert in found:
            if alert.name and alert.name != state['first']:
                seen['reply'] = alert.name
        if seen['reply'] and any(e['name'] == seen['reply'] for e in seen['events']):
            pyatspi.Registry.stop()
            return False
    return True

pyatspi.Registry.registerEventListener(on_event, 'object:state-changed:showing',
                                       'object:property-change:accessible-name')
GLib.timeout_add(300, tick)
pyatspi.Registry.start()
json.dump(seen, open(out, 'w'))
)";

class ScreenReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(program)) GTEST_SKIP() << "no program at " << program;
        if (::access(kBusLauncher, X_OK) != 0) {
            GTEST_SKIP() << kBusLauncher << " is not installed (package at-spi2-core)";
        }
        if (ChildProcess::run({kSystemPython, "-c", "import pyatspi"}) != 0) {
            GTEST_SKIP() << "pyatspi is not importable by " << kSystemPython
                         << " (package python3-pyatspi)";
        }
        if (auto missing = PrivateDBus::missingTools()) GTEST_SKIP() << *missing;
        if (!server.ok()) GTEST_SKIP() << server.why();
        if (!wm.ok()) GTEST_SKIP() << wm.why();
        ASSERT_TRUE(bus.start());
        // Only the preview speaks.
        home.store(quietSettings(R"("water")"));
        home.store("language", R"({"value":"english"})");
        home.store("showSeconds", R"({"value":20})");
    }

    std::vector<std::string> env() const {
        auto vars = server.env();
        const auto buses = bus.busEnvironment();
        vars.insert(vars.end(), buses.begin(), buses.end());
        vars.push_back("QT_QPA_PLATFORM=xcb");
        vars.push_back("QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1");
        vars.push_back("NO_AT_BRIDGE=0");
        const auto own = home.env();
        vars.insert(vars.end(), own.begin(), own.end());
        return vars;
    }

    const fs::path program = programPath();
    const ProgramHome home{"a11y"};
    XvfbServer server;
    OpenboxSession wm{server};
    PrivateDBus bus;
};

bool isOneOf(const std::string& text, const std::vector<std::string>& lines) {
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

std::vector<std::string> english(const LineBank::LanguageTable& table) {
    return table.at(Language::english);
}

TEST_F(ScreenReaderTest, ReadsHerLineHearsItAndPressesAnAnswer) {
    auto launcher = ChildProcess::start({kBusLauncher, "--launch-immediately"}, env());
    ASSERT_TRUE(launcher);
    ASSERT_TRUE(bus.waitForName("org.a11y.Bus"));
    auto app = ChildProcess::start({program.string()}, env());
    ASSERT_TRUE(app);
    ASSERT_TRUE(waitUntil(
        [&] {
            return server.xdotool({"search", "--name", "^Pelliwig hover$"});
        },
        15s))
        << "she never built her notch";

    const fs::path script = home / "screen-reader.py";
    const fs::path seenFile = home / "seen.json";
    std::ofstream(script) << kClient;
    const auto ended = ChildProcess::errors(
        {kSystemPython, script.string(), program.string(), seenFile.string(), "In 10 min"}, env(),
        60s);
    ASSERT_EQ(ended.status, 0) << ended.errors;
    std::ifstream in(seenFile);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const QJsonObject seen = QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
    ASSERT_FALSE(seen.isEmpty()) << text << ended.errors;

    // Her line, as the alert's name, is one of her water lines.
    const auto& tables = LineBank::tables();
    std::vector<std::string> water = tables.english.at(ReminderKind::water);
    const auto streak = english(tables.waterStreak);
    water.insert(water.end(), streak.begin(), streak.end());
    const QJsonArray alerts = seen["alerts"].toArray();
    ASSERT_FALSE(alerts.isEmpty()) << "no alert in her accessible tree: " << text;
    const std::string line = alerts[0].toString().toStdString();
    EXPECT_TRUE(isOneOf(line, water)) << line;

    // Announced: the reader heard it come to show with that name.
    bool announced = false;
    for (const auto event : seen["events"].toArray()) {
        const QJsonObject e = event.toObject();
        announced = announced || (e["type"].toString() == "object:state-changed:showing" &&
                                  e["detail"].toInt() == 1 && e["name"].toString() == alerts[0]);
    }
    EXPECT_TRUE(announced) << text;

    // Her answers, by their labels, each a focusable push button that presses.
    std::map<std::string, QJsonObject> buttons;
    for (const auto button : seen["buttons"].toArray()) {
        buttons[button.toObject()["name"].toString().toStdString()] = button.toObject();
    }
    for (const char* label : {"Drank \U0001F4A7", "In 10 min", "Close"}) {
        ASSERT_TRUE(buttons.contains(label)) << label << " missing: " << text;
        EXPECT_TRUE(buttons[label]["focusable"].toBool()) << label;
        EXPECT_FALSE(buttons[label]["actions"].toArray().isEmpty()) << label;
    }
    EXPECT_TRUE(seen["pressed"].toBool()) << text;

    // Pressing "In 10 min" brings her snooze reply, announced in its turn.
    std::vector<std::string> replies = english(tables.snoozed);
    const auto again = english(tables.snoozedAgain);
    replies.insert(replies.end(), again.begin(), again.end());
    const std::string reply = seen["reply"].toString().toStdString();
    EXPECT_TRUE(isOneOf(reply, replies)) << "reply: " << reply << "\n" << text;
}

}  // namespace
}  // namespace pelliwig
