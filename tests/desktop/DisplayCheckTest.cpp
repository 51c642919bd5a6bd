#include "desktop/app/DisplayCheck.h"

#include <gtest/gtest.h>

#include <string>

namespace pelliwig {
namespace {

using DisplayCheck::Presentation;

bool answers(const std::string& display) {
    return display == ":0";
}

struct DisplayCase {
    const char* name;
    DisplayCheck::Environment environment;
    Presentation presentation;
    const char* said;  // the start of the problem or the notice; empty: nothing said
    bool fails;
};

class DisplayCheckTest : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayCheckTest, SheSpeaksWhereTheSessionLetsHer) {
    const auto& c = GetParam();
    const auto verdict = DisplayCheck::verdict(c.environment, &answers);
    EXPECT_EQ(verdict.presentation, c.presentation);
    EXPECT_EQ(verdict.problem.has_value(), c.fails);
    const auto& said = c.fails ? verdict.problem : verdict.notice;
    EXPECT_EQ(said.value_or("").rfind(c.said, 0), 0u) << said.value_or("(nothing)");
    if (!*c.said) {
        EXPECT_FALSE(verdict.notice || verdict.problem);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, DisplayCheckTest,
    ::testing::Values(
        DisplayCase{"x11", {":0", "", ""}, Presentation::notch, "", false},
        DisplayCase{"xwayland", {":0", "wayland-0", ""}, Presentation::notch, "", false},
        DisplayCase{"waylandOnly",
                    {"", "wayland-0", ""},
                    Presentation::notifications,
                    "pelliwig: this Wayland session offers no X display (DISPLAY is unset), so "
                    "Zuzi cannot sit at the top of the screen; her nudges come as desktop "
                    "notifications",
                    false},
        DisplayCase{"deadXWayland",
                    {":9", "wayland-0", ""},
                    Presentation::notifications,
                    "pelliwig: the X display :9 does not answer, so Zuzi cannot sit",
                    false},
        DisplayCase{"deadX",
                    {":9", "", ""},
                    Presentation::notch,
                    "pelliwig: the X display :9 does not answer; start her",
                    true},
        DisplayCase{"nothing",
                    {"", "", ""},
                    Presentation::notch,
                    "pelliwig: no display to show Zuzi on",
                    true},
        DisplayCase{"platformChosen", {"", "", "offscreen"}, Presentation::notch, "", false}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace pelliwig
