#include "core/settings/SaveRetry.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/settings/Prefs.h"
#include "core/settings/SqliteStore.h"
#include "fakes/VirtualScheduler.h"
#include "support/ScratchFolder.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;

// The real store, blocked by a folder where its file should be until the
// test removes that folder.
class SaveRetryTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(file); }

    void unblock() { fs::remove(file); }

    testing::ScratchFolder folder;
    fs::path file = folder / "defaults.sqlite";
    SqliteStore store{file};
    Prefs prefs{store};
    VirtualScheduler scheduler;
    std::vector<std::string> said;
    SaveRetry retry{store, scheduler, prefs.changed,
                    [this](const std::string& line) { said.push_back(line); }};
};

TEST_F(SaveRetryTest, ARefusedChangeIsSaidOnceAndKept) {
    int shown = 0;
    auto connection = retry.troubleChanged.connect([&] { ++shown; });
    prefs.minGap.set(35);
    prefs.minGap.set(40);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("your settings cannot be saved: " + file.string()), std::string::npos)
        << said[0];
    EXPECT_EQ(shown, 1);
    ASSERT_TRUE(retry.trouble());
    EXPECT_EQ(prefs.minGap.get(), 40);
    scheduler.advance(60);
    EXPECT_EQ(said.size(), 1u);  // failing tries are not said again
}

TEST_F(SaveRetryTest, TriesComeFurtherApartUntilOneWorks) {
    prefs.minGap.set(35);
    // Tries at 1, 3 and 7 s: freed at 3.5 s, the change is stored at 7 s.
    scheduler.advance(3.5);
    unblock();
    scheduler.advance(3.4);
    EXPECT_TRUE(retry.trouble());
    scheduler.advance(0.2);
    EXPECT_FALSE(retry.trouble());
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[1], "your settings are saved again");
    SqliteStore again(file);
    EXPECT_EQ(Prefs(again).minGap.get(), 35);
}

TEST_F(SaveRetryTest, TheLongestWaitIsFiveMinutes) {
    prefs.minGap.set(35);
    scheduler.advance(3600);
    unblock();
    scheduler.advance(SaveRetry::kLongestDelay);
    EXPECT_FALSE(retry.trouble());
}

TEST_F(SaveRetryTest, FinishSaysWhetherEverythingIsStored) {
    prefs.minGap.set(35);
    EXPECT_FALSE(retry.finish());
    unblock();
    EXPECT_TRUE(retry.finish());
    EXPECT_FALSE(retry.trouble());
}

}  // namespace
}  // namespace pelliwig
