#include "core/support/DefaultZone.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "core/support/Clock.h"
#include "fakes/VirtualScheduler.h"
#include "support/TestTime.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using testing::utc;

// A stand-in for /etc/localtime and the zone files it links to.
class DefaultZoneTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("pelliwig-zone-" + std::to_string(::getpid()));
        fs::remove_all(root);
        for (const char* name : {"Asia/Tokyo", "America/Santiago", "posix/Europe/Paris"}) {
            const fs::path file = root / "share" / "zoneinfo" / name;
            fs::create_directories(file.parent_path());
            std::ofstream(file) << "TZif";
        }
        fs::create_directories(root / "etc");
        localtime = root / "etc" / "localtime";
    }
    void TearDown() override { fs::remove_all(root); }

    void linkTo(const fs::path& target) {
        fs::remove(localtime);
        fs::create_symlink(target, localtime);
    }

    testing::ZoneAndLocale zone{"Europe/Berlin", "en_US"};
    fs::path root;
    fs::path localtime;
};

TEST_F(DefaultZoneTest, FollowsTzThenTheLocalTimeLink) {
    const struct {
        const char* tz;    // null: unset
        const char* link;  // relative to root/etc; null: no link at all
        const char* zone;  // the default afterwards
        bool changed;
    } cases[] = {
        {nullptr, "../share/zoneinfo/Asia/Tokyo", "Asia/Tokyo", true},
        {nullptr, "../share/zoneinfo/posix/Europe/Paris", "Europe/Paris", true},
        {nullptr, "../share/zoneinfo/Europe/Berlin", "Europe/Berlin", false},  // dangling
        {nullptr, nullptr, "Europe/Berlin", false},
        {"America/Santiago", "../share/zoneinfo/Asia/Tokyo", "America/Santiago", true},
        {":Asia/Kolkata", "../share/zoneinfo/Asia/Tokyo", "Asia/Kolkata", true},
        {"posix/America/Havana", nullptr, "America/Havana", true},
        {"/usr/share/zoneinfo/Asia/Beirut", nullptr, "Asia/Beirut", true},
        {"", "../share/zoneinfo/Asia/Tokyo", "Etc/UTC", true},
        {"Europe/Berlin", "../share/zoneinfo/Asia/Tokyo", "Europe/Berlin", false},
        {"Nowhere/Atlantis", "../share/zoneinfo/Asia/Tokyo", "Europe/Berlin", false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(DefaultZone::use("Europe/Berlin"));
        fs::remove(localtime);
        if (c.link) linkTo(c.link);
        EXPECT_EQ(DefaultZone::followSystem(c.tz, localtime), c.changed)
            << (c.tz ? c.tz : "(unset)") << " " << (c.link ? c.link : "(no link)");
        EXPECT_EQ(DefaultZone::name(), c.zone) << (c.tz ? c.tz : "(unset)");
    }
    // $TZ naming the link itself reads it as the C library does.
    linkTo("../share/zoneinfo/America/Santiago");
    DefaultZone::followSystem((":" + localtime.string()).c_str(), "/nonexistent");
    EXPECT_EQ(DefaultZone::name(), "America/Santiago");
}

// ICU alone reads the system's zone once; every clock reading after a refresh
// is in the new zone.
TEST_F(DefaultZoneTest, ClocksFollowARefreshAtOnce) {
    VirtualScheduler scheduler{utc(2026, 3, 7, 23, 30)};
    const Clock clock{scheduler};
    EXPECT_EQ(clock.dayKey(scheduler.now()), "2026-3-8");  // 00:30 in Berlin
    linkTo("../share/zoneinfo/America/Santiago");
    ASSERT_TRUE(DefaultZone::followSystem(nullptr, localtime));
    EXPECT_EQ(clock.dayKey(scheduler.now()), "2026-3-7");  // 20:30 in Santiago
    EXPECT_EQ(clock.minutesOfDay(scheduler.now()), 20 * 60 + 30);
}

TEST(DefaultZoneNameTest, ZoneFilesNameTheirZone) {
    EXPECT_EQ(DefaultZone::nameOfZoneFile("/usr/share/zoneinfo/Europe/Berlin"), "Europe/Berlin");
    EXPECT_EQ(DefaultZone::nameOfZoneFile("/etc/../usr/share/zoneinfo/right/Asia/Tokyo"),
              "Asia/Tokyo");
    EXPECT_EQ(DefaultZone::nameOfZoneFile("/etc/localtime"), std::nullopt);
    EXPECT_EQ(DefaultZone::nameOfZoneFile("/usr/share/zoneinfo/"), std::nullopt);
}

}  // namespace
}  // namespace pelliwig
