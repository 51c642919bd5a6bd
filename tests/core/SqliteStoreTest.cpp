#include "core/settings/SqliteStore.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

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

// A file whose "defaults" is not the store's own table would lose every write
// (or change what reads back); it is kept aside like a damaged one. A table
// of the right shape, however it was written, is used as it is.
TEST_F(SqliteStoreTest, ADefaultsTableOfAnotherShapeIsMovedAside) {
    const struct {
        const char* schema;
        bool ours;
    } cases[] = {
        {"CREATE TABLE defaults (key TEXT PRIMARY KEY NOT NULL, value BLOB NOT NULL)", true},
        {"create table DEFAULTS (Key text primary key, Value text)", true},
        {"CREATE TABLE defaults (key TEXT, val TEXT)", false},
        {"CREATE TABLE defaults (key TEXT, value BLOB)", false},  // no key to replace by
        {"CREATE TABLE defaults (key TEXT PRIMARY KEY, value BLOB, owner TEXT NOT NULL)", false},
        {"CREATE TABLE defaults (key TEXT PRIMARY KEY, value INTEGER)", false},
        {"CREATE TABLE defaults (id INTEGER PRIMARY KEY, key TEXT UNIQUE, value BLOB)", false},
        {"CREATE TABLE rows (key TEXT PRIMARY KEY, value BLOB);"
         "CREATE VIEW defaults AS SELECT key, value FROM rows",
         false},
    };
    for (const auto& c : cases) {
        fs::remove_all(root);
        fs::create_directories(file.parent_path());
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, c.schema, nullptr, nullptr, nullptr), SQLITE_OK) << c.schema;
        sqlite3_close(db);

        ::testing::internal::CaptureStderr();
        {
            SqliteStore store(file);
            store.write("minGap", R"({"value":35})");
        }
        const std::string said = ::testing::internal::GetCapturedStderr();
        SqliteStore reopened(file);
        EXPECT_EQ(reopened.read("minGap"), R"({"value":35})") << c.schema;

        std::vector<fs::path> aside;
        for (const auto& entry : fs::directory_iterator(file.parent_path())) {
            if (entry.path().filename().string().starts_with("defaults.sqlite.damaged-"))
                aside.push_back(entry.path());
        }
        ASSERT_EQ(aside.size(), c.ours ? 0u : 1u) << c.schema;
        if (c.ours) {
            EXPECT_EQ(said, "") << c.schema;
            continue;
        }
        // Kept as it was, its table and all (only the journal mode was set).
        const std::string schema = std::string(c.schema).substr(0, std::string(c.schema).find(';'));
        EXPECT_NE(contents(aside[0]).find(schema), std::string::npos) << c.schema;
        EXPECT_NE(said.find(aside[0].string()), std::string::npos) << said;
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
