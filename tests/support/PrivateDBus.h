#pragma once

// A private D-Bus daemon for integration tests, and python-dbusmock services
// on it. Tests point the adapters (and the mocks, through both
// DBUS_SYSTEM_BUS_ADDRESS and DBUS_SESSION_BUS_ADDRESS) at this one bus, so
// nothing on the machine's own buses is touched or relied upon.
//
//   PrivateDBus bus;
//   if (auto missing = PrivateDBus::missingMockTools()) GTEST_SKIP() << *missing;
//   ASSERT_TRUE(bus.start());
//   ASSERT_TRUE(bus.startMock({"--template", "upower"}, "org.freedesktop.UPower"));
//   bus.call("org.freedesktop.UPower", "/org/freedesktop/UPower",
//            "org.freedesktop.DBus.Mock.AddAC", {"ac", "Mains"});

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/ChildProcess.h"

namespace pelliwig::testing {

// Where python-dbusmock is installed: the distribution's interpreter, which
// need not be the first python3 on PATH.
inline constexpr const char* kSystemPython = "/usr/bin/python3";

class PrivateDBus {
public:
    PrivateDBus() = default;
    PrivateDBus(const PrivateDBus&) = delete;
    PrivateDBus& operator=(const PrivateDBus&) = delete;
    ~PrivateDBus() { stop(); }

    // Why no private bus can run here; nothing when it can.
    static std::optional<std::string> missingTools() {
        if (findProgram("dbus-daemon").empty())
            return "dbus-daemon is not installed (package dbus)";
        return std::nullopt;
    }
    // The same, for a bus with python-dbusmock services driven through gdbus.
    static std::optional<std::string> missingMockTools() {
        if (auto missing = missingTools()) return missing;
        if (findProgram("gdbus").empty()) return "gdbus is not installed (package libglib2.0-bin)";
        static const bool hasDbusmock =
            ChildProcess::run({kSystemPython, "-c", "import dbusmock"}) == 0;
        if (!hasDbusmock) {
            return std::string("python-dbusmock is not importable by ") + kSystemPython +
                   " (package python3-dbusmock)";
        }
        return std::nullopt;
    }

    // Starts the daemon and waits until it accepts connections; false when
    // it did not.
    bool start() {
        if (missingTools() || !makeFolder()) return false;
        const std::string socket = folder_ + "/bus";
        std::ofstream(folder_ + "/bus.conf") << configText(socket);
        daemon_ = ChildProcess::start({"dbus-daemon", "--config-file=" + folder_ + "/bus.conf",
                                       "--nofork", "--nopidfile", "--nosyslog"});
        if (!daemon_ || !waitUntil([&] { return accepts(socket) || !daemon_->running(); }, 5s) ||
            !daemon_->running()) {
            return false;
        }
        address_ = "unix:path=" + socket;
        return true;
    }

    // The address clients connect to; empty until started.
    const std::string& address() const { return address_; }

    // The environment that makes both the system and the session bus of a
    // child process this one.
    std::vector<std::string> busEnvironment() const {
        return {"DBUS_SYSTEM_BUS_ADDRESS=" + address_, "DBUS_SESSION_BUS_ADDRESS=" + address_};
    }

    // Starts `python3 -m dbusmock` with `arguments` and waits until it owns
    // `busName`; false when it did not within a few seconds.
    bool startMock(const std::vector<std::string>& arguments, const std::string& busName) {
        std::vector<std::string> argv{kSystemPython, "-m", "dbusmock"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        auto mock = ChildProcess::start(argv, busEnvironment());
        if (!mock) return false;
        mocks_.push_back(std::move(*mock));
        return waitForName(busName);
    }

    // Waits until `busName` has an owner on this bus, for at most a few seconds.
    bool waitForName(const std::string& busName) const {
        return ChildProcess::run(
                   {"gdbus", "wait", "--address", address_, "--timeout", "8", busName}, {}, 10s) ==
               0;
    }

    // Calls `method` ("interface.Member") with arguments in GVariant text
    // form, as `gdbus call` takes them; whether the call succeeded.
    bool call(const std::string& destination, const std::string& path, const std::string& method,
              const std::vector<std::string>& arguments = {}) const {
        std::vector<std::string> argv{"gdbus",    "call",      "--address",     address_,
                                      "--dest",   destination, "--object-path", path,
                                      "--method", method};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return ChildProcess::run(argv) == 0;
    }

    // Stops the mocks, then the daemon, and removes the socket folder.
    void stop() {
        mocks_.clear();
        daemon_.reset();
        if (!folder_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(folder_, ignored);
            folder_.clear();
        }
        address_.clear();
    }

private:
    bool makeFolder() {
        std::string pattern = std::filesystem::temp_directory_path() / "pelliwig-bus-XXXXXX";
        if (!mkdtemp(pattern.data())) return false;
        folder_ = pattern;
        // Programs a test runs as another user connect too.
        return ::chmod(folder_.c_str(), 0755) == 0;
    }

    // Whether a client can connect to the socket yet.
    static bool accepts(const std::string& socketPath) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (socketPath.size() >= sizeof address.sun_path) return false;
        std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        const bool connected =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return connected;
    }

    // A session-type bus on our own socket, with no service activation, that
    // lets every client, of any user, own any name and send anything.
    static std::string configText(const std::string& socket) {
        return "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
               "1.0//EN\"\n"
               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
               "<busconfig>\n"
               "  <type>session</type>\n"
               "  <listen>unix:path=" +
               socket +
               "</listen>\n"
               "  <auth>EXTERNAL</auth>\n"
               "  <policy context=\"default\">\n"
               "    <allow user=\"*\"/>\n"
               "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
               "    <allow eavesdrop=\"true\"/>\n"
               "    <allow own=\"*\"/>\n"
               "  </policy>\n"
               "</busconfig>\n";
    }

    std::string folder_;
    std::string address_;
    std::optional<ChildProcess> daemon_;
    std::vector<ChildProcess> mocks_;
};

}  // namespace pelliwig::testing
