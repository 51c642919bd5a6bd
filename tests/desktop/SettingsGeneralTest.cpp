#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTime>
#include <QTimeEdit>
#include <QToolButton>

#include "SettingsTestWindow.h"
#include "desktop/settings/DatesTab.h"
#include "desktop/settings/GeneralTab.h"
#include "desktop/settings/RemindersTab.h"
#include "desktop/settings/TimeField.h"

namespace pelliwig::testing {
namespace {

class SettingsGeneralTest : public SettingsWindowTest {};

TEST_F(SettingsGeneralTest, FourTabsInOrderInAFixedWindow) {
    auto* tabs = view->tabs();
    ASSERT_EQ(tabs->count(), 4);
    const char* titles[] = {"General", "Reminders", "Dates & yours", "Her world"};
    for (int i = 0; i < 4; ++i) {
        // Tab bars read "&" as a shortcut marker; "&&" is drawn as "&".
        EXPECT_EQ(tabs->tabText(i).replace("&&", "&"), titles[i]);
        EXPECT_FALSE(tabs->tabIcon(i).isNull()) << titles[i];
    }
    EXPECT_EQ(view->size(), QSize(500, 520));
    EXPECT_EQ(view->minimumSize(), view->maximumSize());
}

// With a desktop icon theme (GNOME's), the tabs and the list buttons show
// the theme's gear, bell, calendar, heart, minus and plus.
TEST_F(SettingsGeneralTest, IconsComeFromTheDesktopIconTheme) {
    const QString themes = "/usr/share/icons";
    if (!QFileInfo::exists(themes + "/Adwaita/index.theme")) GTEST_SKIP() << "no Adwaita theme";
    // Theme icons are looked up again whenever the theme changes, so the
    // test's theme stays until the checks are done.
    struct ThemeForTest {
        ThemeForTest(const QString& searchPath, const QString& theme) {
            QIcon::setThemeSearchPaths({searchPath});
            QIcon::setThemeName(theme);
        }
        ~ThemeForTest() {
            QIcon::setThemeSearchPaths(paths);
            QIcon::setThemeName(name);
        }
        QStringList paths = QIcon::themeSearchPaths();
        QString name = QIcon::themeName();
    };
    const ThemeForTest adwaita(themes, "Adwaita");
    prefs.customReminders.set({CustomReminder{}});
    view = makeView();

    const char* expected[] = {"emblem-system", "preferences-system-notifications",
                              "x-office-calendar", "emblem-favorite"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(view->tabs()->tabIcon(i).name().startsWith(expected[i]))
            << view->tabs()->tabIcon(i).name().toStdString();
    }
    auto* dates = view->datesTab();
    EXPECT_TRUE(
        find<QToolButton>("addCustomReminder", dates)->icon().name().startsWith("list-add"));
    EXPECT_TRUE(find<QToolButton>("remove", dates)->icon().name().startsWith("list-remove"));
}

TEST_F(SettingsGeneralTest, TextsAndChoicesAsWritten) {
    const QStringList texts = shownTexts(view->generalTab());
    for (const char* text :
         {"Language", "Appearance", "Timing", "Quiet from", "Quiet until", "Follow Do Not Disturb",
          "Quiet during full-screen apps", "Launch at login"}) {
        EXPECT_TRUE(texts.contains(text)) << text;
    }
    const auto items = [this](const char* name) {
        QStringList shown;
        auto* picker = find<QComboBox>(name);
        for (int i = 0; i < picker->count(); ++i) shown << picker->itemText(i);
        return shown;
    };
    EXPECT_EQ(items("language"), QStringList({"English", "Hinglish"}));
    EXPECT_EQ(items("appearance"), QStringList({"Zuzi", "Mom"}));
}

TEST_F(SettingsGeneralTest, QuietTogglesAreOnAtFirstAndStoreTheirFlag) {
    for (const char* name : {"followDoNotDisturb", "quietDuringFullScreen"}) {
        SCOPED_TRACE(name);
        auto* toggle = find<QCheckBox>(name);
        EXPECT_TRUE(toggle->isChecked());
        toggle->click();
        EXPECT_EQ(stored(name), R"({"value":false})");
        toggle->click();
        EXPECT_EQ(stored(name), R"({"value":true})");
    }
    prefs.quietDuringFullScreen.set(false);
    EXPECT_FALSE(find<QCheckBox>("quietDuringFullScreen")->isChecked());
}

TEST_F(SettingsGeneralTest, OpeningAndNothingElseWritesNothing) {
    view->showAndRaise();
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(store.writes, 0);
}

TEST_F(SettingsGeneralTest, QuietTimesAreStoredAsMinutesAfterMidnight) {
    auto* editor = find<TimeField>("quietStart")->editor();
    focusAsByTab(editor);
    QTest::keyClicks(editor, "23:45");
    EXPECT_EQ(editor->text(), "23:45");
    EXPECT_EQ(stored("quietStart"), R"({"value":1425})");

    auto* until = find<TimeField>("quietEnd")->editor();
    focusAsByTab(until);
    QTest::keyClicks(until, "06:05");
    EXPECT_EQ(stored("quietEnd"), R"({"value":365})");
}

struct StepperCase {
    const char* name;
    Qt::Key key;
    int presses;
    const char* json;
};

class MinGapStepperTest : public SettingsWindowTest,
                          public ::testing::WithParamInterface<StepperCase> {};

TEST_P(MinGapStepperTest, StepsByFiveAndStaysInsideFiveToOneHundredTwenty) {
    const auto& c = GetParam();
    auto* stepper = find<QSpinBox>("minGap");
    for (int i = 0; i < c.presses; ++i) QTest::keyClick(stepper, c.key);
    EXPECT_EQ(stored("minGap"), c.json);
    EXPECT_EQ(stepper->text(), QString("At least %1 min between nudges").arg(prefs.minGap.get()));
}

INSTANTIATE_TEST_SUITE_P(
    Presses, MinGapStepperTest,
    ::testing::Values(StepperCase{"OneUp", Qt::Key_Up, 1, R"({"value":25})"},
                      StepperCase{"OneDown", Qt::Key_Down, 1, R"({"value":15})"},
                      StepperCase{"PastTheTop", Qt::Key_Up, 40, R"({"value":120})"},
                      StepperCase{"PastTheBottom", Qt::Key_Down, 10, R"({"value":5})"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SettingsGeneralTest, AtTheTopSteppingUpWritesNothingMore) {
    prefs.minGap.set(120);
    const int writes = store.writes;
    QTest::keyClick(find<QSpinBox>("minGap"), Qt::Key_Up);
    EXPECT_EQ(store.writes, writes);
    EXPECT_EQ(stored("minGap"), R"({"value":120})");
}

TEST_F(SettingsGeneralTest, TypedGapsOutsideTheRangeAreNeverStored) {
    auto* stepper = find<QSpinBox>("minGap");
    stepper->selectAll();
    QTest::keyClicks(stepper, "500");
    EXPECT_GE(prefs.minGap.get(), 5);
    EXPECT_LE(prefs.minGap.get(), 120);
    stepper->selectAll();
    QTest::keyClicks(stepper, "0");
    EXPECT_GE(prefs.minGap.get(), 5);
}

TEST_F(SettingsGeneralTest, ShowSecondsSliderRunsFromFourToTwenty) {
    auto* slider = find<QSlider>("showSeconds");
    auto* label = find<QLabel>("showSecondsLabel");
    EXPECT_EQ(label->text(), "Show for 8 s");
    QTest::keyClick(slider, Qt::Key_End);
    EXPECT_EQ(stored("showSeconds"), R"({"value":20.0})");
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(stored("showSeconds"), R"({"value":20.0})");
    EXPECT_EQ(label->text(), "Show for 20 s");
    QTest::keyClick(slider, Qt::Key_Home);
    EXPECT_EQ(stored("showSeconds"), R"({"value":4.0})");
    EXPECT_EQ(label->text(), "Show for 4 s");
}

TEST_F(SettingsGeneralTest, LanguageAndAppearancePickersStoreTheirCase) {
    auto* language = find<QComboBox>("language");
    EXPECT_EQ(language->currentText(), "Hinglish");
    QTest::keyClick(language, Qt::Key_Up);
    EXPECT_EQ(stored("language"), R"({"value":"english"})");
    auto* appearance = find<QComboBox>("appearance");
    QTest::keyClick(appearance, Qt::Key_Down);
    EXPECT_EQ(stored("appearance"), R"({"value":"mom"})");
    EXPECT_EQ(appearance->currentText(), "Mom");
}

TEST_F(SettingsGeneralTest, PositionAndScreenPickersStoreWhereSheSits) {
    auto* position = find<QComboBox>("position");
    EXPECT_EQ(position->currentText(), "Top centre");
    QTest::keyClick(position, Qt::Key_Down);
    QTest::keyClick(position, Qt::Key_Down);
    EXPECT_EQ(stored("notchPosition"), R"({"value":"topRight"})");

    auto* screen = find<QComboBox>("screen");
    EXPECT_EQ(screen->currentText(), "Primary screen");
    QTest::keyClick(screen, Qt::Key_Down);
    EXPECT_EQ(stored("notchScreen"), R"({"value":"pointer"})");
    QTest::keyClick(screen, Qt::Key_Down);
    const std::string name = QGuiApplication::screens().front()->name().toStdString();
    EXPECT_EQ(stored("notchScreen"), R"({"value":")" + name + R"("})");

    // A screen that is not plugged in stays chosen, and says so.
    prefs.notchScreen.set("HDMI-7");
    EXPECT_EQ(screen->currentText(), "HDMI-7 (not connected)");
    EXPECT_EQ(screen->count(), 3 + QGuiApplication::screens().size());
}

TEST_F(SettingsGeneralTest, AChangeMadeElsewhereIsRedrawnWithoutBeingWrittenBack) {
    prefs.language.set(Language::english);
    prefs.quietStart.set(1425);
    prefs.minGap.set(45);
    const int writes = store.writes;
    EXPECT_EQ(find<QComboBox>("language")->currentText(), "English");
    EXPECT_EQ(find<TimeField>("quietStart")->minutes(), 1425);
    EXPECT_EQ(find<QSpinBox>("minGap")->value(), 45);
    EXPECT_EQ(store.writes, writes);
}

TEST_F(SettingsGeneralTest, ASecondWindowFollowsTheFirst) {
    auto second = makeView();
    QTest::keyClick(find<QSpinBox>("minGap"), Qt::Key_Up);
    EXPECT_EQ(second->findChild<QSpinBox*>("minGap")->value(), 25);
}

TEST_F(SettingsGeneralTest, LaunchAtLoginShowsTheRegistrationWhenBuilt) {
    loginItem.registered = true;
    auto fresh = makeView();
    EXPECT_TRUE(fresh->findChild<QCheckBox*>("launchAtLogin")->isChecked());
    EXPECT_EQ(loginItem.changeRequests, 0);
}

TEST_F(SettingsGeneralTest, LaunchAtLoginIsReadAgainWhenTheWindowIsShownAgain) {
    auto* toggle = find<QCheckBox>("launchAtLogin");
    view->showAndRaise();
    EXPECT_FALSE(toggle->isChecked());
    view->hide();
    loginItem.registered = true;  // by the welcome window, say
    view->showAndRaise();
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(loginItem.changeRequests, 0);
}

// `pelliwig --login-item` from a terminal registers her while the window is
// open; going back to the window shows it.
TEST_F(SettingsGeneralTest, LaunchAtLoginIsReadAgainWhenTheWindowIsActivatedAgain) {
    auto* toggle = find<QCheckBox>("launchAtLogin");
    focusAsByTab(toggle);
    QWidget terminal;
    terminal.show();
    terminal.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&terminal));
    loginItem.registered = true;
    EXPECT_FALSE(toggle->isChecked());
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(loginItem.changeRequests, 0);
}

// Time fields and the times in notes are written as the desktop's locale
// writes times: 12 or 24 hours, the same as the menu.
struct TimeLocaleCase {
    const char* name;
    QLocale locale;
    const char* bedtime;  // 23:30
    const char* meal;
};

class SettingsTimeLocaleTest : public SettingsWindowTest,
                               public ::testing::WithParamInterface<TimeLocaleCase> {};

TEST_P(SettingsTimeLocaleTest, FieldsAndNotesWriteTimesAsTheLocaleDoes) {
    const auto& c = GetParam();
    LocaleForTest inLocale(c.locale);
    view = makeView();
    prefs.setEnabled(ReminderKind::bedtime, true);
    prefs.setEnabled(ReminderKind::meal, true);
    auto* tab = view->remindersTab();
    auto* bedtime = tab->findChild<QWidget*>("detail.bedtime")->findChild<TimeField*>();
    ASSERT_NE(bedtime, nullptr);
    EXPECT_EQ(bedtime->editor()->text(), QString::fromUtf8(c.bedtime));
    auto* meal = tab->findChild<QWidget*>("detail.meal")->findChild<QLabel*>();
    ASSERT_NE(meal, nullptr);
    EXPECT_EQ(meal->text(), QString::fromUtf8(c.meal));
    // Picking a time still stores minutes after midnight.
    bedtime->editor()->setTime(QTime(22, 15));
    EXPECT_EQ(stored("bedtime"), R"({"value":1335})");
}

INSTANTIATE_TEST_SUITE_P(
    Locales, SettingsTimeLocaleTest,
    ::testing::Values(TimeLocaleCase{"German", QLocale(QLocale::German, QLocale::Germany), "23:30",
                                     "Lunch 12:30–14:30, dinner 19:30–21:30"},
                      TimeLocaleCase{"American", QLocale(QLocale::English, QLocale::UnitedStates),
                                     "11:30 PM", "Lunch 12:30 PM–2:30 PM, dinner 7:30 PM–9:30 PM"},
                      TimeLocaleCase{"C", QLocale::c(), "23:30",
                                     "Lunch 12:30–14:30, dinner 19:30–21:30"}),
    [](const auto& row) { return std::string(row.param.name); });

// The calendar note says where events come from, with the folder the user's
// own .ics files are read from.
TEST_F(SettingsGeneralTest, TheCalendarNoteNamesTheFolderItReads) {
    const QByteArray before = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/srv/shared/data");
    view = makeView();
    before.isEmpty() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", before);
    prefs.setEnabled(ReminderKind::calendar, true);
    auto* note = view->remindersTab()->findChild<QWidget*>("detail.calendar")->findChild<QLabel*>();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text().toStdString(),
              "Ten minutes before an event. Events come from Evolution and GNOME Calendar, and "
              "from any .ics file in /srv/shared/data/pelliwig/calendars.");
}

struct LoginCase {
    const char* name;
    bool registeredBefore;
    bool refuses;
    bool checkedAfter;
    bool registeredAfter;
};

class LaunchAtLoginTest : public SettingsWindowTest,
                          public ::testing::WithParamInterface<LoginCase> {};

TEST_P(LaunchAtLoginTest, AClickRegistersOrSnapsBackToTheRealState) {
    const auto& c = GetParam();
    loginItem.registered = c.registeredBefore;
    view = makeView();
    auto* toggle = find<QCheckBox>("launchAtLogin");
    loginItem.refuses = c.refuses;
    QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(8, toggle->height() / 2));
    EXPECT_EQ(loginItem.changeRequests, 1);
    EXPECT_EQ(loginItem.registered, c.registeredAfter);
    EXPECT_EQ(toggle->isChecked(), c.checkedAfter);
    EXPECT_EQ(store.writes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, LaunchAtLoginTest,
    ::testing::Values(LoginCase{"Registers", false, false, true, true},
                      LoginCase{"Unregisters", true, false, false, false},
                      LoginCase{"RefusedRegistration", false, true, false, false},
                      LoginCase{"RefusedUnregistration", true, true, true, true}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace pelliwig::testing
