// The real program on a private X server with a fresh home folder: first
// run, "Meet her", a second launch handing over its arguments, and a clean
// end on SIGTERM.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/ChildProcess.h"
#include "support/ForeignLock.h"
#include "support/ProgramHome.h"
#include "support/ProgramPath.h"
#include "support/XvfbServer.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using namespace pelliwig::testing;
using namespace std::chrono_literals;

// The program next to this test in the build tree.
class AppDelegateEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(program)) GTEST_SKIP() << "no program at " << program;
        if (!server.ok()) GTEST_SKIP() << server.why();
        if (!wm.ok()) GTEST_SKIP() << wm.why();
        if (findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
    }

    std::vector<std::string> env() const {
        auto vars = server.env();
        vars.push_back("QT_QPA_PLATFORM=xcb");
        const auto own = home.env();
        vars.insert(vars.end(), own.begin(), own.end());
        return vars;
    }

    std::optional<ChildProcess> start(std::vector<std::string> arguments = {}) {
        arguments.insert(arguments.begin(), program.string());
        return ChildProcess::start(arguments, env());
    }

    // A visible window whose title matches `pattern` exists now.
    bool visible(const std::string& pattern) const {
        return server.xdotool({"search", "--onlyvisible", "--name", pattern});
    }

    std::optional<std::string> stored(const char* key) const { return home.stored(key); }

    bool socketExists() const {
        for (const auto& entry : fs::directory_iterator(home.runtime())) {
            if (entry.path().filename().string().starts_with("pelliwig-") &&
                entry.path().extension() != ".lock") {
                return true;
            }
        }
        return false;
    }

    const fs::path program = programPath();
    const ProgramHome home{"e2e"};
    XvfbServer server;
    OpenboxSession wm{server};
};

TEST_F(AppDelegateEndToEndTest, FirstRunMeetHerHandOverAndCleanEnd) {
    auto app = start();
    ASSERT_TRUE(app);
    ASSERT_TRUE(waitUntil([&] { return visible("^Welcome to Zuzi$"); }, 15s))
        << "the welcome window never showed";

    // The window gives "Meet her" the focus; space presses it.
    ASSERT_TRUE(server.xdotool({"search", "--onlyvisible", "--name", "^Welcome to Zuzi$",
                                "windowactivate", "--sync", "key", "space"}));
    EXPECT_TRUE(waitUntil([&] { return !visible("^Welcome to Zuzi$"); }, 5s));
    // Her morning hello brings the panel out at the top of the screen.
    EXPECT_TRUE(waitUntil([&] { return visible("^Pelliwig$"); }, 5s));
    EXPECT_EQ(stored("hasOnboarded"), R"({"value":true})");

    // A second launch hands its arguments over and ends at once.
    EXPECT_EQ(ChildProcess::run({program.string(), "--preview", "water"}, env(), 10s), 0);
    EXPECT_TRUE(app->running());

    ::kill(app->pid(), SIGTERM);
    ASSERT_TRUE(waitUntil([&] { return !app->running(); }, 5s));
    // An orderly end takes the instance's socket away; a crash leaves it.
    EXPECT_FALSE(socketExists());
    EXPECT_TRUE(stored("memory").has_value());
}

// "pelliwig --diary" from a terminal opens her diary in the Zuzi that runs.
TEST_F(AppDelegateEndToEndTest, DiaryFromTheCommandLine) {
    auto app = start();
    ASSERT_TRUE(app);
    ASSERT_TRUE(waitUntil([&] { return visible("^Welcome to Zuzi$"); }, 15s));
    EXPECT_EQ(ChildProcess::run({program.string(), "--diary"}, env(), 10s), 0);
    EXPECT_TRUE(waitUntil([&] { return visible("^Your week$"); }, 10s)) << "the diary never showed";
    EXPECT_TRUE(app->running());
    ::kill(app->pid(), SIGTERM);
    EXPECT_TRUE(waitUntil([&] { return !app->running(); }, 5s));
}

// A bad command line is an error with the usage, before and after she runs,
// and the Zuzi that runs hears nothing of it.
TEST_F(AppDelegateEndToEndTest, BadOptionsAreSaidAndChangeNothing) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--pause", "1h"}, "pelliwig: --pause takes a number of minutes"},
        {{"--pause", "abc"}, "pelliwig: --pause takes a number of minutes"},
        {{"--bogus"}, "pelliwig: unknown option \"--bogus\"\n"},
    };
    const auto check = [&](const char* when) {
        for (const auto& [arguments, error] : cases) {
            auto argv = arguments;
            argv.insert(argv.begin(), program.string());
            const auto ended = ChildProcess::errors(argv, env(), 10s);
            EXPECT_EQ(ended.status, 2) << when << " " << arguments[0];
            EXPECT_TRUE(ended.errors.starts_with(error)) << when << ": " << ended.errors;
            EXPECT_NE(ended.errors.find("Usage: pelliwig [OPTION]..."), std::string::npos);
        }
    };
    check("with no Zuzi running");
    EXPECT_FALSE(fs::exists(home.storePath()));

    auto app = start({"--welcome"});
    ASSERT_TRUE(app);
    ASSERT_TRUE(waitUntil([&] { return visible("^Welcome to Zuzi$"); }, 15s));
    check("with Zuzi running");
    // A good hand-over after the bad ones still reaches her, and the bad
    // pauses never did.
    EXPECT_EQ(ChildProcess::run({program.string(), "--settings"}, env(), 10s), 0);
    EXPECT_TRUE(waitUntil([&] { return visible("^Settings"); }, 5s));
    EXPECT_FALSE(stored("pausedUntil").has_value());
    EXPECT_TRUE(app->running());
}

// The lines a follower printed so far, each parsed as JSON (a line that is
// not JSON counts as an empty object).
std::vector<nlohmann::json> jsonLines(const fs::path& file) {
    std::ifstream in(file);
    std::vector<nlohmann::json> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(nlohmann::json::parse(line, nullptr, false));
        if (lines.back().is_discarded()) lines.back() = nlohmann::json::object();
    }
    return lines;
}

std::string classOf(const nlohmann::json& line) {
    return line.value("class", std::string());
}

// A desktop bar follows her: "--status --json --follow" prints her state at
// once and a new line when a pause starts and when it ends, all answered by
// the Zuzi that runs; when she ends the follower says so and ends too.
TEST_F(AppDelegateEndToEndTest, StatusFollowsAPauseAndHerEnd) {
    home.store(quietSettings(R"("water")"));
    const auto unstarted = ChildProcess::errors({program.string(), "--status"}, env(), 10s);
    EXPECT_EQ(unstarted.status, 3);
    EXPECT_EQ(unstarted.errors, "pelliwig: Zuzi is not running\n");

    auto app = start();
    ASSERT_TRUE(app);
    ASSERT_TRUE(waitUntil([&] { return socketExists(); }, 15s)) << "she never listened";
    // The plain line is her menu's: water is on, so it is coming.
    std::string once;
    ASSERT_TRUE(waitUntil(
        [&] {
            once = ChildProcess::output({program.string(), "--status"}, env(), 10s);
            return once.starts_with("Next: water around ");
        },
        15s))
        << once;
    EXPECT_EQ(std::count(once.begin(), once.end(), '\n'), 1) << once;

    const fs::path printed = home / "follow.out";
    auto follower = ChildProcess::start({program.string(), "--status", "--json", "--follow"}, env(),
                                        printed.string());
    ASSERT_TRUE(follower);
    ASSERT_TRUE(waitUntil([&] { return !jsonLines(printed).empty(); }, 10s));
    const auto first = jsonLines(printed).front();
    EXPECT_EQ(classOf(first), "next");
    for (const char* key : {"text", "tooltip", "class", "alt"}) {
        EXPECT_TRUE(first.contains(key)) << key << " in " << first.dump();
    }

    EXPECT_EQ(ChildProcess::run({program.string(), "--pause", "30"}, env(), 10s), 0);
    ASSERT_TRUE(waitUntil([&] { return classOf(jsonLines(printed).back()) == "paused"; }, 10s))
        << jsonLines(printed).back().dump();
    const auto paused = jsonLines(printed).back();
    EXPECT_TRUE(paused.value("text", "").starts_with("Paused until ")) << paused.dump();

    EXPECT_EQ(ChildProcess::run({program.string(), "--pause", "off"}, env(), 10s), 0);
    ASSERT_TRUE(waitUntil([&] { return classOf(jsonLines(printed).back()) == "next"; }, 10s))
        << jsonLines(printed).back().dump();
    // One line per change: next, paused, next again.
    EXPECT_EQ(jsonLines(printed).size(), 3u);

    ::kill(app->pid(), SIGTERM);
    ASSERT_TRUE(waitUntil([&] { return !app->running(); }, 5s));
    EXPECT_TRUE(waitUntil([&] { return !follower->running(); }, 5s)) << "the follower hung on";
    EXPECT_EQ(classOf(jsonLines(printed).back()), "stopped");
}

// A pause handed to the Zuzi that runs while another program holds her
// settings file locked is made, but the launch that asked says it is not
// saved and fails; once the file is free the same command succeeds.
TEST_F(AppDelegateEndToEndTest, AChangeThatCannotBeSavedFailsTheLaunchThatAsked) {
    home.store(quietSettings());
    auto app = start();
    ASSERT_TRUE(app);
    ASSERT_TRUE(waitUntil([&] { return socketExists(); }, 15s)) << "she never listened";

    ForeignLock lock(home.storePath(), "BEGIN EXCLUSIVE");
    ASSERT_TRUE(lock.locked());
    const auto refused = ChildProcess::errors({program.string(), "--pause", "30"}, env(), 10s);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.errors.find("the change is made but cannot be saved: "), std::string::npos)
        << refused.errors;
    EXPECT_TRUE(ChildProcess::output({program.string(), "--status"}, env(), 10s)
                    .starts_with("Paused until "));

    lock.release();
    EXPECT_EQ(ChildProcess::run({program.string(), "--pause", "30"}, env(), 10s), 0);
    EXPECT_TRUE(stored("pausedUntil").has_value());
    ::kill(app->pid(), SIGTERM);
    ASSERT_TRUE(waitUntil([&] { return !app->running(); }, 5s));
}

TEST_F(AppDelegateEndToEndTest, NoDisplayIsOneLineAndAnError) {
    auto vars = env();
    vars[0] = "DISPLAY=" + XvfbServer::deadDisplay();
    vars[1] = "QT_QPA_PLATFORM=";
    EXPECT_EQ(ChildProcess::run({program.string()}, vars, 10s), 1);
}

}  // namespace
}  // namespace pelliwig
