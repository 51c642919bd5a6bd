#include "desktop/settings/HerWorldTab.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "desktop/settings/ElidedLabel.h"
#include "desktop/settings/HomePath.h"
#include "desktop/settings/LocalDates.h"
#include "desktop/settings/RecordEdits.h"
#include "desktop/settings/RemoveButton.h"
#include "desktop/settings/SegmentedChoice.h"
#include "desktop/settings/SettingsWidgets.h"
#include "desktop/support/TimeText.h"

namespace pelliwig {
namespace {

constexpr double kBigDayLead = 259'200;  // three days

QWidget* rowOf(std::initializer_list<QWidget*> widgets, int stretchIndex) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    int index = 0;
    for (auto* widget : widgets) layout->addWidget(widget, index++ == stretchIndex ? 1 : 0);
    return row;
}

}  // namespace

HerWorldTab::HerWorldTab(Prefs& prefs, const Clock& clock, ChooseFolder chooseFolder,
                         QWidget* parent)
    : FormPage(prefs, parent), clock_(clock), chooseFolder_(std::move(chooseFolder)) {
    addPersonality();
    addWatchedApps();
    addBigDay();
    addCountdowns();
    addSpecialDates();
    addTaughtLines();
    addPhotoFolder();
    finish();
}

void HerWorldTab::addPersonality() {
    auto* section = addSection("Personality");
    addRoastPicker(section);
    auto* explanation = secondaryLabel({});
    explanation->setObjectName("roastDescription");
    section->addWidget(explanation);
    onRefresh(
        [this, explanation] { explanation->setText(qs(description(prefs().roastLevel.get()))); });
    addToggle(
        section, "Idle peeks with no message", "idlePeeks",
        [this] { return prefs().idlePeeks.get(); }, [this](bool on) { prefs().idlePeeks.set(on); });
    addToggle(
        section, "Sleeps at the top of the screen during quiet hours", "sleepInNotch",
        [this] { return prefs().sleepInNotch.get(); },
        [this](bool on) { prefs().sleepInNotch.set(on); });
}

void HerWorldTab::addRoastPicker(QVBoxLayout* section) {
    QStringList titles;
    QStringList names;
    for (const auto level : allCases<RoastLevel>()) {
        titles << qs(title(level));
        names << qs("roast." + rawString(level));
    }
    auto* segments = new SegmentedChoice("Roast", titles, names);
    segments->setObjectName("roast");
    section->addWidget(labelledRow("Roast", segments));
    connect(segments, &SegmentedChoice::picked, this,
            [this](int index) { prefs().roastLevel.set(static_cast<RoastLevel>(index)); });
    onRefresh(
        [this, segments] { segments->setCurrent(static_cast<int>(prefs().roastLevel.get())); });
}

void HerWorldTab::addWatchedApps() {
    auto* section = addSection("She notices what you open");
    section->addWidget(secondaryLabel(
        "Only the name of the app in front, from the window manager. Nothing inside it is read. A "
        "few "
        "comments a day, when a switch means something: praise when you get back to work, "
        "side-eye for Instagram, a talk about Tinder."));
    for (const auto bucket : watchedBuckets()) {
        auto& cell = prefs().watchedBuckets;
        addToggle(
            section, qs(title(bucket)), qs("bucket." + rawString(bucket)),
            [&cell, bucket] { return std::ranges::count(cell.get(), bucket) > 0; },
            [&cell, bucket](bool on) { cell.set(withMembership(cell.get(), bucket, on)); });
    }
}

void HerWorldTab::addBigDay() {
    auto* section = addSection("Big day");
    addToggle(
        section, "Support mode around a deadline", "bigDay",
        [this] { return prefs().bigDay.get().has_value(); },
        [this](bool on) {
            prefs().bigDay.set(on ? std::optional(clock_.now() + kBigDayLead) : std::nullopt);
        });
    auto* detail = new QWidget;
    detail->setObjectName("bigDayDetail");
    auto* rows = new QVBoxLayout(detail);
    rows->setContentsMargins(0, 0, 0, 0);
    section->addWidget(detail);
    auto* label = textField("What is it? (exam, launch, interview)", "bigDayLabel");
    label->setAccessibleName("What the big day is");
    rows->addWidget(label);
    bindText(
        label, [this] { return prefs().bigDayLabel.get(); },
        [this](const std::string& text) { prefs().bigDayLabel.set(text); });
    auto* when = dayPicker("bigDayDate");
    rows->addWidget(labelledRow("When", when));
    // The support rules' times: the push at 10:00, the celebration at 20:00.
    rows->addWidget(secondaryLabel("Fewer nudges for the week before, a daily push at " +
                                   timeOfDayText(600) + ", and a celebration at " +
                                   timeOfDayText(1200) + " on the day."));
    connect(when, &QDateEdit::dateChanged, this, [this](QDate day) {
        prefs().bigDay.set(movedToDate(prefs().bigDay.get().value_or(clock_.now()), day));
    });
    onRefresh([this, detail, when] {
        const auto bigDay = prefs().bigDay.get();
        detail->setVisible(bigDay.has_value());
        const QSignalBlocker quiet(when);
        when->setDate(localDate(bigDay.value_or(clock_.now())));
    });
}

QVBoxLayout* HerWorldTab::addListSection(const QString& header, const QString& addTitle,
                                         const char* addName, std::function<void()> add) {
    auto* section = addSection(header);
    auto* list = new QWidget;
    auto* rows = new QVBoxLayout(list);
    rows->setContentsMargins(0, 0, 0, 0);
    section->addWidget(list);
    auto* button = addButton(addTitle);
    button->setObjectName(addName);
    section->addWidget(button, 0, Qt::AlignLeft);
    connect(button, &QToolButton::clicked, this, std::move(add));
    return rows;
}

void HerWorldTab::addCountdowns() {
    auto* rows = addListSection("Counting down to", "Add a countdown", "addCountdown", [this] {
        countdowns_->addDraft(Countdown::startingAt(clock_.now()), prefs().countdowns.get());
    });
    countdowns_ = std::make_unique<RecordRows<Countdown>>(
        rows, [this](const Uuid& id) { return makeCountdownRow(id); });
    onRefresh([this] { countdowns_->show(prefs().countdowns.get()); });
}

RecordRows<Countdown>::Row HerWorldTab::makeCountdownRow(const Uuid& id) {
    auto* label = textField("Trip, concert, results…", "label");
    label->setAccessibleName("Counting down to");
    auto* date = dayPicker("date");
    date->setAccessibleName("Day of the countdown");
    auto* remove = new RemoveButton;
    remove->setAccessibleName("Remove this countdown");
    auto* row = rowOf({label, date, remove}, 0);
    row->setObjectName(qs("countdown." + id.text()));
    auto& cell = prefs().countdowns;
    auto& rows = *countdowns_;
    connect(label, &QLineEdit::textEdited, this, [&rows, &cell, id](const QString& typed) {
        rows.edit(cell, id, [&typed](Countdown& c) { c.label = utf8(typed); });
    });
    connect(date, &QDateEdit::dateChanged, this, [&rows, &cell, id](QDate day) {
        rows.edit(cell, id, [day](Countdown& c) { c.date = movedToDate(c.date, day); });
    });
    connect(remove, &RemoveButton::clicked, this, [&rows, &cell, id] { rows.remove(cell, id); });
    return {row, [label, date](const Countdown& c) {
                showText(label, c.label);
                const QSignalBlocker quiet(date);
                date->setDate(localDate(c.date));
            }};
}

void HerWorldTab::addSpecialDates() {
    auto* rows = addListSection("Dates she should remember, every year", "Add a date",
                                "addSpecialDate", [this] {
                                    SpecialDate date;
                                    date.monthDay = clock_.monthDay(clock_.now());
                                    specialDates_->addDraft(date, prefs().specialDates.get());
                                });
    specialDates_ = std::make_unique<RecordRows<SpecialDate>>(
        rows, [this](const Uuid& id) { return makeSpecialDateRow(id); });
    onRefresh([this] { specialDates_->show(prefs().specialDates.get()); });
}

RecordRows<SpecialDate>::Row HerWorldTab::makeSpecialDateRow(const Uuid& id) {
    auto* label = textField("Diwali, mom's birthday, first day at work…", "label");
    label->setAccessibleName("Date to remember");
    auto* date = dayPicker("date");
    date->setAccessibleName("Day of the date");
    auto* remove = new RemoveButton;
    remove->setAccessibleName("Remove this date");
    auto* row = rowOf({label, date, remove}, 0);
    row->setObjectName(qs("specialDate." + id.text()));
    auto& cell = prefs().specialDates;
    auto& rows = *specialDates_;
    connect(label, &QLineEdit::textEdited, this, [&rows, &cell, id](const QString& typed) {
        rows.edit(cell, id, [&typed](SpecialDate& d) { d.label = utf8(typed); });
    });
    connect(date, &QDateEdit::dateChanged, this, [&rows, &cell, id](QDate day) {
        rows.edit(cell, id, [day](SpecialDate& d) { d.monthDay = {day.month(), day.day()}; });
    });
    connect(remove, &RemoveButton::clicked, this, [&rows, &cell, id] { rows.remove(cell, id); });
    return {row, [this, label, date](const SpecialDate& d) {
                showText(label, d.label);
                const QSignalBlocker quiet(date);
                date->setDate(localDate(clock_.date(d.monthDay)));
            }};
}

void HerWorldTab::addTaughtLines() {
    auto* rows = addListSection(
        "Teach her lines (mixed into her random sweetness)", "Add a line", "addTaughtLine",
        [this] { taughtLines_->addDraft(TaughtLine{}, prefs().taughtLines.get()); });
    taughtLines_ = std::make_unique<RecordRows<TaughtLine>>(
        rows, [this](const Uuid& id) { return makeTaughtLineRow(id); });
    onRefresh([this] { taughtLines_->show(prefs().taughtLines.get()); });
}

RecordRows<TaughtLine>::Row HerWorldTab::makeTaughtLineRow(const Uuid& id) {
    auto* text = textField("Something only she would say to you", "text");
    text->setAccessibleName("A line she learns");
    auto* remove = new RemoveButton;
    remove->setAccessibleName("Remove this line");
    auto* row = rowOf({text, remove}, 0);
    row->setObjectName(qs("taughtLine." + id.text()));
    auto& cell = prefs().taughtLines;
    auto& rows = *taughtLines_;
    connect(text, &QLineEdit::textEdited, this, [&rows, &cell, id](const QString& typed) {
        rows.edit(cell, id, [&typed](TaughtLine& t) { t.text = utf8(typed); });
    });
    connect(remove, &RemoveButton::clicked, this, [&rows, &cell, id] { rows.remove(cell, id); });
    return {row, [text](const TaughtLine& t) { showText(text, t.text); }};
}

void HerWorldTab::addPhotoFolder() {
    auto* section = addSection("Photos she can show you on weekends");
    auto* path = new ElidedLabel;
    path->setObjectName("photoFolderPath");
    path->setForegroundRole(QPalette::PlaceholderText);
    auto* choose = new QPushButton("Choose…");
    choose->setObjectName("choosePhotoFolder");
    auto* clear = new QPushButton("Clear");
    clear->setObjectName("clearPhotoFolder");
    section->addWidget(rowOf({path, choose, clear}, 0));
    connect(choose, &QPushButton::clicked, this, [this] {
        if (auto folder = chooseFolder_(this)) prefs().photoFolder.set(std::move(folder));
    });
    connect(clear, &QPushButton::clicked, this, [this] { prefs().photoFolder.set(std::nullopt); });
    onRefresh([this, path, clear] {
        const auto folder = prefs().photoFolder.get();
        path->setFullText(folder ? QFile::decodeName(shownPath(*folder).c_str())
                                 : QString("No folder chosen"));
        clear->setVisible(folder.has_value());
    });
}

}  // namespace pelliwig
