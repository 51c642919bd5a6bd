#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "OverlayStore.h"
#include "SimReplay.h"
#include "SimScript.h"
#include "SimWorld.h"
#include "core/settings/Prefs.h"
#include "core/settings/SqliteStore.h"
#include "fakes/MemoryStore.h"
#include "support/TestTime.h"

namespace pelliwig::sim {
namespace {

using pelliwig::testing::utc;

std::vector<Command> parse(const std::string& text) {
    std::istringstream in(text);
    return parseScript(in, SettingValues());
}

struct BadScript {
    std::string script;
    int line;
    std::string message;
};

class BadScriptTest : public ::testing::TestWithParam<BadScript> {};

TEST_P(BadScriptTest, IsRefusedWithItsLineAndWhatIsWrong) {
    const auto& c = GetParam();
    try {
        parse(c.script);
        FAIL() << "accepted";
    } catch (const ScriptError& e) {
        EXPECT_EQ(e.line, c.line);
        EXPECT_EQ(std::string(e.what()), c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadScriptTest,
    ::testing::Values(
        BadScript{"# a comment\n\n2026-01-12 09:00 sing\n", 3, "unknown command \"sing\""},
        BadScript{"2026-01-12 09:00 preview tea\n", 1, "unknown kind \"tea\""},
        BadScript{"2026-01-12 09:00 answer maybe\n", 1, "unknown tone \"maybe\""},
        BadScript{"2026-13-12 09:00 active\n", 1,
                  "bad time \"2026-13-12 09:00\" (YYYY-MM-DD HH:MM[:SS])"},
        BadScript{"2026-01-12 24:00 active\n", 1,
                  "bad time \"2026-01-12 24:00\" (YYYY-MM-DD HH:MM[:SS])"},
        BadScript{"2026-01-12 09:00 active\n2026-01-12 08:59:59 idle\n", 2,
                  "time goes backwards (before line 1)"},
        BadScript{"2026-01-12 09:00 set minGap [1,\n", 1, "the value of minGap is not JSON: [1,"},
        BadScript{"2026-01-12 09:00 set noSuchSetting 1\n", 1, "unknown setting \"noSuchSetting\""},
        BadScript{"2026-01-12 09:00 camera maybe\n", 1, "expected on or off, not \"maybe\""},
        BadScript{"2026-01-12 09:00 power 101 ac\n", 1, "bad percent \"101\""},
        BadScript{"2026-01-12 09:00 focus 0\n", 1, "bad focus minutes \"0\""},
        BadScript{"2026-01-12 09:00 idle now\n", 1, "unexpected \"now\""},
        BadScript{"2026-01-12 09:00 event e1 2026-01-12T10:00 \"Standup\" weekly\n", 1,
                  "expected daily"},
        BadScript{"2026-01-12 09:00 event e1 2026-01-12 \"Standup\"\n", 1,
                  "bad event time \"2026-01-12\" (YYYY-MM-DDTHH:MM)"}));

TEST(SimScriptTest, ReadsEveryCommandInLocalTime) {
    const auto commands = parse(
        "2026-01-12 08:50  set birthday {\"month\":3,\"day\":7}\n"
        "2026-01-12 08:50  app Visual Studio Code   # a comment\n"
        "2026-01-12 08:50  app C# Studio\n"
        "2026-01-12 09:00:30  hover move -71.5\n"
        "2026-01-12 09:01  event e1 2026-01-12T10:00 \"Stand \\\"up\\\"\" daily\n"
        "2026-01-12 09:02  app -\n"
        "2026-01-12 09:03  focus cancel\n");
    ASSERT_EQ(commands.size(), 7u);
    EXPECT_EQ(commands[0].at, utc(2026, 1, 12, 7, 50));  // Berlin is an hour ahead
    EXPECT_EQ(commands[0].json, "{\"month\":3,\"day\":7}");
    EXPECT_EQ(commands[1].text, "Visual Studio Code");
    EXPECT_EQ(commands[2].text, "C# Studio");
    EXPECT_EQ(commands[3].kind, Command::Kind::hoverMove);
    EXPECT_EQ(commands[3].at, utc(2026, 1, 12, 8, 0, 30));
    EXPECT_DOUBLE_EQ(commands[3].number, -71.5);
    EXPECT_EQ(commands[4].title, "Stand \"up\"");
    EXPECT_EQ(commands[4].start, utc(2026, 1, 12, 9, 0));
    EXPECT_TRUE(commands[4].flag);
    EXPECT_EQ(commands[5].text, std::nullopt);
    EXPECT_EQ(commands[6].kind, Command::Kind::focusCancel);
    EXPECT_EQ(commands[6].line, 7);
}

// A setting added to the application must be settable from a script too.
TEST(SettingValuesTest, KnowsEverySettingAndItsShape) {
    MemoryStore scratch;
    const Prefs prefs(scratch);
    const SettingValues settings;
    auto keys = prefs.keys();
    std::ranges::sort(keys);
    EXPECT_EQ(settings.keys(), keys);

    EXPECT_TRUE(settings.fits("minGap", Json(30)));
    EXPECT_FALSE(settings.fits("minGap", Json("30")));
    EXPECT_TRUE(settings.fits("enabledKinds", Json::parse(R"(["water","hover"])")));
    EXPECT_FALSE(settings.fits("enabledKinds", Json::parse(R"(["water","tea"])")));
    EXPECT_TRUE(settings.fits("birthday", Json::parse(R"({"month":3,"day":7})")));
    EXPECT_TRUE(settings.fits("birthday", Json()));  // none
    EXPECT_FALSE(settings.fits("noSuchSetting", Json(1)));
}

TEST(OverlayStoreTest, ReadsThroughAndKeepsChangesToItself) {
    MemoryStore base;
    base.write("a", "1");
    base.write("b", "2");
    OverlayStore overlay(base);
    overlay.write("a", "10");
    overlay.remove("b");
    overlay.write("c", "3");
    EXPECT_EQ(overlay.read("a"), "10");
    EXPECT_EQ(overlay.read("b"), std::nullopt);
    EXPECT_EQ(overlay.read("c"), "3");
    EXPECT_EQ(base.values(), (std::map<std::string, std::string>{{"a", "1"}, {"b", "2"}}));
}

class ReplayTest : public ::testing::Test {
protected:
    ~ReplayTest() override { std::filesystem::remove(path); }

    Options onStore() const {
        Options options;
        options.storePath = path;
        return options;
    }

    std::string path = (std::filesystem::temp_directory_path() /
                        ("sim-replay-" + std::to_string(::getpid()) + ".sqlite"))
                           .string();
};

constexpr const char* kWaterMorning =
    "2026-01-12 08:50  set language \"english\"\n"
    "2026-01-12 08:50  set enabledKinds [\"water\"]\n"
    "2026-01-12 08:50  set waterEvery 30\n"
    "2026-01-12 08:50  set idlePeeks false\n"
    "2026-01-12 08:50  active\n"
    "2026-01-12 09:20:02  answer snooze\n"
    "2026-01-12 09:31  idle\n";

TEST_F(ReplayTest, AnsweredRunPrintsItsMomentsAndKeepsTheStore) {
    std::ostringstream out;
    replay(onStore(), parse(kWaterMorning), out);
    EXPECT_NE(out.str().find("2026-01-12 09:20:00  present  water"), std::string::npos);
    EXPECT_NE(out.str().find("2026-01-12 09:20:02  swap  surprise  reaction  mood:annoyed"),
              std::string::npos);
    // The snoozed water comes back ten minutes after the press.
    EXPECT_NE(out.str().find("2026-01-12 09:30:02  present  water"), std::string::npos);
    EXPECT_TRUE(SqliteStore(path).read("firedLog").has_value());
}

TEST_F(ReplayTest, AnswerWithoutItsButtonStopsBeforeAnythingIsPrintedOrStored) {
    const std::string script = std::string(kWaterMorning) + "2026-01-12 09:40  answer good\n";
    std::ostringstream out;
    try {
        replay(onStore(), parse(script), out);
        FAIL() << "played";
    } catch (const ScriptError& e) {
        EXPECT_EQ(e.line, 8);
        EXPECT_EQ(std::string(e.what()), "answer good: nothing on show at 2026-01-12 09:40:00");
    }
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(SqliteStore(path).read("firedLog").has_value());
}

TEST_F(ReplayTest, SameSeedSameRunAnotherSeedAnotherRun) {
    const std::string script =
        "2026-01-12 08:50  set surprisesPerWeek 500\n"
        "2026-01-12 08:50  active\n"
        "2026-01-14 08:50  idle\n";
    auto run = [&](unsigned long long seed) {
        Options options;
        options.seed = seed;
        std::ostringstream out;
        replay(options, parse(script), out);
        return out.str();
    };
    EXPECT_EQ(run(7), run(7));
    EXPECT_NE(run(7), run(8));
}

}  // namespace
}  // namespace pelliwig::sim
