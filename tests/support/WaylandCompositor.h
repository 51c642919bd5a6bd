#pragma once

// A private Wayland compositor for one test, started headless in a folder of
// its own and ended when dropped:
//
//   WaylandCompositor sway(WaylandCompositor::Kind::sway);
//   if (!sway.ok()) GTEST_SKIP() << sway.why();
//   auto foot = sway.startClient({"foot", "--app-id=left", "sleep", "600"});
//   sway.swaymsg({"[app_id=left] focus"});
//
// sway (wlroots) runs on its headless backend; it refuses to run as root, so
// as root it and its clients run as the unprivileged user kUser, whose
// runtime folder the test (still root) can reach. KWin runs with its virtual
// backend on a private session bus, its scripting and fake input open to any
// client. Clients get the compositor's environment (env()); the test process
// itself connects through the absolute socket path (socketPath()).

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/PrivateDBus.h"

namespace pelliwig::testing {

class WaylandCompositor {
public:
    enum class Kind { sway, kwin };
    static constexpr uid_t kUser = 65534;  // nobody
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 800;
    // The height of the top bar sway is given with Options::topBar.
    static constexpr int kBarHeight = 26;

    struct Options {
        bool xwayland = false;  // X clients too, at the cost of a slower start
        int scale = 1;          // the output's scale: 2 for a 200 % screen
        // sway only: a swaybar at the top of the screen with its tray, on a
        // private session bus of the compositor's.
        bool topBar = false;
    };

    explicit WaylandCompositor(Kind kind) : WaylandCompositor(kind, Options()) {}
    WaylandCompositor(Kind kind, Options options) : kind_(kind) {
        if (!makeFolders()) {
            why_ = "could not make a private runtime folder";
            return;
        }
        if (kind == Kind::sway) {
            startSway(options);
        } else {
            startKWin(options);
        }
    }
    WaylandCompositor(const WaylandCompositor&) = delete;
    WaylandCompositor& operator=(const WaylandCompositor&) = delete;
    ~WaylandCompositor() {
        clients_.clear();
        compositor_.reset();
        bus_.reset();
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }

    bool ok() const { return !socket_.empty(); }
    // Why the compositor is not running, for GTEST_SKIP().
    const std::string& why() const { return why_; }
    Kind kind() const { return kind_; }
    const char* name() const { return kind_ == Kind::sway ? "sway" : "KWin"; }

    // "/tmp/pelliwig-wayland-…/run/wayland-1": what WAYLAND_DISPLAY may hold.
    std::string socketPath() const { return runtime_ + "/" + socket_; }
    // The compositor's private session bus: KWin's, or sway's with a bar;
    // empty otherwise.
    std::string busAddress() const { return bus_ ? bus_->address() : std::string(); }

    // The environment a client of this compositor needs. The locale is one
    // every system has: foot, for one, refuses to start in a missing one.
    std::vector<std::string> env() const {
        std::vector<std::string> env{"WAYLAND_DISPLAY=" + socket_,
                                     "XDG_RUNTIME_DIR=" + runtime_,
                                     "HOME=" + home_,
                                     "XDG_SESSION_TYPE=wayland",
                                     "LANG=C.UTF-8",
                                     "LC_ALL=C.UTF-8"};
        if (bus_) env.push_back("DBUS_SESSION_BUS_ADDRESS=" + bus_->address());
        // sway tells the programs it starts where its IPC socket is.
        if (kind_ == Kind::sway && !swaySocket().empty()) env.push_back("SWAYSOCK=" + swaySocket());
        return env;
    }

    // The compositor user's home folder, for a client's files.
    const std::string& home() const { return home_; }
    // Makes `path` and all below it the compositor user's, so its clients
    // can write there.
    void giveToUser(const std::string& path) const {
        if (!asOtherUser()) return;
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error)) {
            [[maybe_unused]] int ignored = ::chown(entry.path().c_str(), kUser, kUser);
        }
        [[maybe_unused]] int ignored = ::chown(path.c_str(), kUser, kUser);
    }

    // The X display its XWayland serves ("" without one): the DISPLAY the
    // compositor gives the programs it starts, asked of it once.
    std::string xDisplay() {
        if (!xDisplay_.empty() || !ok()) return xDisplay_;
        const std::string file = runtime_ + "/x-display";
        if (kind_ == Kind::sway) swaymsg({"exec", "printenv DISPLAY >" + file});
        waitUntil(
            [&] {
                std::ifstream(file) >> xDisplay_;
                return !xDisplay_.empty();
            },
            10s, 50ms);
        return xDisplay_;
    }

    // Runs a client as the compositor's user and waits for it; its exit code,
    // or -1 when it did not end in time.
    int runClient(std::vector<std::string> argv, std::vector<std::string> extraEnv = {}) const {
        auto vars = env();
        vars.insert(vars.end(), extraEnv.begin(), extraEnv.end());
        return ChildProcess::run(asUser(std::move(argv)), vars, 10s);
    }

    // What a client run as the compositor's user printed; empty when it failed.
    std::string clientOutput(std::vector<std::string> argv,
                             std::vector<std::string> extraEnv = {}) const {
        auto vars = env();
        vars.insert(vars.end(), extraEnv.begin(), extraEnv.end());
        return ChildProcess::output(asUser(std::move(argv)), vars, 10s);
    }

    // Starts a client as the compositor's user; it ends with the compositor.
    bool startClient(std::vector<std::string> argv, std::vector<std::string> extraEnv = {}) {
        auto vars = env();
        vars.insert(vars.end(), extraEnv.begin(), extraEnv.end());
        auto child = ChildProcess::start(asUser(std::move(argv)), vars);
        if (!child) return false;
        clients_.push_back(std::move(*child));
        return true;
    }

    // Ends the compositor now, for tests of one that goes away.
    void stop() {
        clients_.clear();
        compositor_.reset();
        socket_.clear();
    }

    // Runs swaymsg with `args`; true when it reports success. sway only.
    bool swaymsg(std::vector<std::string> args) const {
        if (kind_ != Kind::sway || swaySocket().empty()) return false;
        args.insert(args.begin(), {"swaymsg", "-s", swaySocket()});
        return ChildProcess::run(args, env()) == 0;
    }

    // What swaymsg with `args` prints; empty when it fails. sway only.
    std::string swaymsgOutput(std::vector<std::string> args) const {
        if (kind_ != Kind::sway || swaySocket().empty()) return {};
        args.insert(args.begin(), {"swaymsg", "-s", swaySocket()});
        return ChildProcess::output(args, env());
    }

    // Runs `gdbus call` on KWin's bus; true when the call succeeded. KWin only.
    bool kwinCall(const std::string& path, const std::string& method,
                  const std::vector<std::string>& arguments = {}) const {
        return bus_ && bus_->call("org.kde.KWin", path, method, arguments);
    }

private:
    bool makeFolders() {
        std::string pattern = std::filesystem::temp_directory_path() / "pelliwig-wayland-XXXXXX";
        if (!mkdtemp(pattern.data())) return false;
        folder_ = pattern;
        runtime_ = folder_ + "/run";
        home_ = folder_ + "/home";
        std::error_code error;
        std::filesystem::create_directories(runtime_, error);
        std::filesystem::create_directories(home_, error);
        ::chmod(runtime_.c_str(), 0700);
        return !error;
    }

    bool asOtherUser() const { return kind_ == Kind::sway && ::getuid() == 0; }

    std::vector<std::string> asUser(std::vector<std::string> argv) const {
        if (!asOtherUser()) return argv;
        const std::string id = std::to_string(kUser);
        argv.insert(argv.begin(),
                    {"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups", "--"});
        return argv;
    }

    void giveFoldersToUser() const {
        if (!asOtherUser()) return;
        for (const auto& path : {folder_, runtime_, home_}) {
            if (::chown(path.c_str(), kUser, kUser) != 0) return;
        }
    }

    void startSway(const Options& options) {
        if (findProgram("sway").empty()) {
            why_ = "sway is not installed";
            return;
        }
        if (asOtherUser() && findProgram("setpriv").empty()) {
            why_ = "setpriv is not installed, and sway refuses to run as root";
            return;
        }
        const std::string config = folder_ + "/sway.config";
        std::ofstream(config) << "xwayland " << (options.xwayland ? "enable" : "disable") << "\n"
                              << "output HEADLESS-1 resolution " << kWidth * options.scale << "x"
                              << kHeight * options.scale << " scale " << options.scale << "\n"
                              << (options.topBar
                                      ? "bar {\n  position top\n  height " +
                                            std::to_string(kBarHeight) + "\n  tray_output *\n}\n"
                                      : std::string());
        if (options.topBar) {
            if (auto missing = PrivateDBus::missingTools()) {
                why_ = *missing;
                return;
            }
            bus_.emplace();
            if (!bus_->start()) {
                why_ = "no private D-Bus daemon for swaybar's tray";
                return;
            }
        }
        giveFoldersToUser();
        std::vector<std::string> env = this->env();
        env.erase(env.begin());  // sway names its own socket
        env.insert(env.end(),
                   {"WLR_BACKENDS=headless", "WLR_LIBINPUT_NO_DEVICES=1", "WLR_RENDERER=pixman"});
        auto sway = ChildProcess::start(asUser({"sway", "-c", config}), env);
        if (!sway) {
            why_ = "sway did not start";
            return;
        }
        compositor_ = std::move(*sway);
        std::string socket;
        const bool up = waitUntil(
            [&] {
                socket = waylandSocket();
                return !compositor_->running() || (!socket.empty() && !swaySocket().empty());
            },
            20s);
        if (!up || !compositor_->running()) {
            why_ = "sway did not come up headless";
            return;
        }
        socket_ = socket;
        if (!waitUntil([&] { return swaymsg({"-t", "get_version"}); }, 10s, 50ms)) {
            socket_.clear();
            why_ = "sway does not answer on its IPC socket";
        }
    }

    void startKWin(const Options& options) {
        const std::string installed = findProgram("kwin_wayland");
        if (installed.empty()) {
            why_ = "kwin_wayland is not installed (package kwin-wayland)";
            return;
        }
        if (auto missing = PrivateDBus::missingTools()) {
            why_ = *missing;
            return;
        }
        if (findProgram("gdbus").empty()) {
            why_ = "gdbus is not installed (package libglib2.0-bin)";
            return;
        }
        // The installed binary carries a file capability that sandboxes may
        // refuse to grant; a plain copy runs. KWin checks its own name.
        const std::string binary = folder_ + "/kwin_wayland";
        std::error_code error;
        std::filesystem::copy_file(installed, binary, error);
        if (error) {
            why_ = "could not copy kwin_wayland";
            return;
        }
        bus_.emplace();
        if (!bus_->start()) {
            why_ = "no private D-Bus daemon for KWin";
            return;
        }
        const std::string socket = "wayland-pelliwig";
        std::vector<std::string> argv{binary,     "--virtual",
                                      "--socket", socket,
                                      "--width",  std::to_string(kWidth * options.scale),
                                      "--height", std::to_string(kHeight * options.scale),
                                      "--scale",  std::to_string(options.scale)};
        // KWin gives the programs it is asked to start its XWayland's DISPLAY.
        if (options.xwayland) {
            argv.insert(argv.end(),
                        {"--xwayland", "sh -c 'printenv DISPLAY >" + runtime_ + "/x-display'"});
        }
        std::vector<std::string> env = this->env();
        env.erase(env.begin());
        env.insert(env.end(), {"KWIN_WAYLAND_NO_PERMISSION_CHECKS=1",
                               "KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1", "QT_QPA_PLATFORM="});
        auto kwin = ChildProcess::start(argv, env);
        if (!kwin) {
            why_ = "kwin_wayland did not start";
            return;
        }
        compositor_ = std::move(*kwin);
        // Up once its scripting answers, which comes after the socket.
        const bool up = waitUntil(
            [&] {
                return !compositor_->running() ||
                       (std::filesystem::exists(runtime_ + "/" + socket) &&
                        bus_->call("org.kde.KWin", "/Scripting",
                                   "org.kde.kwin.Scripting.isScriptLoaded", {"none"}));
            },
            40s, 100ms);
        if (!up || !compositor_->running()) {
            why_ = "kwin_wayland --virtual did not come up";
            return;
        }
        socket_ = socket;
    }

    // The compositor's Wayland socket in the runtime folder; empty until it exists.
    std::string waylandSocket() const {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(runtime_, error)) {
            const std::string name = entry.path().filename();
            if (name.starts_with("wayland-") && !name.ends_with(".lock")) return name;
        }
        return {};
    }

    std::string swaySocket() const {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(runtime_, error)) {
            if (entry.path().filename().string().starts_with("sway-ipc.")) return entry.path();
        }
        return {};
    }

    Kind kind_;
    std::string folder_, runtime_, home_;
    std::string socket_;
    std::string xDisplay_;
    std::string why_;
    std::optional<PrivateDBus> bus_;
    std::optional<ChildProcess> compositor_;
    std::vector<ChildProcess> clients_;
};

}  // namespace pelliwig::testing
