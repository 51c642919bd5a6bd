#include "desktop/app/AppOptions.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(AppOptions::parse(GetParam().arguments), GetParam().expected);
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
        Case{"PauseBadValues", {"--pause", "0"}, {}},
        Case{"PauseNotANumber", {"--pause", "30m"}, {}}, Case{"PauseWithoutValue", {"--pause"}, {}},
        // Flags are whole arguments: look-alikes and toolkit options are ignored.
        Case{"LookAlikes", {"--Welcome", "--no-notch=1", "-welcome", "--previews", "water"}, {}},
        Case{"ToolkitOptions",
             {"-platform", "offscreen", "--login-item"},
             with(&AppOptions::loginItem)}),
    [](const auto& row) { return row.param.name; });

TEST(AppOptionsUsageTest, NamesEveryFlagAndKind) {
    const auto usage = AppOptions::usage();
    for (const char* flag : {"--preview", "--pause", "--welcome", "--settings", "--diary", "--quit",
                             "--login-item", "--no-notch", "--help", "--version"}) {
        EXPECT_NE(usage.find(flag), std::string::npos) << flag;
    }
    // The kinds close the text, as words in declaration order.
    std::istringstream kinds(usage.substr(usage.find("Kinds:") + 6));
    std::vector<std::string> listed;
    for (std::string word; kinds >> word;) listed.push_back(word);
    std::vector<std::string> expected;
    for (const auto kind : allCases<ReminderKind>()) expected.push_back(rawString(kind));
    EXPECT_EQ(listed, expected);
}

}  // namespace
}  // namespace pelliwig
