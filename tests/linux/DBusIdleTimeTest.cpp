#include "linux/dbus/DBusIdleTime.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/ChildProcess.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using testing::ChildProcess;
using testing::findProgram;
using testing::waitUntil;
using namespace std::chrono_literals;

// The services as the desktops publish them.
struct ServiceName {
    const char* name;
    const char* path;
    const char* interface;
    const char* method;
    const char* signature;  // of the answer
};
constexpr ServiceName kMutter{"org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core",
                              "org.gnome.Mutter.IdleMonitor", "GetIdletime", "t"};
constexpr ServiceName kScreenSaver{"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                                   "org.freedesktop.ScreenSaver", "GetSessionIdleTime", "u"};

// A private session bus with nothing on it but what the test puts there;
// its own configuration, so no service installed on this machine can be
// started on demand.
class PrivateBus {
public:
    PrivateBus() : folder_(fs::temp_directory_path() / ("bus-" + std::to_string(::getpid()))) {
        const std::string daemon = findProgram("dbus-daemon");
        if (daemon.empty()) return;
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        address_ = "unix:path=" + (folder_ / "socket").string();
        std::ofstream(folder_ / "bus.conf")
            << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
               "1.0//EN\"\n"
               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
               "<busconfig><type>session</type><listen>"
            << address_
            << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
               "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
               "<allow own=\"*\"/></policy></busconfig>\n";
        auto bus = ChildProcess::start(
            {daemon, "--nofork", "--config-file=" + (folder_ / "bus.conf").string()});
        if (bus && waitUntil([&] { return fs::exists(folder_ / "socket"); }))
            daemon_ = std::move(*bus);
    }
    ~PrivateBus() {
        daemon_.stop();
        fs::remove_all(folder_);
    }

    bool ok() const { return daemon_.pid() > 0; }
    const std::string& address() const { return address_; }

private:
    fs::path folder_;
    std::string address_;
    ChildProcess daemon_;
};

// One idle-time service on the private bus, served by python-dbusmock with
// the given Python body for the method.
class MockService {
public:
    MockService(const PrivateBus& bus, const ServiceName& service, std::string body)
        : bus_(bus), service_(service), body_(std::move(body)) {
        const std::vector<std::string> env{"DBUS_SESSION_BUS_ADDRESS=" + bus.address()};
        if (auto mock = ChildProcess::start({"/usr/bin/python3", "-m", "dbusmock", service.name,
                                             service.path, service.interface},
                                            env)) {
            mock_ = std::move(*mock);
        }
    }

    // Gives the mock its method once it is on the bus; false if it never is.
    bool ready() const {
        const std::string s = "string:";
        const std::vector<std::string> addMethod{"dbus-send",
                                                 "--bus=" + bus_.address(),
                                                 "--print-reply",
                                                 "--dest=" + std::string(service_.name),
                                                 service_.path,
                                                 "org.freedesktop.DBus.Mock.AddMethod",
                                                 s + service_.interface,
                                                 s + service_.method,
                                                 s,
                                                 s + service_.signature,
                                                 s + body_};
        return mock_.pid() > 0 &&
               waitUntil([&] { return ChildProcess::run(addMethod) == 0; }, 5s, 20ms);
    }

private:
    const PrivateBus& bus_;
    ServiceName service_;
    std::string body_;
    ChildProcess mock_;
};

// A connection of our own to a bus, closed when dropped.
class BusConnection {
public:
    explicit BusConnection(const std::string& address)
        : connection_(QDBusConnection::connectToBus(QString::fromStdString(address),
                                                    QStringLiteral("idle-test"))) {}
    ~BusConnection() { QDBusConnection::disconnectFromBus(connection_.name()); }
    QDBusConnection get() const { return connection_; }

private:
    QDBusConnection connection_;
};

class DBusIdleTimeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The shell runs these calls inside a Qt application.
        static int argc = 1;
        static char name[] = "DBusIdleTimeTest";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
};

struct ServiceCase {
    const char* what;
    std::optional<std::string> mutter;       // method body, or no service
    std::optional<std::string> screenSaver;  // method body, or no service
    double expected;
};

void PrintTo(const ServiceCase& c, std::ostream* out) {
    *out << c.what;
}

class DBusIdleServiceTest : public DBusIdleTimeTest,
                            public ::testing::WithParamInterface<ServiceCase> {};

TEST_P(DBusIdleServiceTest, AsksTheDesktopsServices) {
    if (findProgram("dbus-daemon").empty() || findProgram("dbus-send").empty()) {
        GTEST_SKIP() << "dbus-daemon and dbus-send are not installed";
    }
    if (!fs::exists("/usr/lib/python3/dist-packages/dbusmock")) {
        GTEST_SKIP() << "python3-dbusmock is not installed";
    }
    PrivateBus bus;
    ASSERT_TRUE(bus.ok());
    std::vector<std::unique_ptr<MockService>> services;
    if (GetParam().mutter)
        services.push_back(std::make_unique<MockService>(bus, kMutter, *GetParam().mutter));
    if (GetParam().screenSaver) {
        services.push_back(
            std::make_unique<MockService>(bus, kScreenSaver, *GetParam().screenSaver));
    }
    for (const auto& service : services) ASSERT_TRUE(service->ready());

    const BusConnection connection(bus.address());
    const DBusIdleTime idle(connection.get());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_DOUBLE_EQ(idle.seconds(), GetParam().expected) << GetParam().what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << "the call must not hang a tick";
}

const char* const kNotSupported =
    "raise dbus.exceptions.DBusException('no', name='org.freedesktop.DBus.Error.NotSupported')";

INSTANTIATE_TEST_SUITE_P(
    Desktops, DBusIdleServiceTest,
    ::testing::Values(ServiceCase{"GNOME: Mutter's monitor, in milliseconds", "ret = 4321",
                                  std::nullopt, 4.321},
                      ServiceCase{"KDE: the ScreenSaver interface, in milliseconds", std::nullopt,
                                  "ret = 2500", 2.5},
                      ServiceCase{"Mutter is asked first", "ret = 1000", "ret = 9000", 1.0},
                      ServiceCase{"a service that refuses gives way to the next", kNotSupported,
                                  "ret = 700", 0.7},
                      ServiceCase{"a service that hangs gives way after the timeout",
                                  "time.sleep(3); ret = 5", "ret = 1500", 1.5},
                      ServiceCase{"no service answers", kNotSupported, kNotSupported, 0},
                      ServiceCase{"no service on the bus", std::nullopt, std::nullopt, 0}));

TEST_F(DBusIdleTimeTest, ZeroWithoutABus) {
    const BusConnection connection("unix:path=/nonexistent/bus");
    const DBusIdleTime idle(connection.get());
    EXPECT_EQ(idle.seconds(), 0);
}

TEST_F(DBusIdleTimeTest, ZeroWithoutASessionBus) {
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    ::unsetenv("DISPLAY");  // nor one that could be started for an X display
    const DBusIdleTime idle(QDBusConnection::sessionBus());
    EXPECT_EQ(idle.seconds(), 0);
}

TEST_F(DBusIdleTimeTest, ZeroOnceTheBusIsGone) {
    auto bus = std::make_unique<PrivateBus>();
    if (!bus->ok()) GTEST_SKIP() << "dbus-daemon is not installed";
    const BusConnection connection(bus->address());
    const DBusIdleTime idle(connection.get());
    bus.reset();
    EXPECT_EQ(idle.seconds(), 0);
}

}  // namespace
}  // namespace pelliwig
