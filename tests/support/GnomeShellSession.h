#pragma once

// GNOME Shell for one test, headless, with XWayland, on private system and
// session buses, ended when dropped:
//
//   GnomeShellSession gnome({.scale = 2});
//   if (!gnome.ok()) GTEST_SKIP() << gnome.why();
//   gnome.startClient({"foot", "--fullscreen", "sleep", "600"});
//   gnome.pointTo(1280, 70);
//   QImage screen = gnome.screenshot();
//
// It runs on one virtual monitor of kWidth x kHeight logical pixels at
// `scale` (its physical pixels are those times the scale; GNOME 43 lays
// monitors out in physical pixels, so X clients see the physical size and
// get Xft.dpi to match, as GNOME's settings daemon gives them). Its top bar's
// hot corner is off, so a pointer parked at the top left opens nothing, and
// the warning that the screen cannot be locked is marked as already shown.
//
// As root the shell and its clients run as the unprivileged user kUser, with
// a home and runtime folder of that user; the test itself (root) reads the
// X authority file and talks to the buses. Screenshots and pointer input go
// through the shell's own D-Bus interfaces, on one connection held for the
// session (the remote desktop session lives as long as the connection).

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QImage>

#include "support/ChildProcess.h"
#include "support/PrivateDBus.h"
#include "support/QtDBusSupport.h"

namespace pelliwig::testing {

class GnomeShellSession {
public:
    static constexpr uid_t kUser = 65534;  // nobody
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 800;
    // Linux input event codes, as NotifyPointerButton takes them.
    static constexpr int kLeftButton = 0x110;
    static constexpr int kRightButton = 0x111;

    struct Options {
        int scale = 1;  // 1 or 2
    };

    explicit GnomeShellSession(Options options) : scale_(options.scale) {
        if (auto missing = missingTools()) {
            why_ = *missing;
            return;
        }
        if (!makeFolders()) {
            why_ = "could not make the session's folders";
            return;
        }
        if (!systemBus_.start() || !sessionBus_.start()) {
            why_ = "no private D-Bus daemons for GNOME Shell";
            return;
        }
        start();
    }
    GnomeShellSession(const GnomeShellSession&) = delete;
    GnomeShellSession& operator=(const GnomeShellSession&) = delete;
    ~GnomeShellSession() {
        clients_.clear();
        connection_.reset();
        shell_.reset();
        removeStaleLocks();
        sessionBus_.stop();
        systemBus_.stop();
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }

    bool ok() const { return ready_; }
    // Why the session is not running, for GTEST_SKIP().
    const std::string& why() const { return why_; }

    int scale() const { return scale_; }
    // The monitor in physical pixels, which X clients and screenshots use.
    int width() const { return kWidth * scale_; }
    int height() const { return kHeight * scale_; }

    // ":2": XWayland's display.
    const std::string& xDisplay() const { return xDisplay_; }
    const std::string& sessionBusAddress() const { return sessionBus_.address(); }

    // What a client of this session needs: its Wayland and X displays, its
    // buses, a home of the session's user and a locale every system has.
    std::vector<std::string> env() const {
        return {"WAYLAND_DISPLAY=" + kSocket,
                "DISPLAY=" + xDisplay_,
                "XAUTHORITY=" + xAuthority_,
                "XDG_RUNTIME_DIR=" + runtime_,
                "HOME=" + home_,
                "XDG_CONFIG_HOME=" + home_ + "/.config",
                "XDG_DATA_HOME=" + home_ + "/.local/share",
                "XDG_CACHE_HOME=" + home_ + "/.cache",
                "XDG_STATE_HOME=" + home_ + "/.local/state",
                "XDG_SESSION_TYPE=wayland",
                "XDG_CURRENT_DESKTOP=GNOME",
                "DBUS_SESSION_BUS_ADDRESS=" + sessionBus_.address(),
                "DBUS_SYSTEM_BUS_ADDRESS=" + systemBus_.address(),
                "GSETTINGS_BACKEND=keyfile",
                "LANG=C.UTF-8",
                "LC_ALL=C.UTF-8"};
    }

    // Starts a client as the session's user with env() and `extraEnv` over
    // it; the client ends when it is dropped.
    std::optional<ChildProcess> start(std::vector<std::string> argv,
                                      const std::vector<std::string>& extraEnv = {}) const {
        std::vector<std::string> vars(extraEnv);
        for (const auto& var : env()) {
            const auto name = var.substr(0, var.find('=') + 1);
            const bool overridden = std::any_of(vars.begin(), vars.end(),
                                                [&](const auto& e) { return e.starts_with(name); });
            if (!overridden) vars.push_back(var);
        }
        return ChildProcess::start(asUser(std::move(argv)), vars);
    }
    // The same, for a client that ends with the session.
    bool startClient(std::vector<std::string> argv) {
        auto child = start(std::move(argv));
        if (!child) return false;
        clients_.push_back(std::move(*child));
        return true;
    }

    // Gives `path` to the session's user, so its clients can use it.
    void giveToUser(const std::filesystem::path& path) const {
        if (!asOtherUser()) return;
        std::error_code error;
        if (::chown(path.c_str(), kUser, kUser) != 0) return;
        if (!std::filesystem::is_directory(path, error)) return;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error)) {
            if (::chown(entry.path().c_str(), kUser, kUser) != 0) return;
        }
    }

    // Runs an X tool (xdotool, xprop) on XWayland's display; what it printed,
    // or nothing when it failed.
    std::string x(std::vector<std::string> argv) const {
        return ChildProcess::output(argv, xEnv());
    }

    // Moves the pointer to (x, y) in physical pixels. Mutter reads relative
    // motion in logical pixels: a long move up and left parks it at the
    // origin (the hot corner is off), the second goes to the point.
    bool pointTo(int x, int y) {
        return moveBy(-2.0 * kWidth, -2.0 * kHeight) &&
               moveBy(static_cast<double>(x) / scale_, static_cast<double>(y) / scale_);
    }
    // Moves it by (dx, dy) logical pixels.
    bool moveBy(double dx, double dy) {
        return remoteDesktop("NotifyPointerMotionRelative", {dx, dy});
    }
    // Presses and releases a pointer button where the pointer is.
    bool click(int button) {
        return remoteDesktop("NotifyPointerButton", {button, true}) &&
               remoteDesktop("NotifyPointerButton", {button, false});
    }

    // The whole screen in physical pixels, without the pointer; a null
    // image when the shell took none. A copy is kept at `saveAs` if given.
    QImage screenshot(const std::filesystem::path& saveAs = {}) {
        const std::string file = shots_ + "/" + std::to_string(++shotCount_) + ".png";
        const auto reply =
            connection_->get().call(QDBusMessage::createMethodCall(
                                        "org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot",
                                        "org.gnome.Shell.Screenshot", "Screenshot")
                                        << false << false << QString::fromStdString(file),
                                    QDBus::Block, 10000);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().value(0) != true) {
            return {};
        }
        QImage image(QString::fromStdString(file));
        if (!saveAs.empty() && !image.isNull()) {
            std::error_code error;
            std::filesystem::create_directories(saveAs.parent_path(), error);
            image.save(QString::fromStdString(saveAs.string()));
        }
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        return image.convertToFormat(QImage::Format_RGB32);
    }

private:
    inline static const std::string kSocket = "wayland-pelliwig";

    static std::optional<std::string> missingTools() {
        if (findProgram("gnome-shell").empty()) return "gnome-shell is not installed";
        if (findProgram("Xwayland").empty()) return "Xwayland is not installed (package xwayland)";
        if (::getuid() == 0 && findProgram("setpriv").empty()) {
            return "setpriv is not installed, and GNOME Shell should not run as root";
        }
        if (auto missing = PrivateDBus::missingTools()) return missing;
        for (const char* tool : {"xdotool", "xprop"}) {
            if (findProgram(tool).empty()) return std::string(tool) + " is not installed";
        }
        return std::nullopt;
    }

    bool asOtherUser() const { return ::getuid() == 0; }

    std::vector<std::string> xEnv() const {
        return {"DISPLAY=" + xDisplay_, "XAUTHORITY=" + xAuthority_};
    }

    std::vector<std::string> asUser(std::vector<std::string> argv) const {
        if (!asOtherUser()) return argv;
        const std::string id = std::to_string(kUser);
        argv.insert(argv.begin(),
                    {"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups", "--"});
        return argv;
    }

    bool makeFolders() {
        std::string pattern = std::filesystem::temp_directory_path() / "pelliwig-gnome-XXXXXX";
        if (!mkdtemp(pattern.data())) return false;
        folder_ = pattern;
        runtime_ = folder_ + "/run";
        home_ = folder_ + "/home";
        shots_ = folder_ + "/shots";
        std::error_code error;
        for (const auto& dir : {runtime_, shots_, home_ + "/.config/glib-2.0/settings",
                                home_ + "/.local/share/gnome-shell"}) {
            std::filesystem::create_directories(dir, error);
        }
        if (error || ::chmod(folder_.c_str(), 0755) != 0 || ::chmod(runtime_.c_str(), 0700) != 0) {
            return false;
        }
        // Without GDM the shell warns, once, across the top of the screen
        // that it cannot lock it; the marker says it has done so.
        std::ofstream(home_ + "/.local/share/gnome-shell/lock-warning-shown");
        std::ofstream(home_ + "/.config/glib-2.0/settings/keyfile")
            << "[org/gnome/desktop/interface]\n"
               "enable-hot-corners=false\n"
               "\n"
               "[org/gnome/shell]\n"
               "welcome-dialog-last-shown-version='999'\n";
        if (scale_ != 1) {
            std::ofstream(home_ + "/.config/monitors.xml") << monitorsXml();
        }
        for (const auto& path : {folder_, runtime_, home_, shots_}) giveToUser(path);
        return true;
    }

    // The virtual monitor at the session's scale; mutter names it so.
    std::string monitorsXml() const {
        std::ostringstream xml;
        xml << "<monitors version=\"2\">\n<configuration>\n<logicalmonitor>\n"
               "<x>0</x><y>0</y><scale>"
            << scale_
            << "</scale><primary>yes</primary>\n<monitor>\n<monitorspec>"
               "<connector>Meta-0</connector><vendor>MetaVendor</vendor>"
               "<product>MetaVirtualMonitor</product><serial>0x00</serial>"
               "</monitorspec>\n<mode><width>"
            << width() << "</width><height>" << height()
            << "</height><rate>60.000</rate></mode>\n"
               "</monitor>\n</logicalmonitor>\n</configuration>\n</monitors>\n";
        return xml.str();
    }

    void start() {
        std::vector<std::string> vars = env();
        // Mutter picks and exports the X display itself.
        std::erase_if(vars, [](const std::string& v) {
            return v.starts_with("DISPLAY=") || v.starts_with("XAUTHORITY=") ||
                   v.starts_with("WAYLAND_DISPLAY=");
        });
        const std::string size = std::to_string(width()) + "x" + std::to_string(height());
        shell_ =
            ChildProcess::start(asUser({"gnome-shell", "--headless", "--wayland",
                                        "--wayland-display", kSocket, "--virtual-monitor", size}),
                                vars, folder_ + "/shell.log");
        if (!shell_) {
            why_ = "gnome-shell did not start";
            return;
        }
        connection_.emplace(sessionBus_.address());
        auto& bus = connection_->get();
        const bool up = waitUntil(
            [&] {
                if (!shell_->running()) return true;
                if (!bus.interface()->isServiceRegistered("org.gnome.Shell").value()) return false;
                findXDisplay();
                return !xDisplay_.empty() && !x({"xprop", "-root", "_NET_SUPPORTED"}).empty();
            },
            30s, 50ms);
        if (!up || !shell_->running()) {
            why_ = "gnome-shell --headless did not come up with XWayland (see " + folder_ +
                   "/shell.log)";
            return;
        }
        // It opens in the overview once its start-up animation ends.
        waitUntil([&] { return overviewActive(); }, 10s, 50ms);
        if (!setOverviewActive(false) || !waitUntil([&] { return !overviewActive(); }, 5s, 20ms)) {
            why_ = "gnome-shell stays in the overview";
            return;
        }
        // As GNOME's settings daemon does, for X clients to draw at the scale.
        if (scale_ != 1 && ChildProcess::run({"xprop", "-root", "-f", "RESOURCE_MANAGER", "8s",
                                              "-set", "RESOURCE_MANAGER",
                                              "Xft.dpi:\t" + std::to_string(96 * scale_) + "\n"},
                                             xEnv()) != 0) {
            why_ = "could not give XWayland's clients Xft.dpi";
            return;
        }
        // Only allow-listed callers may take screenshots.
        bus.interface()->registerService("org.gnome.Screenshot");
        if (!startRemoteDesktop()) return;
        ready_ = true;
    }

    // XWayland's display: mutter locks the lowest number for it (and the
    // next for itself) with its own pid in the lock files.
    void findXDisplay() {
        std::vector<int> numbers;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator("/tmp", error)) {
            const std::string name = entry.path().filename();
            if (!name.starts_with(".X") || !name.ends_with("-lock")) continue;
            std::ifstream in(entry.path());
            pid_t pid = 0;
            if (in >> pid && pid == shell_->pid()) {
                numbers.push_back(std::atoi(name.c_str() + 2));
                locks_.push_back(entry.path());
            }
        }
        if (numbers.empty()) return;
        std::sort(locks_.begin(), locks_.end());
        locks_.erase(std::unique(locks_.begin(), locks_.end()), locks_.end());
        xDisplay_ = ":" + std::to_string(*std::min_element(numbers.begin(), numbers.end()));
        for (const auto& entry : std::filesystem::directory_iterator(runtime_, error)) {
            if (entry.path().filename().string().starts_with(".mutter-Xwaylandauth.")) {
                xAuthority_ = entry.path();
            }
        }
    }

    // A shell that had to be killed leaves its X locks and sockets behind.
    void removeStaleLocks() {
        std::error_code ignored;
        for (const auto& lock : locks_) {
            std::ifstream in(lock);
            pid_t pid = 0;
            if (!(in >> pid) || ::kill(pid, 0) == 0) continue;
            const std::string number = lock.filename().string().substr(2);
            std::filesystem::remove(lock, ignored);
            std::filesystem::remove("/tmp/.X11-unix/X" + number.substr(0, number.find('-')),
                                    ignored);
        }
    }

    QDBusMessage shellProperty(const char* method, const QVariantList& arguments) {
        auto message = QDBusMessage::createMethodCall("org.gnome.Shell", "/org/gnome/Shell",
                                                      "org.freedesktop.DBus.Properties", method);
        message.setArguments(arguments);
        return connection_->get().call(message, QDBus::Block, 5000);
    }
    bool overviewActive() {
        const auto reply = shellProperty("Get", {"org.gnome.Shell", "OverviewActive"});
        return reply.type() == QDBusMessage::ReplyMessage &&
               reply.arguments().value(0).value<QDBusVariant>().variant().toBool();
    }
    bool setOverviewActive(bool active) {
        return shellProperty("Set", {"org.gnome.Shell", "OverviewActive",
                                     QVariant::fromValue(QDBusVariant(active))})
                   .type() == QDBusMessage::ReplyMessage;
    }

    bool startRemoteDesktop() {
        const auto reply = connection_->get().call(
            QDBusMessage::createMethodCall("org.gnome.Mutter.RemoteDesktop",
                                           "/org/gnome/Mutter/RemoteDesktop",
                                           "org.gnome.Mutter.RemoteDesktop", "CreateSession"),
            QDBus::Block, 5000);
        if (reply.type() != QDBusMessage::ReplyMessage) {
            why_ = "mutter offers no remote desktop session for pointer input";
            return false;
        }
        remoteSession_ = reply.arguments().value(0).value<QDBusObjectPath>().path();
        if (!remoteDesktop("Start", {})) {
            why_ = "mutter's remote desktop session did not start";
            return false;
        }
        return true;
    }
    bool remoteDesktop(const char* method, const QVariantList& arguments) {
        if (!connection_ || remoteSession_.isEmpty()) return false;
        auto message =
            QDBusMessage::createMethodCall("org.gnome.Mutter.RemoteDesktop", remoteSession_,
                                           "org.gnome.Mutter.RemoteDesktop.Session", method);
        message.setArguments(arguments);
        return connection_->get().call(message, QDBus::Block, 5000).type() ==
               QDBusMessage::ReplyMessage;
    }

    int scale_;
    std::string folder_, runtime_, home_, shots_;
    std::string xDisplay_, xAuthority_;
    std::vector<std::filesystem::path> locks_;
    std::string why_;
    bool ready_ = false;
    int shotCount_ = 0;
    PrivateDBus systemBus_, sessionBus_;
    std::optional<ChildProcess> shell_;
    std::optional<BusConnection> connection_;
    QString remoteSession_;
    std::vector<ChildProcess> clients_;
};

}  // namespace pelliwig::testing
