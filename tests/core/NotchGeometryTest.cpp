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
                         [](const auto& row) { return row.param.name; });

// A 1920-wide screen right of a 1280-wide one, each under a 32-high top bar,
// the left one with a 64-wide dock on its left edge.
Screen withBar(std::string name, Rect frame, double dock) {
    Screen s = plain(std::move(name), frame);
    s.workArea = Rect{frame.x + dock, frame.y + 32, frame.width - dock, frame.height - 32};
    return s;
}
const Screen kLaptop = withBar("eDP-1", {0, 0, 1280, 800}, 64);
const Screen kMonitor = withBar("HDMI-1", {1280, 0, 1920, 1080}, 0);

struct PlacementCase {
    std::string name;
    NotchPlacement placement;
    std::optional<std::string> pointerOn;
    Rect expected;
};

class NotchGeometryPlacement : public testing::TestWithParam<PlacementCase> {};

TEST_P(NotchGeometryPlacement, SitsWhereTheUserWantsBelowTheTopBar) {
    const PlacementCase& c = GetParam();
    FixedScreens screens({kLaptop, kMonitor}, 32);
    screens.setPointerScreen(c.pointerOn);
    const auto geometry = NotchGeometry::current(screens, false, c.placement);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->notchRect, c.expected);
    EXPECT_FALSE(geometry->hasNotch);
    // Only in the top right corner does her bubble open to her left.
    EXPECT_EQ(geometry->opensLeft, c.placement.position == NotchPosition::topRight);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotchGeometryPlacement,
    testing::Values(
        PlacementCase{"primaryTopCentreIsTheScreensCentre", {}, {}, {540, 32, 200, 32}},
        PlacementCase{
            "topLeftClearsTheDock", {NotchPosition::topLeft, "primary"}, {}, {64, 32, 200, 32}},
        PlacementCase{"topRightSitsInTheCorner",
                      {NotchPosition::topRight, "primary"},
                      {},
                      {1080, 32, 200, 32}},
        PlacementCase{"namedScreen", {NotchPosition::topCentre, "HDMI-1"}, {}, {2140, 32, 200, 32}},
        PlacementCase{"unknownNameFallsBackToPrimary",
                      {NotchPosition::topCentre, "DP-9"},
                      {},
                      {540, 32, 200, 32}},
        PlacementCase{"screenWithThePointer",
                      {NotchPosition::topLeft, "pointer"},
                      "HDMI-1",
                      {1280, 32, 200, 32}},
        PlacementCase{"pointerNowhereKnownFallsBackToPrimary",
                      {NotchPosition::topCentre, "pointer"},
                      {},
                      {540, 32, 200, 32}}),
    [](const auto& row) { return row.param.name; });

struct DeviceCase {
    std::string name;
    Point device;
    std::optional<Point> expected;
};

class FromDevicePixels : public testing::TestWithParam<DeviceCase> {};

// A 200 % laptop (2560 device pixels wide, 1280 in screen coordinates) and a
// 100 % monitor to its right whose origin is the same in both.
TEST_P(FromDevicePixels, MapsEachScreenByItsOwnScale) {
    Screen laptop = plain("eDP-1", {0, 0, 1280, 800});
    laptop.scale = 2;
    const Screen monitor = plain("HDMI-1", {2560, 0, 1920, 1080});
    EXPECT_EQ(fromDevicePixels({laptop, monitor}, GetParam().device), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FromDevicePixels,
    testing::Values(DeviceCase{"originStays", {0, 0}, Point{0, 0}},
                    DeviceCase{"topCentreOfTheScaledScreen", {1280, 4}, Point{640, 2}},
                    DeviceCase{"quarterWayAcrossIsNotTheCentre", {640, 2}, Point{320, 1}},
                    DeviceCase{"unscaledScreenKeepsItsPixels", {3000, 10}, Point{3000, 10}},
                    DeviceCase{"belowTheShorterScreen", {100, 1700}, std::nullopt}),
    [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace pelliwig
