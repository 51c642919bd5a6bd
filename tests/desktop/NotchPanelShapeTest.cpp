// The panel's window shape with and without a compositor, and a rebuild
// while she is out, on Qt's offscreen platform.

#include <QPointer>
#include <QTest>
#include <QWidget>

#include "NotchTestSupport.h"
#include "core/notch/NotchController.h"
#include "desktop/notch/Bubble.h"
#include "desktop/notch/NotchPanel.h"

namespace pelliwig {
namespace {

const auto* const kApp = ::testing::AddGlobalTestEnvironment(new testing::QtApplication);

NotchGeometry geometry(Rect screen, Rect notch) {
    NotchGeometry g;
    g.screen.name = "main";
    g.screen.frame = screen;
    g.notchRect = notch;
    return g;
}

const NotchGeometry kGeometry = geometry({0, 0, 1280, 800}, {540, 0, 200, 32});

class NotchPanelShapeTest : public ::testing::TestWithParam<bool> {
protected:
    NotchPanelShapeTest()
        : sprites_(testing::projectSprites()),
          panel_(
              sprites_, [](const Moment&) { return std::vector<Answer>{}; },
              [] { return GetParam(); }) {}

    void show() {
        panel_.build(kGeometry, NotchController::panelFrame(kGeometry.notchRect), model_);
        model_.setMoment(testing::moment("Hello there"));
        panel_.orderFront();
        model_.setShown(true);
        model_.setBubbleShown(true);
        // The bubble always drops in after its delay.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return panel_.view()->bubble()->isVisible() && !panel_.view()->animating(); }));
    }

    NotchModel model_;
    SpriteSheet sprites_;
    NotchPanel panel_;
};

// Without a compositor the shape is exactly what is drawn, since anything
// else would show black; with one it keeps room for the bubble's shadow.
TEST_P(NotchPanelShapeTest, ShapeFollowsWhatIsDrawn) {
    const bool compositing = GetParam();
    show();
    NotchView& view = *panel_.view();
    ASSERT_TRUE(view.isVisible());
    const QRegion shape = view.mask();
    const QRect bubble = view.bubble()->geometry();
    const QPoint body = bubble.topLeft() + QPoint(Bubble::kMargin, Bubble::kMargin);
    const int bodyBottom = body.y() + int(view.bubble()->layout().bubble.height);
    EXPECT_TRUE(shape.contains(QPoint(100, 100)));       // the box
    EXPECT_TRUE(shape.contains(body + QPoint(40, 10)));  // the bubble
    EXPECT_FALSE(shape.contains(QPoint(100, 200)));      // below the box
    EXPECT_FALSE(shape.contains(QPoint(view.width() - 2, view.height() - 2)));
    EXPECT_EQ(shape.contains(QPoint(body.x() + 40, bodyBottom + 4)), compositing);  // shadow
}

INSTANTIATE_TEST_SUITE_P(Compositor, NotchPanelShapeTest, ::testing::Bool(),
                         [](const auto& row) { return row.param ? "Present" : "Absent"; });

// After a screen change the new window shows the moment at once, settled,
// and the old one is gone.
TEST_P(NotchPanelShapeTest, RebuildWhileShownStartsOut) {
    show();
    const QPointer<NotchView> old = panel_.view();
    const NotchGeometry wider = geometry({0, 0, 1920, 1080}, {860, 0, 200, 32});
    panel_.build(wider, NotchController::panelFrame(wider.notchRect), model_);
    EXPECT_TRUE(old.isNull());
    NotchView& view = *panel_.view();
    EXPECT_EQ(view.geometry().topLeft(), QPoint(860, 0));
    EXPECT_FALSE(view.animating());
    EXPECT_TRUE(view.paintedRegion().contains(QPoint(100, 130)));  // the box fully grown
    panel_.orderFront();
    EXPECT_TRUE(view.isVisible());
    EXPECT_TRUE(view.bubble()->isVisible());
    panel_.orderOut();
    EXPECT_FALSE(view.isVisible());
}

}  // namespace
}  // namespace pelliwig
