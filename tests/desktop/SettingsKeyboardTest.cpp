// The settings and welcome windows from the keyboard and to a screen reader:
// "Add" gives the new row the keyboard and stores nothing empty, the
// segmented choices are one Tab stop with the arrows between segments and
// show the choice in light and dark, Escape and Ctrl+W close, every control
// has a name and no name or description is markup.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDateEdit>
#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QRegularExpression>
#include <QStyle>
#include <QToolButton>

#include <functional>
#include <string>

#include "SettingsTestWindow.h"
#include "desktop/app/WelcomeWindow.h"
#include "desktop/settings/DatesTab.h"
#include "desktop/settings/HerWorldTab.h"
#include "desktop/settings/SegmentedChoice.h"

namespace pelliwig::testing {
namespace {

class SettingsKeyboardTest : public SettingsWindowTest {
protected:
    void showActive(QWidget* window) {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    // The rows of a list whose object names start with `prefix`, still shown.
    int rows(QWidget* tab, const QString& prefix) const {
        settle();
        int count = 0;
        for (auto* row : tab->findChildren<QWidget*>()) {
            count += row->objectName().startsWith(prefix) && !row->isHidden();
        }
        return count;
    }

    std::unique_ptr<WelcomeWindow> welcome() {
        return std::make_unique<WelcomeWindow>(prefs, loginItem, QPixmap(),
                                               WelcomeWindow::Reach::tray, [] {});
    }
};

// One list of the settings, by its "Add" button.
struct ListCase {
    std::string name;
    bool herWorld;        // else Dates & yours
    const char* add;      // the add button's object name
    const char* rowName;  // the rows' object name prefix
    const char* key;      // the stored setting
    const char* field;    // the row's first text field
};

class AddRowTest : public SettingsKeyboardTest, public ::testing::WithParamInterface<ListCase> {
protected:
    QWidget* tab() const {
        return GetParam().herWorld ? static_cast<QWidget*>(view->herWorldTab())
                                   : static_cast<QWidget*>(view->datesTab());
    }
    void add() { find<QToolButton>(GetParam().add, tab())->click(); }
    QLineEdit* focused() const { return qobject_cast<QLineEdit*>(view->focusWidget()); }
};

// Typing after "Add" goes into the new row; the row is a record only once it
// holds something, and "Add" again on an empty one adds nothing.
TEST_P(AddRowTest, NewRowTakesTheKeyboardAndIsStoredOnlyWithContent) {
    const auto& c = GetParam();
    for (int i = 0; i < view->tabs()->count(); ++i) {
        if (view->tabs()->widget(i) == tab()) view->tabs()->setCurrentIndex(i);
    }
    showActive(view.get());
    add();
    ASSERT_NE(focused(), nullptr);
    EXPECT_EQ(focused()->objectName(), c.field);
    EXPECT_TRUE(focused()->parentWidget()->objectName().startsWith(c.rowName));
    EXPECT_EQ(stored(c.key), "");
    EXPECT_EQ(rows(tab(), c.rowName), 1);

    // A space typed after "Add" lands in the field, not on the button again.
    add();
    add();
    EXPECT_EQ(rows(tab(), c.rowName), 1);
    EXPECT_EQ(stored(c.key), "");

    QLineEdit* first = focused();
    ASSERT_NE(first, nullptr);
    typeText(first, "a b");
    EXPECT_EQ(first->text(), "a b");
    const Json saved = Json::parse(stored(c.key))["value"];
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(rows(tab(), c.rowName), 1);

    add();
    EXPECT_EQ(rows(tab(), c.rowName), 2);
    EXPECT_NE(focused(), first);
    EXPECT_EQ(Json::parse(stored(c.key))["value"].size(), 1u);

    // Removing the empty draft stores nothing either.
    focused()->parentWidget()->findChild<QToolButton*>("remove")->click();
    EXPECT_EQ(rows(tab(), c.rowName), 1);
    EXPECT_EQ(Json::parse(stored(c.key))["value"].size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Lists, AddRowTest,
                         ::testing::Values(ListCase{"HerOwnWords", false, "addCustomReminder",
                                                    "customReminder.", "customReminders", "text"},
                                           ListCase{"Countdowns", true, "addCountdown",
                                                    "countdown.", "countdowns", "label"},
                                           ListCase{"SpecialDates", true, "addSpecialDate",
                                                    "specialDate.", "specialDates", "label"},
                                           ListCase{"TaughtLines", true, "addTaughtLine",
                                                    "taughtLine.", "taughtLines", "text"}),
                         [](const auto& row) { return row.param.name; });

TEST_F(SettingsKeyboardTest, ADraftsDateAloneMakesItARecord) {
    auto* tab = view->herWorldTab();
    find<QToolButton>("addCountdown", tab)->click();
    EXPECT_EQ(stored("countdowns"), "");
    QWidget* row = nullptr;
    for (auto* w : tab->findChildren<QWidget*>()) {
        if (w->objectName().startsWith("countdown.")) row = w;
    }
    ASSERT_NE(row, nullptr);
    row->findChild<QDateEdit*>("date")->setDate(QDate(2026, 5, 1));
    ASSERT_EQ(prefs.countdowns.get().size(), 1u);
    EXPECT_EQ(prefs.countdowns.get()[0].label, "");
}

// A segmented choice in light and dark themes.
struct ThemeCase {
    std::string name;
    bool dark;
};

QPalette darkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2d, 0x2d, 0x2d));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Mid, QColor(0x55, 0x55, 0x55));
    dark.setColor(QPalette::Text, QColor(0xff, 0xff, 0xff));
    dark.setColor(QPalette::Highlight, QColor(0x35, 0x84, 0xe4));
    dark.setColor(QPalette::HighlightedText, QColor(0xff, 0xff, 0xff));
    return dark;
}

class SegmentThemeTest : public SettingsKeyboardTest,
                         public ::testing::WithParamInterface<ThemeCase> {};

double lightness(QRgb colour) {
    return 0.2126 * qRed(colour) + 0.7152 * qGreen(colour) + 0.0722 * qBlue(colour);
}

// The chosen segment is filled with the highlight colour and stands apart
// from the others, whatever the theme.
TEST_P(SegmentThemeTest, TheChoiceStandsOut) {
    SegmentedChoice choice("Roast", {"Off", "Playful", "Savage"}, {"off", "playful", "savage"});
    const QPalette palette =
        GetParam().dark ? darkPalette() : QApplication::style()->standardPalette();
    choice.setPalette(palette);
    choice.setCurrent(1);
    choice.resize(choice.sizeHint());
    const QImage image = choice.grab().toImage();
    const auto at = [&](int index) {
        const QRect r = choice.segment(index)->geometry();
        return image.pixel(r.left() + 4, r.center().y());
    };
    const QColor highlight = palette.color(QPalette::Highlight);
    const QColor chosen(at(1));
    EXPECT_LT(std::abs(chosen.red() - highlight.red()) +
                  std::abs(chosen.green() - highlight.green()) +
                  std::abs(chosen.blue() - highlight.blue()),
              60)
        << chosen.name().toStdString() << " is not near " << highlight.name().toStdString();
    EXPECT_GT(std::abs(lightness(at(1)) - lightness(at(0))), 40);
    EXPECT_GT(std::abs(lightness(at(1)) - lightness(at(2))), 40);
}

INSTANTIATE_TEST_SUITE_P(Themes, SegmentThemeTest,
                         ::testing::Values(ThemeCase{"Light", false}, ThemeCase{"Dark", true}),
                         [](const auto& row) { return row.param.name; });

// Where a segmented choice lives, and what the arrows store there.
struct SegmentsCase {
    std::string name;
    bool inWelcome;
    const char* choice;
    std::function<int(const Prefs&)> stored;
};

class SegmentKeysTest : public SettingsKeyboardTest,
                        public ::testing::WithParamInterface<SegmentsCase> {};

// Tab reaches the chosen segment (and only it), the arrows move the choice
// and store it at once.
TEST_P(SegmentKeysTest, TabReachesTheChoiceAndArrowsMoveIt) {
    const auto window = welcome();
    QWidget* top = GetParam().inWelcome ? static_cast<QWidget*>(window.get()) : view.get();
    if (!GetParam().inWelcome) view->tabs()->setCurrentWidget(view->herWorldTab());
    showActive(top);
    auto* choice = top->findChild<SegmentedChoice*>(GetParam().choice);
    ASSERT_NE(choice, nullptr);
    const int before = GetParam().stored(prefs);
    QWidget* chosen = choice->segment(before);

    // Walk the Tab chain once round from wherever it starts.
    QWidget* start = top->focusWidget() ? top->focusWidget() : top;
    bool reached = false;
    int others = 0;
    for (int i = 0; i < 80 && !reached; ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : start,
                        Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        reached = now == chosen;
        for (int s = 0; s < choice->count(); ++s)
            others += now == choice->segment(s) && now != chosen;
    }
    EXPECT_TRUE(reached);
    EXPECT_EQ(others, 0) << "Tab stops on segments that are not chosen";

    const int right = std::min(before + 1, choice->count() - 1);
    const int left = std::max(before - 1, 0);
    const int next = right != before ? right : left;
    QTest::keyClick(chosen, next > before ? Qt::Key_Right : Qt::Key_Left);
    EXPECT_EQ(GetParam().stored(prefs), next);
    EXPECT_EQ(QApplication::focusWidget(), choice->segment(next));
    EXPECT_TRUE(choice->segment(next)->isChecked());
    QTest::keyClick(choice->segment(next), next > before ? Qt::Key_Left : Qt::Key_Right);
    EXPECT_EQ(GetParam().stored(prefs), before);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, SegmentKeysTest,
    ::testing::Values(
        SegmentsCase{"Roast", false, "roast",
                     [](const Prefs& p) { return static_cast<int>(p.roastLevel.get()); }},
        SegmentsCase{"WelcomeLanguage", true, "language",
                     [](const Prefs& p) { return static_cast<int>(p.language.get()); }}),
    [](const auto& row) { return row.param.name; });

struct CloseCase {
    std::string name;
    bool welcome;
    QKeySequence keys;
};

class CloseKeysTest : public SettingsKeyboardTest,
                      public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseKeysTest, CloseTheWindow) {
    const auto window = welcome();
    QWidget* top = GetParam().welcome ? static_cast<QWidget*>(window.get()) : view.get();
    showActive(top);
    QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : top,
                       GetParam().keys);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !top->isVisible(); }, 1000));
    // Closing the welcome window is not meeting her.
    EXPECT_FALSE(prefs.hasOnboarded.get());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CloseKeysTest,
    ::testing::Values(CloseCase{"SettingsEscape", false, QKeySequence(Qt::Key_Escape)},
                      CloseCase{"SettingsCtrlW", false, QKeySequence(Qt::CTRL | Qt::Key_W)},
                      CloseCase{"WelcomeEscape", true, QKeySequence(Qt::Key_Escape)},
                      CloseCase{"WelcomeCtrlW", true, QKeySequence(Qt::CTRL | Qt::Key_W)}),
    [](const auto& row) { return row.param.name; });

// Every control a user can reach (with every detail and one record of each
// list shown) has a name for a screen reader, and neither names nor
// descriptions are markup.
TEST_F(SettingsKeyboardTest, EveryControlHasANameAndNoMarkup) {
    for (const auto kind : allCases<ReminderKind>()) prefs.setEnabled(kind, true);
    prefs.customReminders.set({CustomReminder{.text = "hi"}});
    prefs.countdowns.set({Countdown{.label = "trip", .date = clock.now()}});
    prefs.specialDates.set({SpecialDate{.label = "Diwali", .monthDay = {11, 1}}});
    prefs.taughtLines.set({TaughtLine{.text = "<b>x</b>"}});
    prefs.birthday.set(MonthDay{3, 7});
    prefs.bigDay.set(clock.now() + 86400);
    nextFolder = "/tmp/<b>photos</b>";
    prefs.photoFolder.set(nextFolder);
    const auto window = welcome();
    const QRegularExpression markup("<[a-zA-Z/!]");
    for (QWidget* top : {static_cast<QWidget*>(view.get()), static_cast<QWidget*>(window.get())}) {
        for (auto* widget : top->findChildren<QWidget*>()) {
            QAccessibleInterface* a11y = QAccessible::queryAccessibleInterface(widget);
            ASSERT_NE(a11y, nullptr);
            // What the user typed may hold markup; nothing the program adds may.
            const auto typed = [](QString text) {
                return text.remove("<b>x</b>").remove("<b>photos</b>");
            };
            const QString name = typed(a11y->text(QAccessible::Name));
            const QString description = typed(a11y->text(QAccessible::Description));
            const QString where = widget->metaObject()->className() + QString(" ") +
                                  widget->objectName() + " in " + top->objectName();
            // Qt's own parts (a spin box's editor) speak through their owner.
            if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().startsWith("qt_")) {
                EXPECT_FALSE(name.trimmed().isEmpty()) << where.toStdString();
            }
            EXPECT_FALSE(name.contains(markup))
                << where.toStdString() << ": " << name.toStdString();
            EXPECT_FALSE(description.contains(markup))
                << where.toStdString() << ": " << description.toStdString();
        }
    }
}

}  // namespace
}  // namespace pelliwig::testing
