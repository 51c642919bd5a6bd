#include "core/notch/NotchGeometry.h"

#include <gtest/gtest.h>

#include "fakes/FixedScreens.h"

namespace pelliwig {
namespace {

Screen plain(std::string name, Rect frame) {
    Screen s;
    s.name = std::move(name);
    s.frame = frame;
    return s;
}

// A laptop panel with a camera housing between x 700 and 812.
Screen builtIn() {
    Screen s = plain("builtIn", {0, 0, 1512, 982});
    s.topInset = 32;
    s.auxiliaryTopLeftArea = Rect{0, 0, 700, 32};
    s.auxiliaryTopRightArea = Rect{812, 0, 700, 32};
    return s;
}

Screen insetOnly() {
    Screen s = plain("insetOnly", {1512, 0, 2560, 1440});
    s.topInset = 20;
    return s;
}

struct Case {
    std::string name;
    std::vector<Screen> screens;
    std::optional<std::size_t> mainIndex;
    bool ignoreNotch;
    std::optional<NotchGeometry> expected;
};

class NotchGeometryCurrent : public testing::TestWithParam<Case> {};

TEST_P(NotchGeometryCurrent, ChoosesScreenAndArea) {
    const Case& c = GetParam();
    FixedScreens screens(c.screens, 24);
    screens.setMainIndex(c.mainIndex);
    EXPECT_EQ(NotchGeometry::current(screens, c.ignoreNotch), c.expected);
}

const Screen kLeft = plain("left", {-1920, 0, 1920, 1080});
const Screen kRight = plain("right", {1920, 100, 2560, 1440});

INSTANTIATE_TEST_SUITE_P(Cases, NotchGeometryCurrent,
                         testing::Values(Case{"notchBetweenSideAreas",
                                              {builtIn()},
                                              0,
                                              false,
                                              NotchGeometry{builtIn(), {700, 0, 112, 32}, true}},
                                         Case{"noNotchFlagGivesSubstituteOnNotchedScreen",
                                              {builtIn()},
                                              0,
                                              true,
                                              NotchGeometry{builtIn(), {656, 0, 200, 24}, false}},
                                         Case{"notchedScreenWinsOverEarlierExternal",
                                              {kLeft, builtIn()},
                                              0,
                                              false,
                                              NotchGeometry{builtIn(), {700, 0, 112, 32}, true}},
                                         Case{"noNotchFlagKeepsTheNotchedScreen",
                                              {kLeft, builtIn()},
                                              0,
                                              true,
                                              NotchGeometry{builtIn(), {656, 0, 200, 24}, false}},
                                         Case{"mainScreenWithoutAnyInset",
                                              {kLeft, kRight},
                                              1,
                                              false,
                                              NotchGeometry{kRight, {3100, 100, 200, 24}, false}},
                                         Case{"firstScreenWithoutMainScreen",
                                              {kLeft, kRight},
                                              std::nullopt,
                                              false,
                                              NotchGeometry{kLeft, {-1060, 0, 200, 24}, false}},
                                         Case{
                                             "insetWithoutSideAreasFallsBack",
                                             {kLeft, insetOnly()},
                                             0,
                                             false,
                                             NotchGeometry{insetOnly(), {2692, 0, 200, 24}, false}},
                                         Case{"noScreens", {}, std::nullopt, false, std::nullopt}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace pelliwig
