#include "core/support/BaseDirectories.h"

#include <pwd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/ScopedEnv.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;

fs::path passwordHome() {
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? fs::path(user->pw_dir) : fs::path();
}

struct Case {
    const char* name;
    const char* home;  // null: unset
    const char* configHome;
    const char* dataHome;
    fs::path expectedHome;  // empty: the password database's
    fs::path expectedConfig;
    fs::path expectedData;
};

TEST(BaseDirectoriesTest, FollowTheBaseDirectoryRules) {
    const fs::path pw = passwordHome();
    ASSERT_FALSE(pw.empty());
    const Case cases[] = {
        {"all set", "/home/al", "/cfg", "/data", "/home/al", "/cfg", "/data"},
        {"defaults", "/home/al", nullptr, nullptr, "/home/al", "/home/al/.config",
         "/home/al/.local/share"},
        {"empty values", "/home/al", "", "", "/home/al", "/home/al/.config",
         "/home/al/.local/share"},
        {"relative values ignored", "/home/al", "cfg", "./data", "/home/al", "/home/al/.config",
         "/home/al/.local/share"},
        {"HOME unset", nullptr, nullptr, nullptr, pw, pw / ".config", pw / ".local/share"},
        {"HOME relative", "here", nullptr, nullptr, pw, pw / ".config", pw / ".local/share"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnv env;
        env.set("HOME", c.home);
        env.set("XDG_CONFIG_HOME", c.configHome);
        env.set("XDG_DATA_HOME", c.dataHome);
        EXPECT_EQ(BaseDirectories::home(), c.expectedHome);
        EXPECT_EQ(BaseDirectories::configHome(), c.expectedConfig);
        EXPECT_EQ(BaseDirectories::dataHome(), c.expectedData);
    }
}

TEST(BaseDirectoriesTest, DataDirsKeepOnlyAbsoluteEntries) {
    const std::pair<const char*, std::vector<fs::path>> cases[] = {
        {nullptr, {"/usr/local/share", "/usr/share"}},
        {"", {"/usr/local/share", "/usr/share"}},
        {"rel:also/rel", {"/usr/local/share", "/usr/share"}},
        {"/opt/share::rel:/usr/share", {"/opt/share", "/usr/share"}},
    };
    for (const auto& [value, expected] : cases) {
        ScopedEnv env;
        env.set("XDG_DATA_DIRS", value);
        EXPECT_EQ(BaseDirectories::dataDirs(), expected) << (value ? value : "(unset)");
    }
}

TEST(BaseDirectoriesTest, RuntimeDirIsOnlyAnAbsoluteValue) {
    const std::pair<const char*, std::optional<fs::path>> cases[] = {
        {nullptr, std::nullopt},
        {"", std::nullopt},
        {"run/user", std::nullopt},
        {"/run/user/1000", fs::path("/run/user/1000")},
    };
    for (const auto& [value, expected] : cases) {
        ScopedEnv env;
        env.set("XDG_RUNTIME_DIR", value);
        EXPECT_EQ(BaseDirectories::runtimeDir(), expected) << (value ? value : "(unset)");
    }
}

}  // namespace
}  // namespace pelliwig
