#include "core/settings/SqliteStore.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/settings/Prefs.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;

class SqliteStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() /
               ("pelliwig-store-" + std::to_string(getpid()) + "-" + info->name());
        fs::remove_all(root);
        file = root / "nested" / "pelliwig" / "defaults.sqlite";
    }
    void TearDown() override { fs::remove_all(root); }

    static std::string contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path root;
    fs::path file;
};

TEST_F(SqliteStoreTest, ReadingNeverCreatesAnything) {
    SqliteStore store(file);
    EXPECT_EQ(store.read("language"), std::nullopt);
    store.remove("language");
    EXPECT_FALSE(fs::exists(root));
}

TEST_F(SqliteStoreTest, WritesMakeTheFoldersAndPersistExactBytes) {
    const std::string envelope = R"({"value":"héllo ✨ \u0000"})";
    {
        SqliteStore store(file);
        store.write("bigDayLabel", "first");
        store.write("bigDayLabel", envelope);
        store.write("minGap", R"({"value":20})");
        store.remove("minGap");
    }
    SqliteStore reopened(file);
    EXPECT_EQ(reopened.read("bigDayLabel"), envelope);
    EXPECT_EQ(reopened.read("minGap"), std::nullopt);
}

TEST_F(SqliteStoreTest, AWriteSurvivesTheProcessBeingKilledRightAfter) {
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        SqliteStore store(file);
        store.write("hasOnboarded", R"({"value":true})");
        std::raise(SIGKILL);  // no destructors, no close
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    SqliteStore store(file);
    EXPECT_EQ(store.read("hasOnboarded"), R"({"value":true})");
}

TEST_F(SqliteStoreTest, ADamagedFileIsMovedAsideNotOverwritten) {
    for (const std::string& garbage :
         {std::string("this is not a database at all, just text"),
          std::string("SQLite format 3") + std::string(1, '\0') + std::string(4000, 'x')}) {
        fs::remove_all(root);
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << garbage;

        ::testing::internal::CaptureStderr();
        SqliteStore store(file);
        EXPECT_EQ(store.read("language"), std::nullopt);
        store.write("language", R"({"value":"english"})");
        const std::string said = ::testing::internal::GetCapturedStderr();

        EXPECT_EQ(store.read("language"), R"({"value":"english"})");
        std::vector<fs::path> aside;
        for (const auto& entry : fs::directory_iterator(file.parent_path())) {
            if (entry.path().filename().string().starts_with("defaults.sqlite.damaged-"))
                aside.push_back(entry.path());
        }
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(contents(aside[0]), garbage);
        EXPECT_NE(said.find(aside[0].string()), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
}

TEST_F(SqliteStoreTest, DefaultPathFollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/tmp/somewhere", 1);
    EXPECT_EQ(SqliteStore::defaultPath(), fs::path("/tmp/somewhere/pelliwig/defaults.sqlite"));
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(SqliteStore::defaultPath(),
              fs::path(std::getenv("HOME")) / ".config" / "pelliwig" / "defaults.sqlite");
    setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
}

TEST_F(SqliteStoreTest, PrefsOverTheRealStore) {
    SqliteStore store(file);
    Prefs prefs(store);
    EXPECT_EQ(prefs.minGap.get(), 20);
    EXPECT_FALSE(fs::exists(file));  // defaults are never written
    prefs.minGap.set(35);
    prefs.birthday.set(MonthDay{2, 29});
    Prefs again(store);
    EXPECT_EQ(again.minGap.get(), 35);
    EXPECT_EQ(again.birthday.get(), (MonthDay{2, 29}));
}

}  // namespace
}  // namespace pelliwig
