#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QToolButton>

#include "SettingsTestWindow.h"
#include "desktop/settings/DatesTab.h"
#include "desktop/settings/MonthDayField.h"
#include "desktop/settings/TimeField.h"

namespace pelliwig::testing {
namespace {

class SettingsDatesTest : public SettingsWindowTest {
protected:
    static void click(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    QWidget* row(const CustomReminder& r) const { return view->datesTab()->reminderRow(r.id); }
};

TEST_F(SettingsDatesTest, TwoSectionsWithTheirTitles) {
    QStringList titles;
    for (auto* box : view->datesTab()->findChildren<QGroupBox*>()) titles << box->title();
    EXPECT_EQ(titles, QStringList({"Special dates", "Her own words, once a day"}));
    const QStringList texts = shownTexts(view->datesTab());
    for (const char* text : {"Birthday", "Anniversary", "Add a line"}) {
        EXPECT_TRUE(texts.contains(text)) << text;
    }
}

TEST_F(SettingsDatesTest, BirthdaySwitchedOnIsTodayAndAgainTodayAfterOffAndOn) {
    auto* field = find<MonthDayField>("birthday");
    EXPECT_TRUE(field->picker()->isHidden());
    click(field->toggle());
    EXPECT_EQ(stored("birthday"), R"({"value":{"month":3,"day":10}})");
    EXPECT_FALSE(field->picker()->isHidden());
    EXPECT_EQ(field->picker()->date(), QDate(2026, 3, 10));

    field->picker()->setDate(QDate(2026, 7, 4));
    EXPECT_EQ(stored("birthday"), R"({"value":{"month":7,"day":4}})");
    click(field->toggle());
    EXPECT_EQ(stored("birthday"), R"({"value":null})");
    EXPECT_TRUE(field->picker()->isHidden());
    click(field->toggle());
    EXPECT_EQ(stored("birthday"), R"({"value":{"month":3,"day":10}})");
}

TEST_F(SettingsDatesTest, APickedAnniversaryKeepsMonthAndDayOnly) {
    prefs.anniversary.set(MonthDay{1, 1});
    auto* field = find<MonthDayField>("anniversary");
    EXPECT_EQ(field->picker()->date(), QDate(2026, 1, 1));
    field->picker()->setDate(QDate(2031, 12, 24));
    EXPECT_EQ(stored("anniversary"), R"({"value":{"month":12,"day":24}})");
}

TEST_F(SettingsDatesTest, AddALineAppendsAnEnabledNoonReminderOnceTyped) {
    click(find<QToolButton>("addCustomReminder"));
    // Stored with its first edit: typing goes into the new row's line.
    EXPECT_TRUE(prefs.customReminders.get().empty());
    auto* typedInto = qobject_cast<QLineEdit*>(view->focusWidget());
    ASSERT_NE(typedInto, nullptr);
    typeText(typedInto, "Stretch");
    const auto reminders = prefs.customReminders.get();
    ASSERT_EQ(reminders.size(), 1u);
    EXPECT_EQ(reminders[0].text, "Stretch");
    EXPECT_EQ(reminders[0].minutes, 720);
    EXPECT_TRUE(reminders[0].enabled);
    auto* r = row(reminders[0]);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->findChild<QLineEdit*>("text")->placeholderText(), "What should she say?");
    EXPECT_EQ(r->findChild<TimeField*>("time")->minutes(), 720);
    EXPECT_EQ(r->findChild<TimeField*>("time")->width(), 90);
}

TEST_F(SettingsDatesTest, AReminderRowEditsItsOwnRecordByIdentity) {
    const CustomReminder first{.text = "one"}, second{.text = "two"};
    prefs.customReminders.set({first, second});
    auto* r = row(second);
    ASSERT_NE(r, nullptr);
    auto* text = r->findChild<QLineEdit*>("text");
    text->setFocus();
    text->selectAll();
    QTest::keyClicks(text, "<b>drink</b> & sleep");
    click(r->findChild<QCheckBox*>("enabled"));
    auto* time = r->findChild<TimeField*>("time")->editor();
    focusAsByTab(time);
    QTest::keyClicks(time, "07:15");

    const auto json = Json::parse(stored("customReminders"))["value"];
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(json[0]["text"], "one");
    EXPECT_EQ(json[0]["id"], first.id.text());
    EXPECT_EQ(json[1]["id"], second.id.text());
    EXPECT_EQ(json[1]["text"], "<b>drink</b> & sleep");
    EXPECT_EQ(json[1]["enabled"], false);
    EXPECT_EQ(json[1]["minutes"], 435);
}

TEST_F(SettingsDatesTest, RemovingAReminderLeavesTheOthersAndTheirRows) {
    const CustomReminder a{.text = "a"}, b{.text = "b"};
    prefs.customReminders.set({a, b});
    QWidget* rowB = row(b);
    click(row(a)->findChild<QToolButton*>("remove"));
    settle();
    EXPECT_EQ(prefs.customReminders.get(), std::vector<CustomReminder>{b});
    EXPECT_EQ(row(a), nullptr);
    EXPECT_EQ(row(b), rowB);
}

}  // namespace
}  // namespace pelliwig::testing
