#include "core/sensors/ForeignFrontApp.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes/ScriptedFrontApp.h"

namespace pelliwig {
namespace {

// One reading: what the desktop says is focused, and whether that is one of
// her own windows.
struct Step {
    std::optional<std::string> focused;
    bool own;
    std::optional<std::string> seen;  // what she takes to be in front
};

struct Case {
    std::string name;
    std::vector<Step> steps;
};

class ForeignFrontAppTest : public ::testing::TestWithParam<Case> {};

TEST_P(ForeignFrontAppTest, HerOwnWindowsLeaveTheAppBeforeThemInFront) {
    ScriptedFrontApp desktop;
    bool own = false;
    ForeignFrontApp front(desktop, [&own] { return own; });
    int index = 0;
    for (const auto& step : GetParam().steps) {
        desktop.current = step.focused;
        own = step.own;
        EXPECT_EQ(front.name(), step.seen) << "step " << index++;
    }
}

const std::optional<std::string> kNone;

INSTANTIATE_TEST_SUITE_P(
    Readings, ForeignFrontAppTest,
    ::testing::Values(
        Case{"OthersPassThrough", {{"Firefox", false, "Firefox"}, {"Terminal", false, "Terminal"}}},
        Case{"SettingsOverAnApp",
             {{"Firefox", false, "Firefox"},
              {"Zuzi", true, "Firefox"},
              {"Firefox", false, "Firefox"}}},
        // The desktop may still name the app before hers for a moment, or
        // nothing at all; either way hers is not it.
        Case{"OwnWindowWhateverTheDesktopSays",
             {{"Terminal", false, "Terminal"},
              {kNone, true, "Terminal"},
              {"Terminal", true, "Terminal"}}},
        Case{"OwnWindowFirstOfAll", {{"Zuzi", true, kNone}, {"Files", false, "Files"}}},
        Case{"SwitchFromHersToAnother",
             {{"Firefox", false, "Firefox"}, {"Zuzi", true, "Firefox"}, {"Slack", false, "Slack"}}},
        Case{"NothingFocused", {{kNone, false, kNone}, {"Zuzi", true, kNone}}}),
    [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace pelliwig
