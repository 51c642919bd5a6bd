#include "desktop/app/AppOptions.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace pelliwig {
namespace {

AppOptions previewing(std::optional<ReminderKind> kind) {
    AppOptions options;
    options.preview = true;
    options.previewKind = kind;
    return options;
}

AppOptions pausing(PauseRequest::Until until, int minutes = 0) {
    AppOptions options;
    options.pause = PauseRequest{until, minutes};
    return options;
}

AppOptions with(bool AppOptions::*flag) {
    AppOptions options;
    options.*flag = true;
    return options;
}

struct Case {
    std::string name;
    std::vector<std::string> arguments;
    AppOptions expected;
};

class AppOptionsTest : public ::testing::TestWithParam<Case> {};

TEST_P(AppOptionsTest, Parses) {
    const auto parsed = AppOptions::parse(GetParam().arguments);
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options, GetParam().expected);
}

AppOptions asking(bool json, bool follow) {
    AppOptions options;
    options.status = true;
    options.json = json;
    options.follow = follow;
    return options;
}

AppOptions everyFlag() {
    auto options = previewing(ReminderKind::water);
    options.noNotch = options.loginItem = options.welcome = true;
    return options;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, AppOptionsTest,
    ::testing::Values(
        Case{"Nothing", {}, {}}, Case{"NoNotch", {"--no-notch"}, with(&AppOptions::noNotch)},
        Case{"LoginItem", {"--login-item"}, with(&AppOptions::loginItem)},
        Case{"Welcome", {"--welcome"}, with(&AppOptions::welcome)},
        Case{"Settings", {"--settings"}, with(&AppOptions::settings)},
        Case{"Diary", {"--diary"}, with(&AppOptions::diary)},
        Case{"Quit", {"--quit"}, with(&AppOptions::quit)},
        Case{"Help", {"--help"}, with(&AppOptions::help)},
        Case{"ShortHelp", {"-h"}, with(&AppOptions::help)},
        Case{"Version", {"--version"}, with(&AppOptions::version)},
        Case{"PreviewWithKind", {"--preview", "water"}, previewing(ReminderKind::water)},
        Case{"PreviewLast",
             {"--welcome", "--preview"},
             [] {
                 auto options = previewing(std::nullopt);
                 options.welcome = true;
                 return options;
             }()},
        Case{"PreviewNotAKind", {"--preview", "notakind"}, previewing(std::nullopt)},
        // Raw values are exact: no case folding.
        Case{"PreviewKindCaseMatters", {"--preview", "Water"}, previewing(std::nullopt)},
        Case{"PreviewRecordKind", {"--preview", "deadline"}, previewing(ReminderKind::deadline)},
        Case{"OnlyTheFirstPreviewCounts",
             {"--preview", "meal", "--preview", "water"},
             previewing(ReminderKind::meal)},
        Case{"PreviewFollowedByAFlag",
             {"--preview", "--no-notch"},
             [] {
                 auto options = previewing(std::nullopt);
                 options.noNotch = true;
                 return options;
             }()},
        Case{"EveryFlagInAnyOrder",
             {"--welcome", "--preview", "water", "--login-item", "--no-notch"},
             everyFlag()},
        Case{"PauseMinutes", {"--pause", "30"}, pausing(PauseRequest::Until::minutes, 30)},
        Case{"PauseTomorrow", {"--pause", "tomorrow"}, pausing(PauseRequest::Until::tomorrow)},
        Case{"PauseOff", {"--pause", "off"}, pausing(PauseRequest::Until::off)},
        Case{"Status", {"--status"}, asking(false, false)},
        Case{"StatusJson", {"--status", "--json"}, asking(true, false)},
        Case{"StatusFollow", {"--follow", "--status"}, asking(false, true)},
        Case{"StatusJsonFollow", {"--status", "--json", "--follow"}, asking(true, true)},
        Case{"StatusWithToolkitOptions",
             {"--status", "-platform", "offscreen"},
             asking(false, false)},
        // Qt takes its own options out of the arguments, with one dash or two.
        Case{"ToolkitOptions",
             {"-platform", "offscreen", "--login-item"},
             with(&AppOptions::loginItem)},
        Case{"ToolkitOptionsEveryForm",
             {"--style", "fusion", "-style=fusion", "-reverse", "--display", ":3", "--settings"},
             with(&AppOptions::settings)}),
    [](const auto& row) { return row.param.name; });

struct Refusal {
    std::string name;
    std::vector<std::string> arguments;
    std::string error;
};

class AppOptionsRefusalTest : public ::testing::TestWithParam<Refusal> {};

// A mistyped option or value is named, never quietly dropped.
TEST_P(AppOptionsRefusalTest, NamesTheFirstBadArgument) {
    const auto parsed = AppOptions::parse(GetParam().arguments);
    EXPECT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, AppOptionsRefusalTest,
    ::testing::Values(
        Refusal{"Unknown", {"--bogus"}, R"(unknown option "--bogus")"},
        Refusal{"UnknownAfterGoodOnes", {"--welcome", "-x"}, R"(unknown option "-x")"},
        Refusal{"PauseWithUnit",
                {"--pause", "1h"},
                R"(--pause takes a number of minutes, "tomorrow" or "off", not "1h")"},
        Refusal{"PauseWord",
                {"--pause", "abc"},
                R"(--pause takes a number of minutes, "tomorrow" or "off", not "abc")"},
        Refusal{"PauseZero",
                {"--pause", "0"},
                R"(--pause takes a number of minutes, "tomorrow" or "off", not "0")"},
        Refusal{"PauseWithoutValue", {"--pause"}, "--pause needs a value: MINUTES|tomorrow|off"},
        Refusal{"PauseFollowedByAFlag",
                {"--pause", "--welcome"},
                "--pause needs a value: MINUTES|tomorrow|off"},
        // Options are whole arguments in their own spelling.
        Refusal{"CaseMatters", {"--Welcome"}, R"(unknown option "--Welcome")"},
        Refusal{"NoValueGlued", {"--no-notch=1"}, R"(unknown option "--no-notch=1")"},
        Refusal{"OneDash", {"-welcome"}, R"(unknown option "-welcome")"},
        Refusal{"LongerName", {"--previews"}, R"(unknown option "--previews")"},
        Refusal{"StrayWord", {"water"}, R"(unexpected argument "water")"},
        Refusal{"JsonAlone", {"--json"}, "--json goes with --status"},
        Refusal{"FollowAlone", {"--follow", "--welcome"}, "--follow goes with --status"},
        // A question acts on nothing: she is not paused by it, nor opened.
        Refusal{"StatusAndPause",
                {"--status", "--pause", "30"},
                "--status takes no other options but --json and --follow"},
        Refusal{"StatusAndSettings",
                {"--settings", "--status", "--json"},
                "--status takes no other options but --json and --follow"},
        Refusal{"ToolkitFlagWithValue", {"-reverse=1"}, R"(unknown option "-reverse=1")"}),
    [](const auto& row) { return row.param.name; });

TEST(AppOptionsUsageTest, NamesEveryListedFlagAndKind) {
    const auto usage = AppOptions::usage();
    for (const char* flag : {"--preview", "--pause", "--welcome", "--settings", "--diary", "--quit",
                             "--login-item", "--help", "--version"}) {
        EXPECT_NE(usage.find(flag), std::string::npos) << flag;
    }
    // Still taken, no longer offered: a screen here has no notch.
    EXPECT_EQ(usage.find("--no-notch"), std::string::npos);
    EXPECT_TRUE(AppOptions::parse({"--no-notch"}).options.noNotch);
    // The kinds close the text, as words in declaration order.
    std::istringstream kinds(usage.substr(usage.find("Kinds:") + 6));
    std::vector<std::string> listed;
    for (std::string word; kinds >> word;) listed.push_back(word);
    std::vector<std::string> expected;
    for (const auto kind : allCases<ReminderKind>()) expected.push_back(rawString(kind));
    EXPECT_EQ(listed, expected);
}

// The manual page describes every option the program takes, those --help
// leaves out included.
TEST(AppOptionsUsageTest, ManualPageListsEveryOption) {
    std::ifstream in(PELLIWIG_MAN_PAGE);
    ASSERT_TRUE(in) << PELLIWIG_MAN_PAGE;
    const std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const auto name : AppOptions::names()) {
        // roff writes each dash of an option as "\-"; the name stands as a
        // word of its own ("\-h" inside "\-\-help" does not count).
        std::string written;
        for (const char c : name) written += c == '-' ? std::string("\\-") : std::string(1, c);
        const auto standsAlone = [&](std::size_t at) {
            const auto end = at + written.size();
            return at > 0 && std::string_view(" \"").find(page[at - 1]) != std::string_view::npos &&
                   end < page.size() &&
                   std::string_view(" \"\n").find(page[end]) != std::string_view::npos;
        };
        bool found = false;
        for (auto at = page.find(written); at != std::string::npos && !found;
             at = page.find(written, at + 1)) {
            found = standsAlone(at);
        }
        EXPECT_TRUE(found) << name;
    }
}

}  // namespace
}  // namespace pelliwig
