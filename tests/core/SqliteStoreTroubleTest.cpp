#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/settings/SqliteStore.h"
#include "support/ForeignLock.h"
#include "support/OrdinaryUser.h"
#include "support/ScratchFolder.h"
#include "support/SmallDisk.h"

// Changes the file refuses are kept, said and stored later, on the real
// SQLite file: another connection's lock, a folder where the file should be,
// a folder this user cannot write.

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using testing::asOrdinaryUser;
using testing::fillDisk;
using testing::ForeignLock;
using testing::kNoSmallDisk;
using testing::onSmallDisk;
using testing::ScratchFolder;

std::string contains(const std::optional<std::string>& trouble, const std::string& part) {
    if (!trouble) return "no trouble said";
    return trouble->find(part) == std::string::npos ? "said: " + *trouble : "";
}

// A store file in `folder` holding minGap = `value`, left in `journal` mode.
fs::path storedFile(const ScratchFolder& folder, const char* value, const char* journal) {
    const fs::path file = folder / "defaults.sqlite";
    SqliteStore(file).write("minGap", value);
    sqlite3* setup = nullptr;
    sqlite3_open(file.c_str(), &setup);
    sqlite3_exec(setup, (std::string("PRAGMA journal_mode=") + journal).c_str(), nullptr, nullptr,
                 nullptr);
    sqlite3_close(setup);
    return file;
}

// minGap was just written as `value` while something kept it from `file`:
// the store says `said`, reads the change back and cannot save it yet; once
// `clear` removes the trouble, the next retry stores it for good.
void keptUntilCleared(SqliteStore& store, const fs::path& file, const std::string& value,
                      const std::string& said, const std::function<void()>& clear) {
    EXPECT_EQ(contains(store.saveTrouble(), said), "");
    EXPECT_EQ(store.read("minGap"), value);  // kept in memory
    EXPECT_FALSE(store.retrySaving());
    clear();
    EXPECT_TRUE(store.retrySaving());
    EXPECT_FALSE(store.saveTrouble());
    EXPECT_EQ(SqliteStore(file).read("minGap"), value);
}

TEST(SqliteStoreTroubleTest, ALockedFileKeepsTheChangeUntilARetryStoresIt) {
    // WAL, as the store makes its files, and a rollback journal, as another
    // program may have left the file: a write lock held in either.
    for (const char* journal : {"WAL", "DELETE"}) {
        SCOPED_TRACE(journal);
        ScratchFolder folder;
        const fs::path file = storedFile(folder, "1", journal);

        SqliteStore store(file);
        ASSERT_EQ(store.read("minGap"), "1");
        ForeignLock lock(file, "BEGIN IMMEDIATE; INSERT INTO defaults VALUES ('other', '0')");
        ASSERT_TRUE(lock.locked());
        store.write("minGap", "2");
        keptUntilCleared(store, file, "2", "locked by another program", [&] { lock.release(); });
    }
}

TEST(SqliteStoreTroubleTest, AFileLockedAtStartIsReadOnceItIsFree) {
    ScratchFolder folder;
    const fs::path file = storedFile(folder, "7", "DELETE");
    // An exclusive lock keeps even readers out of a rollback-journal file.
    ForeignLock lock(file, "BEGIN EXCLUSIVE");
    ASSERT_TRUE(lock.locked());

    SqliteStore store(file);
    EXPECT_EQ(store.read("minGap"), std::nullopt);
    EXPECT_EQ(contains(store.saveTrouble(), "is locked by another program"), "");
    lock.release();
    EXPECT_EQ(store.read("minGap"), std::nullopt);  // reads wait for the retry, not the lock
    EXPECT_TRUE(store.retrySaving());
    EXPECT_EQ(store.read("minGap"), "7");
    EXPECT_EQ(store.saveTrouble(), std::nullopt);
}

TEST(SqliteStoreTroubleTest, AFolderWhereTheFileShouldBeIsSaidAndTheChangeKept) {
    ScratchFolder folder;
    const fs::path file = folder / "defaults.sqlite";
    fs::create_directories(file);
    SqliteStore store(file);
    store.write("minGap", "5");
    store.remove("bedtime");
    keptUntilCleared(store, file, "5", file.string() + " is a folder", [&] { fs::remove(file); });
}

TEST(SqliteStoreTroubleTest, NoPathStoresNothingAnywhere) {
    ScratchFolder folder;
    const fs::path before = fs::current_path();
    fs::current_path(folder.path());
    SqliteStore store{fs::path()};
    store.write("minGap", "5");
    EXPECT_EQ(contains(store.saveTrouble(), "no home folder"), "");
    EXPECT_EQ(store.read("minGap"), "5");
    EXPECT_TRUE(fs::is_empty(folder.path()));
    fs::current_path(before);
}

TEST(SqliteStoreTroubleTest, AReadOnlyFolderStillGivesTheStoredSettings) {
    ScratchFolder folder;
    const fs::path config = folder / "pelliwig";
    const fs::path file = config / "defaults.sqlite";
    {
        SqliteStore first(file);
        first.write("hasOnboarded", R"({"value":true})");
    }
    // Readable by anyone, writable by nobody but root.
    fs::permissions(folder.path(),
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(config, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    const int failed = asOrdinaryUser([&] {
        SqliteStore store(file);
        int failures = 0;
        failures += store.read("hasOnboarded") != R"({"value":true})";
        failures += !store.readOnly();
        // Said before any change is tried: none would be kept.
        failures += !contains(store.saveTrouble(), " cannot be written").empty();
        failures += store.retrySaving();
        store.write("minGap", "9");
        failures += !contains(store.saveTrouble(), file.string() + " cannot be written").empty();
        failures += store.read("minGap") != "9";
        failures += store.read("hasOnboarded") != R"({"value":true})";
        return failures;
    });
    EXPECT_EQ(failed, 0);
}

// The disk fills while she runs: the change is kept and said, and stored by
// the first try after room is made.
TEST(SqliteStoreTroubleTest, AFullDiskKeepsTheChangeUntilThereIsRoom) {
    ScratchFolder folder;
    const fs::path file = folder / "defaults.sqlite";
    const std::string note = "\"" + std::string(64 * 1024, 'n') + "\"";
    const int failed = onSmallDisk(folder.path(), 256 * 1024, [&] {
        int failures = 0;
        {
            SqliteStore store(file);
            store.write("minGap", "1");
            fillDisk(folder / "filler");
            store.write("note", note);
            failures += !contains(store.saveTrouble(), "the disk is full").empty();
            failures += store.read("note") != note;
            failures += store.retrySaving();
            fs::remove(folder / "filler");
            failures += !store.retrySaving();
            failures += store.saveTrouble().has_value();
        }
        failures += SqliteStore(file).read("note") != note;
        return failures;
    });
    if (failed == kNoSmallDisk) GTEST_SKIP() << "no private tmpfs can be mounted here";
    EXPECT_EQ(failed, 0);
}

}  // namespace
}  // namespace pelliwig
