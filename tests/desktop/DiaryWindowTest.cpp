// Her diary window over a seeded memory: what it shows, the span, the live
// refresh while it is open (and none while closed), the keyboard and what a
// screen reader is told.
#include "desktop/diary/DiaryWindow.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include "NotchTestSupport.h"
#include "desktop/diary/DiaryChartView.h"
#include "fakes/MemoryStore.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

const auto* const qt = ::testing::AddGlobalTestEnvironment(new testing::QtApplication);

constexpr double kDay = 86400;
constexpr double kHour = 3600;
constexpr Instant kSunday = 1742128200;  // 2025-03-16 13:30 in Berlin

class DiaryWindowTest : public ::testing::Test {
protected:
    DiaryWindowTest() {
        day(2).activeSeconds = 5 * kHour;
        day(2).longestSitting = 70 * 60;
        day(2).waterAcks = 4;
        day(1).activeSeconds = 3 * kHour;
        day(1).bedtimeAck = true;
        day(1).appSeconds = std::map<std::string, double>{{"coding", 2 * kHour}, {"video", kHour}};
        memory.recordTick(1200, 1200, AppBucket::coding);
    }

    void open() {
        window.showAndRaise();
        QApplication::setActiveWindow(&window);
        QApplication::processEvents();
    }

    Memory::DayStats& day(int daysAgo) {
        return memory.state.days[clock.dayKey(clock.now() - daysAgo * kDay)];
    }

    QString tile(const char* name) const {
        auto* frame = window.findChild<QWidget*>(QString("tile.") + name);
        return frame->findChild<QLabel*>("value")->text() + " " +
               frame->findChild<QLabel*>("caption")->text();
    }

    DiaryChartView* chart(DiaryChart kind) const {
        for (auto* view : window.charts()) {
            if (view->chart() == kind) return view;
        }
        return nullptr;
    }

    VirtualScheduler scheduler{kSunday};
    Clock clock{scheduler};
    MemoryStore store;
    Memory memory{store, clock};
    std::vector<Face> facesAsked;
    SpriteSheet sprites = testing::projectSprites();
    DiaryWindow window{
        [this](int span) { return diaryOf(memory.state, clock, span, Language::english, "en_GB"); },
        [this](const Face& face) {
            facesAsked.push_back(face);
            return sprites.image(face);
        },
        scheduler};
};

TEST_F(DiaryWindowTest, ShowsHerLineFaceAndTheWeeksFigures) {
    open();
    EXPECT_EQ(window.windowTitle(), "Your week");
    EXPECT_EQ(window.findChild<QLabel*>("line")->accessibleName(),
              "Not bad, not great. We can do better 😌");
    ASSERT_FALSE(facesAsked.empty());
    EXPECT_EQ(facesAsked.back(), Face::mood(Mood::smug));
    EXPECT_FALSE(window.findChild<QLabel*>("portrait")->pixmap().isNull());

    EXPECT_EQ(tile("total"), "8 h 20 min at the computer");
    EXPECT_EQ(tile("average"), "4 h a day on average");
    EXPECT_EQ(tile("sitting"), "1 h 10 min longest sitting");
    EXPECT_EQ(tile("water"), "4 water answered");
    EXPECT_EQ(tile("meals"), "0 meals answered");
    EXPECT_EQ(tile("bedtime"), "1 of 2 bedtimes kept");
    ASSERT_EQ(window.charts().size(), 5u);
    for (auto* view : window.charts()) EXPECT_EQ(view->caption().isEmpty(), false);
}

TEST_F(DiaryWindowTest, TheSpanButtonsSwitchBetweenOneAndThreeWeeks) {
    day(15).activeSeconds = 2 * kHour;
    open();
    EXPECT_EQ(window.diary().days.size(), 7u);
    window.findChild<QAbstractButton*>("span.21")->click();
    EXPECT_EQ(window.span(), 21);
    EXPECT_EQ(window.diary().days.size(), 21u);
    EXPECT_EQ(tile("total"), "10 h 20 min at the computer");
    EXPECT_TRUE(window.findChild<QAbstractButton*>("span.21")->isChecked());
    EXPECT_FALSE(window.findChild<QAbstractButton*>("span.7")->isChecked());
    window.findChild<QAbstractButton*>("span.7")->click();
    EXPECT_EQ(window.diary().days.size(), 7u);
}

TEST_F(DiaryWindowTest, TodayGrowsWhileOpenAndNothingRunsWhileClosed) {
    open();
    memory.recordTick(1800, 3000, AppBucket::coding);
    memory.recordAck(ReminderKind::water);
    memory.recordAck(ReminderKind::water);
    memory.recordAck(ReminderKind::water);
    scheduler.advance(DiaryWindow::kRefreshSeconds - 1);
    EXPECT_EQ(tile("water"), "4 water answered");
    scheduler.advance(1);
    EXPECT_EQ(tile("total"), "8 h 50 min at the computer");
    EXPECT_EQ(tile("water"), "7 water answered");
    // Seven water answers in the week, few ignored: she is proud of it.
    EXPECT_EQ(facesAsked.back(), Face::mood(Mood::proud));
    EXPECT_EQ(window.findChild<QLabel*>("line")->accessibleName(), "Honestly? I'm impressed 🏆");

    window.close();
    EXPECT_EQ(scheduler.pending(), 0u);
    memory.recordAck(ReminderKind::meal);
    scheduler.advance(60);
    EXPECT_EQ(tile("meals"), "0 meals answered");
    open();
    EXPECT_EQ(tile("meals"), "1 meals answered");
}

TEST_F(DiaryWindowTest, TheDayChangesAtMidnightWhileOpen) {
    open();
    scheduler.jumpTo(clock.startOfDay(kSunday) + kDay + 60);
    ASSERT_EQ(window.diary().days.back().dayKey, clock.dayKey(kSunday + kDay));
    EXPECT_EQ(window.diary().days[5].activeSeconds, 1200);  // what was today is yesterday
    EXPECT_EQ(window.diary().days[5].name, "Yesterday");
}

struct KeyCase {
    const char* name;
    DiaryChart chart;
    std::vector<Qt::Key> keys;
    int selected;
    const char* accessibleName;
};

class DiaryChartKeysTest : public DiaryWindowTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(DiaryChartKeysTest, TheArrowsPickAnEntryAndItsValueIsSaid) {
    const auto& c = GetParam();
    open();
    auto* view = chart(c.chart);
    ASSERT_NE(view, nullptr);
    view->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    for (const auto key : c.keys) QTest::keyClick(view, key);
    EXPECT_EQ(view->selected(), c.selected);
    EXPECT_EQ(view->accessibleName(), c.accessibleName);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DiaryChartKeysTest,
    ::testing::Values(
        KeyCase{"FocusPicksToday",
                DiaryChart::hours,
                {},
                6,
                "Hours at the computer, Today: 20 min so far"},
        KeyCase{"LeftGoesBack",
                DiaryChart::hours,
                {Qt::Key_Left, Qt::Key_Left},
                4,
                "Hours at the computer, Friday, 14 March: 5 h"},
        KeyCase{"HomeIsTheFirstDay",
                DiaryChart::sitting,
                {Qt::Key_Home},
                0,
                "Longest sitting, Monday, 10 March: no record"},
        KeyCase{"RightStopsAtToday",
                DiaryChart::answers,
                {Qt::Key_Right, Qt::Key_Right},
                6,
                "Water and meals answered, Today: water 0, meals 0"},
        KeyCase{"Bedtime", DiaryChart::bedtime, {Qt::Key_Left}, 5, "Bedtime kept, Yesterday: kept"},
        KeyCase{"AppsGoDown",
                DiaryChart::apps,
                {Qt::Key_Down, Qt::Key_Down},
                1,
                "Time by kind of app, Video & streaming: 1 h"},
        KeyCase{"AppsGoUp",
                DiaryChart::apps,
                {Qt::Key_End, Qt::Key_Up},
                0,
                "Time by kind of app, Coding: 2 h 20 min"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(DiaryWindowTest, LeavingAChartForgetsThePick) {
    open();
    auto* hours = chart(DiaryChart::hours);
    hours->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_EQ(hours->selected(), 6);
    chart(DiaryChart::sitting)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(hours->selected(), -1);
    EXPECT_EQ(hours->accessibleName(), "Hours at the computer");
}

TEST_F(DiaryWindowTest, AScreenReaderMeetsChartsWithTheirWords) {
    open();
    for (auto* view : window.charts()) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(view);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->role(), QAccessible::Chart);
        EXPECT_EQ(face->text(QAccessible::Name).toStdString(), chartTitle(view->chart()));
        EXPECT_EQ(face->text(QAccessible::Description).toStdString(),
                  chartText(window.diary(), view->chart()));
        EXPECT_TRUE(face->state().focusable);
    }
}

// The span buttons are one group, as radio buttons are: the arrows move
// between them and Space picks one; Tab goes on through every chart.
TEST_F(DiaryWindowTest, TheKeyboardReachesTheSpanAndEveryChart) {
    open();
    auto* week = window.findChild<QAbstractButton*>("span.7");
    auto* weeks = window.findChild<QAbstractButton*>("span.21");
    week->setFocus(Qt::TabFocusReason);
    QTest::keyClick(week, Qt::Key_Right);
    ASSERT_EQ(QApplication::focusWidget(), weeks);
    QTest::keyClick(weeks, Qt::Key_Space);
    EXPECT_EQ(window.span(), 21);
    std::vector<QWidget*> visited;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget());
    }
    for (int i = 0; i < 5; ++i) EXPECT_EQ(visited[i], window.charts()[i]) << i;
}

TEST_F(DiaryWindowTest, EscapeClosesIt) {
    open();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

struct PaletteCase {
    const char* name;
    QColor window;
    QColor base;
    QColor text;
    bool dark;
};

class DiaryColoursTest : public ::testing::TestWithParam<PaletteCase> {};

// The charts take their card and text from the palette, and their own
// colours from whether it is light or dark, so each stands out on its card.
TEST_P(DiaryColoursTest, FollowThePalette) {
    const auto& c = GetParam();
    QPalette palette;
    palette.setColor(QPalette::Window, c.window);
    palette.setColor(QPalette::Base, c.base);
    palette.setColor(QPalette::Text, c.text);
    const DiaryColours colours = DiaryColours::from(palette);
    EXPECT_EQ(colours.dark, c.dark);
    EXPECT_EQ(colours.card, c.base);
    const auto contrast = [](const QColor& a, const QColor& b) {
        return std::abs(a.lightnessF() - b.lightnessF());
    };
    for (const QColor& mark : {colours.hours, colours.sitting, colours.water, colours.meals,
                               colours.moon, colours.work, colours.leisure}) {
        EXPECT_GT(contrast(mark, colours.card), 0.15) << mark.name().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Palettes, DiaryColoursTest,
    ::testing::Values(PaletteCase{"Light", QColor(239, 239, 239), Qt::white, Qt::black, false},
                      PaletteCase{"Dark", QColor(30, 30, 34), QColor(44, 44, 50),
                                  QColor(230, 230, 230), true},
                      PaletteCase{"Black", Qt::black, QColor(18, 18, 18), Qt::white, true}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace pelliwig
