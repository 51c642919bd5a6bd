#include "desktop/app/TrayMenu.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QTest>
#include <QTimeEdit>
#include <QWidgetAction>

#include "NotchTestSupport.h"
#include "SettingsTestWindow.h"
#include "core/notch/NotchGeometry.h"
#include "core/notch/NotchModel.h"
#include "desktop/app/NotchMenuSurface.h"
#include "desktop/notch/NotchPanel.h"
#include "desktop/settings/TimeField.h"
#include "support/TestTime.h"

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
    void openSettings() override { ++settings; }
    void openWelcome() override {}
    void openDiary() override {}
    void openAbout() override {}
    void quit() override { ++quits; }
    void answer(std::size_t index) override { answered.push_back(index); }
    std::vector<std::size_t> answered;
    int previews = 0;
    int pausedFor = 0;
    int settings = 0;
    int quits = 0;
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

// The shortcuts the menu shows work while it is open and in a window of hers
// while that is active; other keys do nothing.
struct ShortcutCase {
    const char* name;
    bool inMenu;  // else in a window of hers
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int settings;
    int quits;
};

class TrayShortcutTest : public TrayMenuTest, public ::testing::WithParamInterface<ShortcutCase> {};

TEST_P(TrayShortcutTest, ActsWhereTheMenuShowsIt) {
    const auto& c = GetParam();
    QWidget window;
    tray.serveShortcutsIn(&window);
    QWidget* target = tray.menu();
    if (c.inMenu) {
        tray.popupAt(QPoint(40, 40));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tray.menu()));
    } else {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        target = &window;
    }
    QTest::keyClick(target, c.key, c.modifiers);
    EXPECT_EQ(actions.settings, c.settings);
    EXPECT_EQ(actions.quits, c.quits);
    if (c.inMenu) {
        EXPECT_EQ(tray.menu()->isVisible(), c.settings + c.quits == 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TrayShortcutTest,
    ::testing::Values(
        ShortcutCase{"SettingsInTheMenu", true, Qt::Key_Comma, Qt::ControlModifier, 1, 0},
        ShortcutCase{"QuitInTheMenu", true, Qt::Key_Q, Qt::ControlModifier, 0, 1},
        ShortcutCase{"PlainQInTheMenu", true, Qt::Key_Q, Qt::NoModifier, 0, 0},
        ShortcutCase{"SettingsInHerWindow", false, Qt::Key_Comma, Qt::ControlModifier, 1, 0},
        ShortcutCase{"QuitInHerWindow", false, Qt::Key_Q, Qt::ControlModifier, 0, 1},
        ShortcutCase{"OtherKeysInHerWindow", false, Qt::Key_W, Qt::ControlModifier, 0, 0}),
    [](const auto& row) { return std::string(row.param.name); });

// "Focus until" is written as her time fields write times, whatever the
// locale (in the C locale ICU would say "2:30 PM" beside 24-hour fields).
struct TimeLocaleCase {
    const char* name;
    QLocale locale;
    const char* expected;
};

class TrayTimeTest : public TrayMenuTest, public ::testing::WithParamInterface<TimeLocaleCase> {};

TEST_P(TrayTimeTest, FocusUntilIsWrittenAsTheTimeFieldsWriteIt) {
    const testing::LocaleForTest locale(GetParam().locale);
    state.engineExists = true;
    state.focusEndsAt = testing::utc(2026, 3, 7, 13, 30);  // 14:30 in Berlin
    TimeField field({});
    field.setMinutes(14 * 60 + 30);
    ASSERT_NE(open("focusUntil"), nullptr);
    EXPECT_EQ(open("focusUntil")->text(), "Focus until " + field.editor()->text());
    // 12 or 24 hours as the locale says; the fields decide the rest.
    if (GetParam().expected) {
        EXPECT_EQ(open("focusUntil")->text(), QString::fromUtf8(GetParam().expected));
    } else {
        EXPECT_TRUE(open("focusUntil")->text().contains("2:30"))
            << open("focusUntil")->text().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Locales, TrayTimeTest,
    ::testing::Values(TimeLocaleCase{"German", QLocale("de_DE"), "Focus until 14:30"},
                      TimeLocaleCase{"British", QLocale("en_GB"), "Focus until 14:30"},
                      TimeLocaleCase{"C", QLocale::c(), "Focus until 14:30"},
                      TimeLocaleCase{"American", QLocale("en_US"), nullptr}),
    [](const auto& row) { return std::string(row.param.name); });

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
