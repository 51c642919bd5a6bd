#include "linux/dbus/SystemZoneWatcher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusConnection>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "support/PrivateDBus.h"
#include "support/QtDBusSupport.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using testing::BusConnection;
using testing::PrivateDBus;
using testing::runEventsUntil;

// A folder standing in for /etc, its localtime link and two zone files.
class SystemZoneWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::coreApplication();  // the watches and the timer need its event loop
        root = fs::temp_directory_path() / ("pelliwig-zone-watch-" + std::to_string(::getpid()));
        fs::remove_all(root);
        for (const char* zone : {"Asia/Tokyo", "America/Santiago"}) {
            fs::create_directories(root / "zones" / zone);
            fs::remove(root / "zones" / zone);
            std::ofstream(root / "zones" / zone) << "TZif " << zone;
        }
        fs::create_directories(root / "etc");
        localtime = root / "etc" / "localtime";
        fs::create_symlink("../zones/Asia/Tokyo", localtime);
    }
    void TearDown() override {
        watcher.reset();
        fs::remove_all(root);
    }

    void watch(QDBusConnection bus = QDBusConnection(QStringLiteral("unconnected"))) {
        watcher.emplace(
            bus, [this] { ++told; }, localtime);
    }
    // Waits for the next news, which must come as one.
    void expectToldOnce(const std::string& what) {
        const int before = told;
        EXPECT_TRUE(runEventsUntil([&] { return told > before; })) << what;
        EXPECT_EQ(told, before + 1) << what;
    }

    fs::path root;
    fs::path localtime;
    std::optional<SystemZoneWatcher> watcher;
    int told = 0;
};

// However the zone is set, a new /etc/localtime is told once.
TEST_F(SystemZoneWatcherTest, ANewLocalTimeIsTold) {
    watch();
    const struct {
        const char* how;
        std::function<void()> change;
    } cases[] = {
        {"ln -sf",
         [&] {
             fs::remove(localtime);
             fs::create_symlink("../zones/America/Santiago", localtime);
         }},
        {"a new link renamed over it, as timedated does",
         [&] {
             fs::create_symlink("../zones/Asia/Tokyo", root / "etc" / ".#localtime");
             fs::rename(root / "etc" / ".#localtime", localtime);
         }},
        {"a copy of the zone file",
         [&] {
             fs::remove(localtime);
             fs::copy_file(root / "zones" / "America/Santiago", localtime);
         }},
        {"the copy rewritten in place",
         [&] { std::ofstream(localtime, std::ios::trunc) << "TZif Asia/Tokyo"; }},
    };
    for (const auto& c : cases) {
        std::ofstream(root / "etc" / "hostname") << c.how;  // other files are no news
        c.change();
        expectToldOnce(c.how);
    }
}

TEST_F(SystemZoneWatcherTest, TimedatedAnnouncingItsZoneIsTold) {
    if (auto missing = PrivateDBus::missingMockTools()) GTEST_SKIP() << *missing;
    PrivateDBus bus;
    ASSERT_TRUE(bus.start());
    ASSERT_TRUE(bus.startMock({"--template", "timedated"}, "org.freedesktop.timedate1"));
    BusConnection system(bus.address());
    watch(system.get());
    system.settle();
    ASSERT_TRUE(bus.call("org.freedesktop.timedate1", "/org/freedesktop/timedate1",
                         "org.freedesktop.timedate1.SetTimezone", {"America/Santiago", "false"}));
    expectToldOnce("SetTimezone");
}

}  // namespace
}  // namespace pelliwig
