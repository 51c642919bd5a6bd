#pragma once

#include <xcb/xcb.h>

#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "linux/x11/XcbConnection.h"

namespace pelliwig::testing {

// True when an X client can connect to `display` right now.
inline bool acceptsConnections(const std::string& display) {
    return XcbConnection(display).ok();
}

// A private X server for one test: Xvfb on the first free display from :90
// on, local connections only, ended when dropped. Tests check ok() and skip
// with why() when no server could be started.
class XvfbServer {
public:
    static constexpr int kFirstDisplay = 90;
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 800;

    XvfbServer() {
        const std::string xvfb = findProgram("Xvfb");
        if (xvfb.empty()) {
            why_ = "Xvfb is not installed";
            return;
        }
        for (int number = kFirstDisplay; number < kFirstDisplay + 40 && !ok(); ++number) {
            tryDisplay(xvfb, number);
        }
        if (!ok()) why_ = "Xvfb did not start on any display from :90";
    }

    bool ok() const { return !display_.empty(); }
    const std::string& why() const { return why_; }
    // ":93"
    const std::string& display() const { return display_; }
    // The environment a program started for this server needs.
    std::vector<std::string> env() const { return {"DISPLAY=" + display_}; }

    // A display number nothing listens on, for tests of a missing server.
    static std::string deadDisplay() {
        for (int number = kFirstDisplay + 100;; ++number) {
            if (!std::filesystem::exists(lockFile(number)) &&
                !std::filesystem::exists(socketFile(number))) {
                return ":" + std::to_string(number);
            }
        }
    }

    // Runs xdotool on this display; true when it exits with 0.
    bool xdotool(std::vector<std::string> args) const {
        args.insert(args.begin(), "xdotool");
        return ChildProcess::run(args, env()) == 0;
    }

    // Ends the server now, for tests of a server that goes away.
    void kill() {
        server_.stop();
        display_.clear();
    }

private:
    static std::filesystem::path lockFile(int number) {
        return "/tmp/.X" + std::to_string(number) + "-lock";
    }
    static std::filesystem::path socketFile(int number) {
        return "/tmp/.X11-unix/X" + std::to_string(number);
    }

    // The pid the lock file of `number` names; another test's server may
    // win a race for the same number, so connecting alone proves nothing.
    static int lockOwner(int number) {
        std::ifstream in(lockFile(number));
        int pid = -1;
        in >> pid;
        return pid;
    }

    void tryDisplay(const std::string& xvfb, int number) {
        if (std::filesystem::exists(lockFile(number))) return;
        const std::string name = ":" + std::to_string(number);
        const std::string screen = std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24";
        auto server = ChildProcess::start(
            {xvfb, name, "-screen", "0", screen, "-nolisten", "tcp", "-noreset"});
        if (!server) return;
        const bool up = waitUntil([&] {
            return !server->running() ||
                   (lockOwner(number) == server->pid() && acceptsConnections(name));
        });
        if (up && server->running()) {
            server_ = std::move(*server);
            display_ = name;
        }
    }

    ChildProcess server_;
    std::string display_;
    std::string why_;
};

// The openbox window manager on a test's X server, so that windows can be
// activated and _NET_ACTIVE_WINDOW is kept. ok() once it manages the screen.
class OpenboxSession {
public:
    explicit OpenboxSession(const XvfbServer& server) {
        const std::string openbox = findProgram("openbox");
        if (openbox.empty()) {
            why_ = "openbox is not installed";
            return;
        }
        auto wm = ChildProcess::start({openbox, "--sm-disable"}, server.env());
        if (!wm || !waitUntil([&] { return !wm->running() || managed(server.display()); })) {
            why_ = "openbox did not take over the screen";
            return;
        }
        if (!wm->running()) {
            why_ = "openbox exited at start";
            return;
        }
        wm_ = std::move(*wm);
    }

    bool ok() const { return wm_.pid() > 0; }
    const std::string& why() const { return why_; }

private:
    // An EWMH window manager announces itself with _NET_SUPPORTING_WM_CHECK
    // on the root window once it has set up.
    static bool managed(const std::string& display) {
        XcbConnection x(display);
        const auto check = x.property(x.root(), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW, 1);
        return check && xcb_get_property_value_length(check.get()) == 4;
    }

    ChildProcess wm_;
    std::string why_;
};

}  // namespace pelliwig::testing
