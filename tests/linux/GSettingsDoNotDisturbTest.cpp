#include <gio/gio.h>
#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gsettingsbackend.h>

#include "linux/dbus/GSettingsDoNotDisturb.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/ChildProcess.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// GNOME's key as its schema declares it, compiled into a folder of the
// test's own, so the test needs neither GNOME's schemas nor dconf.
constexpr const char* kSchemaXml = R"(<schemalist>
  <schema id="org.gnome.desktop.notifications" path="/org/gnome/desktop/notifications/">
    <key name="show-banners" type="b"><default>true</default></key>
    <key name="show-in-lock-screen" type="b"><default>true</default></key>
  </schema>
</schemalist>
)";

class GSettingsDoNotDisturbTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (testing::findProgram("glib-compile-schemas").empty()) {
            GTEST_SKIP() << "glib-compile-schemas is not installed (package libglib2.0-bin)";
        }
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        std::ofstream(folder_ / "org.gnome.desktop.notifications.gschema.xml") << kSchemaXml;
        ASSERT_EQ(testing::ChildProcess::run({"glib-compile-schemas", folder_.string()}), 0);
        source_ =
            g_settings_schema_source_new_from_directory(folder_.c_str(), nullptr, TRUE, nullptr);
        ASSERT_NE(source_, nullptr);
        backend_ = g_memory_settings_backend_new();
        GSettingsSchema* schema =
            g_settings_schema_source_lookup(source_, "org.gnome.desktop.notifications", FALSE);
        user_ = g_settings_new_full(schema, backend_, nullptr);
        g_settings_schema_unref(schema);
    }
    void TearDown() override {
        if (user_) g_object_unref(user_);
        if (backend_) g_object_unref(backend_);
        if (source_) g_settings_schema_source_unref(source_);
        fs::remove_all(folder_);
    }

    // What the shell's Do Not Disturb switch writes.
    void showBanners(bool on) { g_settings_set_boolean(user_, "show-banners", on); }

    // Runs the main loop, where change signals arrive, until the source says
    // `on` or a second passes.
    static bool becomes(const DoNotDisturb& source, bool on) {
        const auto deadline = std::chrono::steady_clock::now() + 1s;
        while (source.on() != on && std::chrono::steady_clock::now() < deadline) {
            g_main_context_iteration(nullptr, FALSE);
        }
        return source.on() == on;
    }

    fs::path folder_ = fs::temp_directory_path() / ("gsettings-" + std::to_string(::getpid()));
    GSettingsSchemaSource* source_ = nullptr;
    GSettingsBackend* backend_ = nullptr;
    GSettings* user_ = nullptr;
};

TEST_F(GSettingsDoNotDisturbTest, BannersOffIsDoNotDisturbAndIsWatched) {
    showBanners(false);
    const auto source = GSettingsDoNotDisturb::open(source_, backend_);
    ASSERT_NE(source, nullptr);
    EXPECT_TRUE(source->on()) << "read at start";
    showBanners(true);
    EXPECT_TRUE(becomes(*source, false));
    showBanners(false);
    EXPECT_TRUE(becomes(*source, true));
}

// Without GNOME's schema (another desktop) there is no source at all, and
// GSettings is never asked for the missing schema, which would abort.
TEST_F(GSettingsDoNotDisturbTest, NoneWithoutTheSchema) {
    const fs::path other = folder_ / "other";
    fs::create_directories(other);
    std::ofstream(other / "org.example.other.gschema.xml")
        << R"(<schemalist><schema id="org.example.other" path="/org/example/other/">)"
           R"(<key name="flag" type="b"><default>true</default></key></schema></schemalist>)";
    ASSERT_EQ(testing::ChildProcess::run({"glib-compile-schemas", other.string()}), 0);
    GSettingsSchemaSource* without =
        g_settings_schema_source_new_from_directory(other.c_str(), nullptr, TRUE, nullptr);
    ASSERT_NE(without, nullptr);
    EXPECT_EQ(GSettingsDoNotDisturb::open(without, backend_), nullptr);
    g_settings_schema_source_unref(without);
}

}  // namespace
}  // namespace pelliwig
