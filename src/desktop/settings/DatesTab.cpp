#include "desktop/settings/DatesTab.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "desktop/settings/MonthDayField.h"
#include "desktop/settings/RecordEdits.h"
#include "desktop/settings/RemoveButton.h"
#include "desktop/settings/SettingsWidgets.h"
#include "desktop/settings/TimeField.h"

namespace pelliwig {
namespace {

constexpr int kRowTimeWidth = 90;

}  // namespace

DatesTab::DatesTab(Prefs& prefs, const Clock& clock, QWidget* parent)
    : FormPage(prefs, parent), clock_(clock) {
    addSpecialDates();
    addReminders();
    finish();
}

void DatesTab::addSpecialDates() {
    auto* section = addSection("Special dates");
    addMonthDay(section, "Birthday", prefs().birthday, "birthday");
    addMonthDay(section, "Anniversary", prefs().anniversary, "anniversary");
}

MonthDayField* DatesTab::addMonthDay(QVBoxLayout* section, const QString& label,
                                     Stored<std::optional<MonthDay>>& setting, const char* name) {
    auto* field = new MonthDayField(label, clock_);
    field->setObjectName(name);
    section->addWidget(field);
    connect(field, &MonthDayField::valuePicked, this,
            [&setting](std::optional<MonthDay> value) { setting.set(value); });
    onRefresh([field, &setting] { field->setValue(setting.get()); });
    return field;
}

void DatesTab::addReminders() {
    auto* section = addSection("Her own words, once a day");
    auto* list = new QWidget;
    auto* rows = new QVBoxLayout(list);
    rows->setContentsMargins(0, 0, 0, 0);
    section->addWidget(list);
    reminders_ = std::make_unique<RecordRows<CustomReminder>>(
        rows, [this](const Uuid& id) { return makeReminderRow(id); });
    auto* add = addButton("Add a line");
    add->setObjectName("addCustomReminder");
    section->addWidget(add, 0, Qt::AlignLeft);
    connect(add, &QToolButton::clicked, this,
            [this] { reminders_->addDraft(CustomReminder{}, prefs().customReminders.get()); });
    onRefresh([this] { reminders_->show(prefs().customReminders.get()); });
}

RecordRows<CustomReminder>::Row DatesTab::makeReminderRow(const Uuid& id) {
    auto* row = new QWidget;
    row->setObjectName(qs("customReminder." + id.text()));
    auto* enabled = new QCheckBox(row);
    enabled->setObjectName("enabled");
    auto* text = textField("What should she say?", "text", row);
    auto* time = new TimeField({}, row);
    time->setObjectName("time");
    time->setFixedWidth(kRowTimeWidth);
    auto* remove = new RemoveButton(row);
    remove->setAccessibleName("Remove this line");
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(enabled);
    layout->addWidget(text, 1);
    layout->addWidget(time);
    layout->addWidget(remove);

    enabled->setAccessibleName("Say this line");
    text->setAccessibleName("Her line");
    time->editor()->setAccessibleName("At");
    auto& cell = prefs().customReminders;
    auto& rows = *reminders_;
    connect(enabled, &QCheckBox::clicked, this, [&rows, &cell, id](bool on) {
        rows.edit(cell, id, [on](auto& r) { r.enabled = on; });
    });
    connect(text, &QLineEdit::textEdited, this, [&rows, &cell, id](const QString& typed) {
        rows.edit(cell, id, [&typed](auto& r) { r.text = utf8(typed); });
    });
    connect(time, &TimeField::minutesPicked, this, [&rows, &cell, id](int minutes) {
        rows.edit(cell, id, [minutes](auto& r) { r.minutes = minutes; });
    });
    connect(remove, &RemoveButton::clicked, this, [&rows, &cell, id] { rows.remove(cell, id); });
    return {row, [enabled, text, time](const CustomReminder& r) {
                const QSignalBlocker quiet(enabled);
                enabled->setChecked(r.enabled);
                showText(text, r.text);
                time->setMinutes(r.minutes);
            }};
}

}  // namespace pelliwig
