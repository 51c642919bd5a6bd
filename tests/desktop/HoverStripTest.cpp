// The hover strip on a private X server: where it lies, and what it reports
// as the pointer comes, moves and goes, for both kinds of window.
#include "desktop/notch/HoverStrip.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <QApplication>
#include <QDeadlineTimer>

#include "support/QtApplication.h"
#include "support/XvfbServer.h"

namespace pelliwig {
namespace {

struct StripDisplay {
    StripDisplay() {
        if (!server.ok()) return;
        qputenv("DISPLAY", QByteArray::fromStdString(server.display()));
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    std::string whyNot() const {
        if (!server.ok()) return server.why();
        if (testing::findProgram("xdotool").empty()) return "xdotool is not installed";
        return {};
    }
    testing::XvfbServer server;
};

const StripDisplay kDisplay;

const auto* const kApp = ::testing::AddGlobalTestEnvironment(
    new testing::QtApplication([] { return kDisplay.whyNot().empty(); }));

// Runs Qt's event loop until `done`, for at most two seconds.
template <typename Condition>
bool processUntil(Condition done) {
    QDeadlineTimer deadline(2000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class HoverStripTest : public ::testing::TestWithParam<HoverStrip::Kind> {
protected:
    void SetUp() override {
        if (auto why = kDisplay.whyNot(); !why.empty()) GTEST_SKIP() << why;
    }
    bool moveTo(int x, int y) {
        return kDisplay.server.xdotool({"mousemove", std::to_string(x), std::to_string(y)});
    }
};

TEST_P(HoverStripTest, ReportsThePointerOverItAndWhenItLeaves) {
    HoverStrip strip(GetParam());
    std::vector<Point> seen;
    int left = 0;
    strip.onPointer = [&](Point p) { seen.push_back(p); };
    strip.onLeft = [&] { ++left; };
    ASSERT_TRUE(moveTo(100, 500));
    strip.place({540, 0, 200, 32});
    EXPECT_EQ(strip.deviceGeometry(), QRect(540, 0, 200, 4));

    ASSERT_TRUE(moveTo(640, 2));
    ASSERT_TRUE(processUntil([&] { return !seen.empty(); })) << "no enter or motion reported";
    EXPECT_EQ(seen.back(), (Point{640, 2}));
    ASSERT_TRUE(moveTo(700, 1));
    EXPECT_TRUE(processUntil([&] { return seen.back() == Point{700, 1}; }));
    EXPECT_EQ(left, 0);

    // Below her area the strip no longer has the pointer.
    ASSERT_TRUE(moveTo(700, 300));
    EXPECT_TRUE(processUntil([&] { return left == 1; }));
    EXPECT_EQ(seen.back(), (Point{700, 300}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, HoverStripTest,
                         ::testing::Values(HoverStrip::Kind::inputOnly,
                                           HoverStrip::Kind::transparent),
                         [](const auto& row) {
                             return row.param == HoverStrip::Kind::inputOnly ? "InputOnly"
                                                                             : "Transparent";
                         });

}  // namespace
}  // namespace pelliwig
