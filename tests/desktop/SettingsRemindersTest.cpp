#include <QCheckBox>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSpontaneKeyEvent>
#include <QTimeEdit>
#include <QWheelEvent>

#include "SettingsTestWindow.h"
#include "desktop/settings/ReminderDetail.h"
#include "desktop/settings/RemindersTab.h"
#include "desktop/settings/TimeField.h"

namespace pelliwig::testing {
namespace {

class SettingsRemindersTest : public SettingsWindowTest {
protected:
    QWidget* tab() const { return view->remindersTab(); }
    QCheckBox* toggle(ReminderKind kind) const {
        return find<QCheckBox>(QString("toggle.") + rawValue(kind).data(), tab());
    }
    QWidget* detail(ReminderKind kind) const {
        return find<QWidget>(QString("detail.") + rawValue(kind).data(), tab());
    }
    static void click(QCheckBox* box) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
};

TEST_F(SettingsRemindersTest, NineteenSwitchesTitledInKindOrderWithoutTheRecordKinds) {
    QStringList shown;
    for (auto* box : tab()->findChildren<QCheckBox*>()) {
        if (box->objectName().startsWith("toggle.")) shown << box->objectName().mid(7);
    }
    QStringList expected;
    for (const auto kind : allCases<ReminderKind>()) {
        if (kind == ReminderKind::custom || kind == ReminderKind::countdown ||
            kind == ReminderKind::date || kind == ReminderKind::deadline) {
            continue;
        }
        expected << rawValue(kind).data();
        EXPECT_EQ(toggle(kind)->text(), title(kind).data());
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(shown.size(), 19);
}

TEST_F(SettingsRemindersTest, AFreshInstallationHasCalendarAndPhotoOff) {
    for (const auto kind : remindersTabKinds()) {
        const bool off = kind == ReminderKind::calendar || kind == ReminderKind::photo;
        EXPECT_EQ(toggle(kind)->isChecked(), !off) << rawValue(kind);
    }
    EXPECT_TRUE(detail(ReminderKind::calendar)->isHidden());
    EXPECT_FALSE(detail(ReminderKind::battery)->isHidden());
}

TEST_F(SettingsRemindersTest, SwitchingWaterOnRevealsItsStepperAndMovesItLast) {
    prefs.setEnabled(ReminderKind::water, false);
    EXPECT_TRUE(detail(ReminderKind::water)->isHidden());
    click(toggle(ReminderKind::water));
    EXPECT_FALSE(detail(ReminderKind::water)->isHidden());
    const auto json = Json::parse(stored("enabledKinds"));
    EXPECT_EQ(json["value"].back(), "water");
    EXPECT_EQ(json["value"].size(), 21u);

    click(toggle(ReminderKind::water));
    EXPECT_TRUE(detail(ReminderKind::water)->isHidden());
    EXPECT_FALSE(prefs.isEnabled(ReminderKind::water));
}

TEST_F(SettingsRemindersTest, SwitchingCalendarOnAppendsIt) {
    click(toggle(ReminderKind::calendar));
    const auto json = Json::parse(stored("enabledKinds"));
    EXPECT_EQ(json["value"].back(), "calendar");
    EXPECT_EQ(json["value"].size(), 22u);
}

TEST_F(SettingsRemindersTest, AKindSwitchedOffElsewhereHidesItsDetail) {
    prefs.setEnabled(ReminderKind::breaks, false);
    EXPECT_FALSE(toggle(ReminderKind::breaks)->isChecked());
    EXPECT_TRUE(detail(ReminderKind::breaks)->isHidden());
}

TEST_F(SettingsRemindersTest, TheTabScrollsToItsLastSection) {
    auto* page = qobject_cast<QScrollArea*>(tab());
    ASSERT_NE(page, nullptr);
    view->tabs()->setCurrentWidget(tab());
    view->show();
    settle();
    EXPECT_GT(page->verticalScrollBar()->maximum(), 0);
    auto* last = toggle(ReminderKind::appSwitch);
    EXPECT_FALSE(last->visibleRegion().boundingRect().contains(last->rect()));
    page->ensureWidgetVisible(last);
    settle();
    EXPECT_GT(page->verticalScrollBar()->value(), 0);
    EXPECT_EQ(last->visibleRegion().boundingRect(), last->rect());
}

TEST_F(SettingsRemindersTest, TheWheelScrollsPastAStepperAndTurnsItOnlyOnceFocused) {
    auto* page = qobject_cast<QScrollArea*>(tab());
    ASSERT_NE(page, nullptr);
    view->tabs()->setCurrentWidget(tab());
    view->show();
    settle();
    auto* stepper = detail(ReminderKind::water)->findChild<QSpinBox*>();
    const auto wheelDown = [stepper] {
        const QPointF at = stepper->rect().center();
        QWheelEvent wheel(at, stepper->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        // Delivered as from the mouse (sendEvent() would drop that mark):
        // only such wheel events travel on to the parents.
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        QApplication::instance()->notify(stepper, &wheel);
    };
    wheelDown();
    EXPECT_EQ(stored("waterEvery"), "");
    EXPECT_GT(page->verticalScrollBar()->value(), 0);

    focusAsByTab(stepper);
    wheelDown();
    EXPECT_EQ(stored("waterEvery"), R"({"value":75})");
}

struct NoteCase {
    ReminderKind kind;
    const char* text;
};

class ReminderNoteTest : public SettingsRemindersTest,
                         public ::testing::WithParamInterface<NoteCase> {};

TEST_P(ReminderNoteTest, ShowsItsNoteAsPlainText) {
    prefs.setEnabled(GetParam().kind, true);
    auto* note = detail(GetParam().kind)->findChild<QLabel*>();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), QString::fromUtf8(GetParam().text));
    EXPECT_EQ(note->textFormat(), Qt::PlainText);
}

INSTANTIATE_TEST_SUITE_P(
    Notes, ReminderNoteTest,
    ::testing::Values(
        NoteCase{ReminderKind::battery, "At 20% on battery."},
        NoteCase{ReminderKind::meal, "Lunch 12:30–14:30, dinner 19:30–21:30"},
        NoteCase{ReminderKind::focus,
                 "Start a focus session from her menu (the heart in your tray, or right-click "
                 "her)."},
        // The fixture's locale writes times with two-digit hours.
        NoteCase{ReminderKind::morning, "First time you're active between 05:00 and 11:30."},
        NoteCase{ReminderKind::calendar,
                 "Ten minutes before an event. Events come from Evolution and GNOME Calendar, and "
                 "from any .ics file in ~/.local/share/pelliwig/calendars."},
        NoteCase{ReminderKind::meeting,
                 "She stays quiet while your camera or mic is on, then asks how it went."},
        NoteCase{ReminderKind::report,
                 "Sunday evening: hours, longest sitting stretch, water count, and her verdict."},
        NoteCase{ReminderKind::hover,
                 "Rest the mouse at the top centre of the screen and she comes out. Her eyes "
                 "follow the cursor."},
        NoteCase{ReminderKind::photo, "Weekends. Needs a photo folder under Her world."},
        NoteCase{ReminderKind::appSwitch,
                 "When you switch apps and it means something. Choose which apps and how hard she "
                 "goes under Her world."}),
    [](const auto& row) { return std::string(rawValue(row.param.kind)); });

struct StepperCase {
    ReminderKind kind;
    const char* key;
    const char* shown;  // at the default value
    int min;
    int max;
    int step;
};

class ReminderStepperTest : public SettingsRemindersTest,
                            public ::testing::WithParamInterface<StepperCase> {};

TEST_P(ReminderStepperTest, StepsInsideItsRangeAndStoresWholeMinutes) {
    const auto& c = GetParam();
    auto* stepper = detail(c.kind)->findChild<QSpinBox*>();
    ASSERT_NE(stepper, nullptr);
    EXPECT_EQ(stepper->text(), c.shown);
    EXPECT_EQ(stepper->singleStep(), c.step);
    for (int i = 0; i < 40; ++i) QTest::keyClick(stepper, Qt::Key_Up);
    EXPECT_EQ(stored(c.key), "{\"value\":" + std::to_string(c.max) + "}");
    for (int i = 0; i < 40; ++i) QTest::keyClick(stepper, Qt::Key_Down);
    EXPECT_EQ(stored(c.key), "{\"value\":" + std::to_string(c.min) + "}");
    QTest::keyClick(stepper, Qt::Key_Up);
    EXPECT_EQ(stored(c.key), "{\"value\":" + std::to_string(c.min + c.step) + "}");
}

INSTANTIATE_TEST_SUITE_P(
    Steppers, ReminderStepperTest,
    ::testing::Values(
        StepperCase{ReminderKind::breaks, "breakEvery", "Every 60 min of work", 20, 180, 10},
        StepperCase{ReminderKind::water, "waterEvery", "Every 90 min", 30, 240, 15},
        StepperCase{ReminderKind::appTime, "appTimeLimit", "After 120 min in one app", 30, 300, 30},
        StepperCase{ReminderKind::surprise, "surprisesPerWeek", "About 3 a week", 1, 14, 1}),
    [](const auto& row) { return std::string(row.param.key); });

// Typed values and values stored off the steps, in the steppers of both
// tabs (no kind: the General tab's minimum gap).
struct SnapCase {
    const char* name;
    std::optional<ReminderKind> kind;
    int before;
    const char* typed;  // then Return; none: one press of `key`
    Qt::Key key;
    int after;
};

class StepperSnapTest : public SettingsRemindersTest,
                        public ::testing::WithParamInterface<SnapCase> {};

TEST_P(StepperSnapTest, LandsOnItsSteps) {
    const auto& c = GetParam();
    const DetailStepper shape =
        c.kind ? std::get<DetailStepper>(reminderDetail(*c.kind)) : minGapStepper();
    Stored<int>& setting = prefs.*shape.setting;
    setting.set(c.before);
    QSpinBox* stepper = nullptr;
    if (c.kind) {
        prefs.setEnabled(*c.kind, true);
        stepper = detail(*c.kind)->findChild<QSpinBox*>();
    } else {
        stepper = find<QSpinBox>("minGap");
    }
    ASSERT_NE(stepper, nullptr);
    focusAsByTab(stepper);
    if (c.typed) {
        stepper->selectAll();
        QTest::keyClicks(stepper, c.typed);
        EXPECT_EQ(setting.get(), c.before) << "half typed, nothing is written";
        QTest::keyClick(stepper, Qt::Key_Return);
    } else {
        QTest::keyClick(stepper, c.key);
    }
    EXPECT_EQ(setting.get(), c.after);
    EXPECT_EQ(stepper->value(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StepperSnapTest,
    ::testing::Values(
        SnapCase{"GapTyped99", std::nullopt, 30, "99", Qt::Key_unknown, 100},
        SnapCase{"GapTyped104", std::nullopt, 30, "104", Qt::Key_unknown, 105},
        SnapCase{"GapTyped7", std::nullopt, 30, "7", Qt::Key_unknown, 5},
        SnapCase{"GapStored99Up", std::nullopt, 99, nullptr, Qt::Key_Up, 100},
        SnapCase{"GapStored99Down", std::nullopt, 99, nullptr, Qt::Key_Down, 95},
        SnapCase{"BreaksTyped25", ReminderKind::breaks, 60, "25", Qt::Key_unknown, 30},
        SnapCase{"WaterTyped100", ReminderKind::water, 90, "100", Qt::Key_unknown, 105},
        SnapCase{"WaterTypedOnAStep", ReminderKind::water, 90, "45", Qt::Key_unknown, 45},
        SnapCase{"AppTimeTyped299", ReminderKind::appTime, 120, "299", Qt::Key_unknown, 300},
        SnapCase{"SurprisesTyped7", ReminderKind::surprise, 3, "7", Qt::Key_unknown, 7}),
    [](const auto& row) { return std::string(row.param.name); });

struct TimeCase {
    ReminderKind kind;
    const char* key;
    const char* label;
    int shown;
};

class ReminderTimeTest : public SettingsRemindersTest,
                         public ::testing::WithParamInterface<TimeCase> {};

TEST_P(ReminderTimeTest, ShowsAndStoresItsTimeOfDay) {
    const auto& c = GetParam();
    auto* field = detail(c.kind)->findChild<TimeField*>();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->findChild<QLabel*>()->text(), c.label);
    EXPECT_EQ(field->minutes(), c.shown);
    focusAsByTab(field->editor());
    QTest::keyClicks(field->editor(), "21:10");
    EXPECT_EQ(stored(c.key), R"({"value":1270})");
}

INSTANTIATE_TEST_SUITE_P(
    Times, ReminderTimeTest,
    ::testing::Values(TimeCase{ReminderKind::bedtime, "bedtime", "Bedtime", 1410},
                      TimeCase{ReminderKind::call, "callTime", "Around", 1050}));

}  // namespace
}  // namespace pelliwig::testing
