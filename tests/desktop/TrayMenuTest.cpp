#include "desktop/app/TrayMenu.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>
#include <QWidgetAction>

#include "NotchTestSupport.h"
#include "core/notch/NotchGeometry.h"
#include "core/notch/NotchModel.h"
#include "desktop/app/NotchMenuSurface.h"
#include "desktop/notch/NotchPanel.h"

namespace pelliwig {
namespace {

const auto* const qt = ::testing::AddGlobalTestEnvironment(new testing::QtApplication);

struct CountingActions final : MenuActions {
    void openUrl(const std::string&) override {}
    void preview(std::optional<ReminderKind>) override { ++previews; }
    void startFocus(int) override {}
    void cancelFocus() override {}
    void pauseFor(int minutes) override { pausedFor = minutes; }
    void pauseUntilTomorrow() override {}
    void resume() override {}
    void openSettings() override {}
    void openWelcome() override {}
    void quit() override {}
    int previews = 0;
    int pausedFor = 0;
};

class TrayMenuTest : public ::testing::Test {
protected:
    QAction* open(const char* id) {
        emit tray.menu()->aboutToShow();
        return tray.menu()->findChild<QAction*>(id);
    }

    MenuState state;
    CountingActions actions;
    TrayMenu tray{[this] { return state; }, actions};
};

TEST_F(TrayMenuTest, EachOpeningReadsTheStateAfresh) {
    EXPECT_EQ(open("jealousy"), nullptr);
    state.engineExists = true;
    state.jealousy = 100;
    ASSERT_NE(open("jealousy"), nullptr);
    EXPECT_EQ(open("jealousy")->text().toStdString(), jealousyLine(100));
    state.engineExists = false;
    EXPECT_EQ(open("jealousy"), nullptr);
}

TEST_F(TrayMenuTest, StateLinesArePlainTextThatDoesNothing) {
    state.engineExists = true;
    state.onCall = true;
    auto* line = qobject_cast<QWidgetAction*>(open("onCall"));
    ASSERT_NE(line, nullptr);
    auto* label = qobject_cast<QLabel*>(line->defaultWidget());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Quiet: you're on a call");
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

TEST_F(TrayMenuTest, PauseIsASubmenuWhoseEntriesAct) {
    ASSERT_NE(open("pause.60"), nullptr);
    auto* pause = tray.menu()->findChild<QMenu*>("pause");
    ASSERT_NE(pause, nullptr);
    EXPECT_EQ(pause->title(), "Pause");
    open("pause.60")->trigger();
    EXPECT_EQ(actions.pausedFor, 60);
}

TEST_F(TrayMenuTest, AnAmpersandInAReleaseIsShownNotAMnemonic) {
    state.release = Release{"2.0 & more", "https://example.org", std::nullopt};
    EXPECT_EQ(open("update")->text(), QString::fromUtf8("Update to Zuzi 2.0 && more…"));
}

TEST_F(TrayMenuTest, ButtonsReachTheirActionsAfterARebuild) {
    state.engineExists = true;
    open("saySomething");
    open("saySomething")->trigger();  // the first opening's entries are gone by now
    EXPECT_EQ(actions.previews, 1);
}

// Right-clicking her in the notch opens the menu where the pointer is; a
// left click stays hers (it closes the moment).
TEST(NotchMenuSurfaceTest, RightClickOnHerOpensTheMenuAtThePointer) {
    auto sprites = testing::projectSprites();
    NotchPanel panel(
        sprites, [](const Moment&) { return std::vector<Answer>{}; }, [] { return true; });
    std::vector<QPoint> opened;
    NotchMenuSurface surface(panel, [&opened](const QPoint& at) { opened.push_back(at); });
    NotchModel model;
    NotchGeometry geometry;
    geometry.notchRect = Rect{540, 0, 200, 32};
    surface.build(geometry, Rect{540, 0, 560, 300}, model);
    auto* view = panel.view();
    ASSERT_NE(view, nullptr);

    const QPointF local(100, 10);
    const QPointF global(640, 10);
    QMouseEvent right(QEvent::MouseButtonPress, local, global, Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(view, &right);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QPoint(640, 10));

    QMouseEvent left(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(view, &left);
    EXPECT_EQ(opened.size(), 1u);

    // A rebuilt window (another screen) is watched too.
    surface.build(geometry, Rect{540, 0, 560, 300}, model);
    QCoreApplication::sendEvent(panel.view(), &right);
    EXPECT_EQ(opened.size(), 2u);
}

}  // namespace
}  // namespace pelliwig
