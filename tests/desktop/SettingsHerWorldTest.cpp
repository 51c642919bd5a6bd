#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

#include "SettingsTestWindow.h"
#include "desktop/settings/ElidedLabel.h"
#include "desktop/settings/FolderChooser.h"
#include "desktop/settings/HerWorldTab.h"

namespace pelliwig::testing {
namespace {

class SettingsHerWorldTest : public SettingsWindowTest {
protected:
    QWidget* tab() const { return view->herWorldTab(); }
    static void click(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    static void type(QLineEdit* field, const QString& text) {
        field->setFocus();
        typeText(field, text);
    }
    Json storedValue(const std::string& key) const { return Json::parse(stored(key))["value"]; }
    std::string home() const { return QDir::homePath().toStdString(); }
};

struct RoastCase {
    const char* segment;
    const char* json;
    const char* description;
};

class RoastPickerTest : public SettingsHerWorldTest,
                        public ::testing::WithParamInterface<RoastCase> {};

TEST_P(RoastPickerTest, ASegmentStoresItsLevelAndShowsItsDescription) {
    const auto& c = GetParam();
    click(find<QPushButton>(QString("roast.") + c.segment, tab()));
    EXPECT_EQ(stored("roastLevel"), c.json);
    EXPECT_TRUE(find<QPushButton>(QString("roast.") + c.segment, tab())->isChecked());
    EXPECT_EQ(find<QLabel>("roastDescription", tab())->text(), c.description);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, RoastPickerTest,
    ::testing::Values(
        RoastCase{"off", R"({"value":"off"})",
                  "She stays sweet. Your apps only get a word when you've earned a break or it's "
                  "past bedtime."},
        RoastCase{"playful", R"({"value":"playful"})",
                  "Teasing, never mean. Instagram gets side-eye, VS Code gets a nod."},
        RoastCase{"savage", R"({"value":"savage"})",
                  "Half the time she goes for the throat. Screenshot at your own risk."}),
    [](const auto& row) { return std::string(row.param.segment); });

class HerWorldTextTest : public SettingsHerWorldTest,
                         public ::testing::WithParamInterface<const char*> {};

TEST_P(HerWorldTextTest, IsShownWordForWord) {
    prefs.bigDay.set(clock.now());
    prefs.countdowns.set({Countdown{}});
    prefs.specialDates.set({SpecialDate{}});
    prefs.taughtLines.set({TaughtLine{}});
    EXPECT_TRUE(shownTexts(tab()).contains(QString::fromUtf8(GetParam()))) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HerWorldTextTest,
    ::testing::Values(
        "Personality", "Roast", "Idle peeks with no message",
        "Sleeps at the top of the screen during quiet hours", "She notices what you open",
        "Only the name of the app in front, from the window manager. Nothing inside it is read. A "
        "few comments "
        "a day, when a switch means something: praise when you get back to work, side-eye for "
        "Instagram, a talk about Tinder.",
        "Big day", "Support mode around a deadline", "What is it? (exam, launch, interview)",
        "When",
        "Fewer nudges for the week before, a daily push at 10:00, and a celebration at 20:00 on "
        "the day.",
        "Counting down to", "Trip, concert, results…", "Add a countdown",
        "Dates she should remember, every year", "Diwali, mom's birthday, first day at work…",
        "Add a date", "Teach her lines (mixed into her random sweetness)",
        "Something only she would say to you", "Add a line", "Photos she can show you on weekends",
        "No folder chosen", "Choose…", "Clear"));

TEST_F(SettingsHerWorldTest, SevenSectionsInOrder) {
    QStringList titles;
    for (auto* box : tab()->findChildren<QGroupBox*>()) titles << box->title();
    EXPECT_EQ(titles, QStringList({"Personality", "She notices what you open", "Big day",
                                   "Counting down to", "Dates she should remember, every year",
                                   "Teach her lines (mixed into her random sweetness)",
                                   "Photos she can show you on weekends"}));
}

TEST_F(SettingsHerWorldTest, RoastSegmentsReadOffPlayfulSavage) {
    EXPECT_EQ(find<QPushButton>("roast.off", tab())->text(), "Off");
    EXPECT_EQ(find<QPushButton>("roast.playful", tab())->text(), "Playful");
    EXPECT_EQ(find<QPushButton>("roast.savage", tab())->text(), "Savage");
    EXPECT_TRUE(find<QPushButton>("roast.playful", tab())->isChecked());
}

TEST_F(SettingsHerWorldTest, PersonalitySwitchesStoreTheirFlags) {
    click(find<QCheckBox>("idlePeeks", tab()));
    click(find<QCheckBox>("sleepInNotch", tab()));
    EXPECT_EQ(stored("idlePeeks"), R"({"value":false})");
    EXPECT_EQ(stored("sleepInNotch"), R"({"value":false})");
}

TEST_F(SettingsHerWorldTest, TenBucketSwitchesAndCodingBackOnGoesLast) {
    QStringList buckets;
    for (auto* box : tab()->findChildren<QCheckBox*>()) {
        if (box->objectName().startsWith("bucket.")) buckets << box->objectName().mid(7);
    }
    EXPECT_EQ(buckets, QStringList({"coding", "design", "writing", "mail", "meetings", "social",
                                    "dating", "video", "games", "shopping"}));
    // "&" in a title is drawn, not taken as a shortcut marker.
    EXPECT_EQ(find<QCheckBox>("bucket.writing", tab())->text(), "Writing && docs");

    auto* coding = find<QCheckBox>("bucket.coding", tab());
    click(coding);
    EXPECT_EQ(storedValue("watchedBuckets").size(), 9u);
    EXPECT_FALSE(coding->isChecked());
    click(coding);
    const auto json = storedValue("watchedBuckets");
    EXPECT_EQ(json.size(), 10u);
    EXPECT_EQ(json.front(), "design");
    EXPECT_EQ(json.back(), "coding");
}

TEST_F(SettingsHerWorldTest, BigDayOffAndOnAgainIsThreeDaysAheadAndKeepsItsLabel) {
    auto* toggle = find<QCheckBox>("bigDay", tab());
    auto* detail = find<QWidget>("bigDayDetail", tab());
    EXPECT_TRUE(detail->isHidden());
    click(toggle);
    const double threeDaysOn = toReferenceSeconds(clock.now() + 259'200);
    EXPECT_DOUBLE_EQ(storedValue("bigDay").get<double>(), threeDaysOn);
    EXPECT_FALSE(detail->isHidden());
    auto* label = find<QLineEdit>("bigDayLabel", tab());
    EXPECT_EQ(label->placeholderText(), "What is it? (exam, launch, interview)");
    type(label, "exam");
    EXPECT_EQ(stored("bigDayLabel"), R"({"value":"exam"})");

    click(toggle);
    EXPECT_EQ(stored("bigDay"), R"({"value":null})");
    EXPECT_TRUE(detail->isHidden());
    scheduler.advance(3600);
    click(toggle);
    EXPECT_DOUBLE_EQ(storedValue("bigDay").get<double>(), threeDaysOn + 3600);
    EXPECT_EQ(stored("bigDayLabel"), R"({"value":"exam"})");
    EXPECT_EQ(label->text(), "exam");
}

TEST_F(SettingsHerWorldTest, PickingTheBigDayChangesTheDayNotTheTime) {
    prefs.bigDay.set(utc(2026, 3, 12, 14, 0));
    auto* when = find<QDateEdit>("bigDayDate", tab());
    EXPECT_EQ(when->date(), QDate(2026, 3, 12));
    when->setDate(QDate(2026, 3, 15));
    EXPECT_EQ(prefs.bigDay.get(), utc(2026, 3, 15, 14, 0));
}

TEST_F(SettingsHerWorldTest, RemovingTheMiddleOfThreeCountdownsKeepsTheOthersInOrder) {
    auto* add = find<QToolButton>("addCountdown", tab());
    const char* labels[] = {"trip", "concert", "results"};
    // Each new row takes the keyboard and is stored with what is typed.
    for (const char* label : labels) {
        click(add);
        auto* field = qobject_cast<QLineEdit*>(view->focusWidget());
        ASSERT_NE(field, nullptr);
        typeText(field, label);
    }
    const auto made = prefs.countdowns.get();
    ASSERT_EQ(made.size(), 3u);
    for (const auto& c : made) EXPECT_EQ(c.date, clock.now() + 604'800);
    QWidget* first = view->herWorldTab()->countdownRow(made[0].id);
    QWidget* last = view->herWorldTab()->countdownRow(made[2].id);
    auto* firstField = first->findChild<QLineEdit*>("label");
    firstField->setFocus();

    click(view->herWorldTab()->countdownRow(made[1].id)->findChild<QToolButton*>("remove"));
    settle();

    const auto json = storedValue("countdowns");
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(json[0]["id"], made[0].id.text());
    EXPECT_EQ(json[0]["label"], "trip");
    EXPECT_EQ(json[1]["id"], made[2].id.text());
    EXPECT_EQ(json[1]["label"], "results");
    EXPECT_EQ(view->herWorldTab()->countdownRow(made[1].id), nullptr);
    EXPECT_EQ(view->herWorldTab()->countdownRow(made[0].id), first);
    EXPECT_EQ(view->herWorldTab()->countdownRow(made[2].id), last);
    EXPECT_EQ(firstField->text(), "trip");

    type(last->findChild<QLineEdit*>("label"), "!");
    EXPECT_EQ(storedValue("countdowns")[1]["label"], "results!");
}

TEST_F(SettingsHerWorldTest, ACountdownDatePickedKeepsItsTimeOfDay) {
    // 09:15 in Berlin, in winter time; the picked day is in summer time.
    const Countdown trip{.label = "trip", .date = utc(2026, 3, 20, 8, 15)};
    prefs.countdowns.set({trip});
    auto* date = view->herWorldTab()->countdownRow(trip.id)->findChild<QDateEdit*>("date");
    EXPECT_EQ(date->date(), QDate(2026, 3, 20));
    date->setDate(QDate(2026, 4, 2));
    EXPECT_EQ(prefs.countdowns.get()[0].date, utc(2026, 4, 2, 7, 15));
}

TEST_F(SettingsHerWorldTest, ANewSpecialDateIsTodayAndTheTwentyNinthOfFebruaryStays) {
    scheduler.advanceTo(utc(2028, 2, 1, 12, 0));
    click(find<QToolButton>("addSpecialDate", tab()));
    // The new row shows today and is stored once it is given something.
    EXPECT_TRUE(prefs.specialDates.get().empty());
    auto* row = view->focusWidget()->parentWidget();
    ASSERT_TRUE(row->objectName().startsWith("specialDate."));
    EXPECT_EQ(row->findChild<QLineEdit*>("label")->placeholderText(),
              "Diwali, mom's birthday, first day at work…");
    EXPECT_EQ(row->findChild<QDateEdit*>("date")->date(), QDate(2028, 2, 1));
    row->findChild<QDateEdit*>("date")->setDate(QDate(2028, 2, 29));
    const auto dates = prefs.specialDates.get();
    ASSERT_EQ(dates.size(), 1u);
    EXPECT_EQ(dates[0].label, "");
    EXPECT_EQ(storedValue("specialDates")[0]["monthDay"], Json::parse(R"({"month":2,"day":29})"));

    scheduler.advanceTo(utc(2029, 1, 1, 12, 0));
    auto later = makeView();
    EXPECT_EQ(prefs.specialDates.get()[0].monthDay, (MonthDay{2, 29}));
}

TEST_F(SettingsHerWorldTest, TaughtLinesAreStoredExactlyAsTyped) {
    prefs.taughtLines.set({TaughtLine{.text = "first"}});
    click(find<QToolButton>("addTaughtLine", tab()));
    auto* field = qobject_cast<QLineEdit*>(view->focusWidget());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->placeholderText(), "Something only she would say to you");
    type(field, "<i>meri jaan</i> & {name} 💛");
    const auto json = storedValue("taughtLines");
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(json[0]["text"], "first");
    EXPECT_EQ(json[1]["text"], "<i>meri jaan</i> & {name} 💛");
}

TEST_F(SettingsHerWorldTest, AChosenFolderInsideHomeIsShownWithATilde) {
    auto* path = find<ElidedLabel>("photoFolderPath", tab());
    auto* clear = find<QPushButton>("clearPhotoFolder", tab());
    EXPECT_EQ(path->fullText(), "No folder chosen");
    EXPECT_TRUE(clear->isHidden());

    nextFolder = home() + "/Pictures/<b>Weekend</b>";
    click(find<QPushButton>("choosePhotoFolder", tab()));
    EXPECT_EQ(folderRequests, 1);
    EXPECT_EQ(storedValue("photoFolder"), *nextFolder);
    EXPECT_EQ(path->fullText(), "~/Pictures/<b>Weekend</b>");
    EXPECT_EQ(path->textFormat(), Qt::PlainText);
    QTextDocument tip;
    tip.setHtml(path->toolTip());
    EXPECT_EQ(tip.toPlainText(), "~/Pictures/<b>Weekend</b>");
    EXPECT_FALSE(clear->isHidden());

    click(clear);
    EXPECT_EQ(stored("photoFolder"), R"({"value":null})");
    EXPECT_EQ(path->fullText(), "No folder chosen");
    EXPECT_TRUE(clear->isHidden());
}

TEST_F(SettingsHerWorldTest, ACancelledChooserChangesNothing) {
    prefs.photoFolder.set("/srv/photos");
    const int writes = store.writes;
    nextFolder.reset();
    click(find<QPushButton>("choosePhotoFolder", tab()));
    EXPECT_EQ(folderRequests, 1);
    EXPECT_EQ(store.writes, writes);
    EXPECT_EQ(find<ElidedLabel>("photoFolderPath", tab())->fullText(), "/srv/photos");
}

// The real chooser: one folder, confirmed with "Use this folder"; answered
// from inside its own modal loop.
class FolderDialogTest : public SettingsHerWorldTest, public ::testing::WithParamInterface<bool> {
protected:
    static QFileDialog* openDialog() {
        for (auto* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (dialog && dialog->isVisible()) return dialog;
        }
        return nullptr;
    }
};

TEST_P(FolderDialogTest, GivesTheConfirmedFolderOrNothing) {
    const bool confirm = GetParam();
    QTemporaryDir parent;
    ASSERT_TRUE(parent.isValid());
    const QString chosen = parent.filePath("Weekend photos");
    ASSERT_TRUE(QDir().mkpath(chosen));
    QTimer::singleShot(0, [&] {
        QFileDialog* dialog = openDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        EXPECT_TRUE(dialog->testOption(QFileDialog::ShowDirsOnly));
        EXPECT_EQ(dialog->labelText(QFileDialog::Accept), "Use this folder");
        dialog->setDirectory(parent.path());
        dialog->selectFile(chosen);
        // As the dialog's own buttons do (QFileDialog keeps accept() protected).
        QDialog* asked = dialog;
        confirm ? asked->accept() : asked->reject();
    });
    const auto folder = chooseFolderWithDialog(nullptr);
    if (confirm) {
        EXPECT_EQ(folder, QFile::encodeName(chosen).toStdString());
    } else {
        EXPECT_EQ(folder, std::nullopt);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, FolderDialogTest, ::testing::Values(true, false),
                         [](const auto& row) { return row.param ? "Confirmed" : "Cancelled"; });

TEST_F(SettingsHerWorldTest, ALongPathIsShortenedInTheMiddle) {
    prefs.photoFolder.set(home() + "/Pictures/" + std::string(200, 'x') + "/Weekend");
    auto* path = find<ElidedLabel>("photoFolderPath", tab());
    view->tabs()->setCurrentWidget(view->herWorldTab());
    view->show();
    settle();
    // The row keeps room for its buttons; the path takes what is left.
    EXPECT_GT(path->width(), 100);
    EXPECT_LT(path->width(), path->fontMetrics().horizontalAdvance(path->fullText()));
    EXPECT_TRUE(path->text().startsWith("~/Pic"));
    EXPECT_TRUE(path->text().endsWith("/Weekend"));
    EXPECT_TRUE(path->text().contains(QChar(0x2026)));
    EXPECT_LE(path->fontMetrics().horizontalAdvance(path->text()), path->contentsRect().width());
    EXPECT_EQ(path->fullText().toStdString(), "~/Pictures/" + std::string(200, 'x') + "/Weekend");
}

}  // namespace
}  // namespace pelliwig::testing
