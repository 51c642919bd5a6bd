#include "desktop/support/QtScreens.h"

#include <QGuiApplication>
#include <QScreen>

#include "NotchTestSupport.h"

namespace pelliwig {
namespace {

const auto* const kApp = ::testing::AddGlobalTestEnvironment(new testing::QtApplication);

struct BarCase {
    const char* name;
    QRect geometry;
    QRect available;
    double expected;
};

class BarHeight : public ::testing::TestWithParam<BarCase> {};

TEST_P(BarHeight, IsWhatTheTopPanelReserves) {
    EXPECT_DOUBLE_EQ(QtScreens::barHeight(GetParam().geometry, GetParam().available),
                     GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, BarHeight,
    ::testing::Values(
        BarCase{"GnomeTopBar", {0, 0, 1920, 1080}, {0, 32, 1920, 1048}, 32},
        BarCase{"TallKdePanel", {0, 0, 2560, 1440}, {0, 44, 2560, 1396}, 44},
        BarCase{"ThinPanelGetsTheMinimum", {0, 0, 1920, 1080}, {0, 18, 1920, 1062}, 24},
        BarCase{"BottomPanelOnly", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 32},
        BarCase{"LeftDockOnly", {0, 0, 1920, 1080}, {64, 0, 1856, 1080}, 32},
        BarCase{"SecondScreenOnTheRight", {1920, 0, 1280, 1024}, {1920, 27, 1280, 997}, 27},
        BarCase{"NoWorkAreaReported", {0, 0, 1920, 1080}, {}, 32}),
    [](const auto& row) { return row.param.name; });

TEST(QtScreensTest, DescribesQtsScreens) {
    QtScreens screens;
    const auto all = screens.screens();
    ASSERT_EQ(all.size(), std::size_t(QGuiApplication::screens().size()));
    ASSERT_TRUE(screens.mainScreen());
    const QRect g = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(screens.mainScreen()->frame,
              (Rect{double(g.x()), double(g.y()), double(g.width()), double(g.height())}));
    EXPECT_EQ(screens.mainScreen()->topInset, 0);
    EXPECT_FALSE(screens.mainScreen()->auxiliaryTopLeftArea);
    EXPECT_GE(screens.menuBarHeight(), QtScreens::kMinimumBarHeight);
}

}  // namespace
}  // namespace pelliwig
