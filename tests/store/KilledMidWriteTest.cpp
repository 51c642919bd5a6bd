// A process writing settings through the real store is killed (SIGKILL) at
// random moments, again and again on the same file: after each kill the
// file opens as it is (never moved aside as damaged), passes sqlite3's
// integrity check and holds every write acknowledged before the kill.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/settings/Prefs.h"
#include "core/settings/SqliteStore.h"
#include "support/ChildProcess.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using namespace pelliwig::testing;
using namespace std::chrono_literals;

fs::path writerPath() {
    return fs::read_symlink("/proc/self/exe").parent_path() / "pelliwig-store-writer";
}

// The last whole number the writer acknowledged; 0 before the first.
int lastAcknowledged(const fs::path& acks) {
    std::ifstream in(acks);
    int last = 0;
    for (std::string line; std::getline(in, line) && !in.eof();) last = std::stoi(line);
    return last;
}

std::string sqliteCheck(const fs::path& file) {
    const std::string command =
        "sqlite3 -readonly '" + file.string() + "' 'pragma integrity_check' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return "cannot run sqlite3";
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    ::pclose(pipe);
    return output;
}

class KilledMidWriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(writerPath())) GTEST_SKIP() << "no writer at " << writerPath();
        if (findProgram("sqlite3").empty()) GTEST_SKIP() << "sqlite3 is not installed";
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    const fs::path folder =
        fs::temp_directory_path() / ("pelliwig-killed-" + std::to_string(::getpid()));
    const fs::path file = folder / "defaults.sqlite";
    const fs::path acks = folder / "acks";
};

TEST_F(KilledMidWriteTest, EveryAcknowledgedWriteSurvivesTheKill) {
    std::mt19937 dice(7);
    int acknowledged = 0;
    for (int round = 0; round < 6; ++round) {
        fs::remove(acks);
        auto writer = ChildProcess::start({writerPath().string(), file.string(), acks.string()});
        ASSERT_TRUE(writer);
        // Some writes in, at a moment the writer cannot choose.
        const int until = std::uniform_int_distribution<int>(20, 200)(dice);
        ASSERT_TRUE(waitUntil([&] { return lastAcknowledged(acks) >= until; }, 30s))
            << "the writer stopped acknowledging in round " << round;
        ASSERT_EQ(::kill(writer->pid(), SIGKILL), 0);
        ASSERT_TRUE(waitUntil([&] { return !writer->running(); }, 5s));
        const int last = lastAcknowledged(acks);
        ASSERT_GE(last, acknowledged);
        acknowledged = last;

        EXPECT_EQ(sqliteCheck(file), "ok\n") << "round " << round;
        SqliteStore store(file);
        Prefs prefs(store);
        // The write after the last acknowledged one may have landed too.
        const int stored = prefs.surprisesPerWeek.get();
        EXPECT_GE(stored, acknowledged) << "round " << round;
        EXPECT_LE(stored, acknowledged + 1) << "round " << round;
        const std::string label = prefs.bigDayLabel.get();
        EXPECT_TRUE(label == "write " + std::to_string(stored) ||
                    label == "write " + std::to_string(stored - 1))
            << label << " beside " << stored;
        for (const auto& entry : fs::directory_iterator(folder)) {
            EXPECT_EQ(entry.path().filename().string().find("damaged"), std::string::npos)
                << "the file was moved aside: " << entry.path();
        }
    }
}

}  // namespace
}  // namespace pelliwig
