#include "desktop/settings/MonthDayField.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QSignalBlocker>

#include "desktop/settings/FormPage.h"
#include "desktop/settings/LocalDates.h"
#include "desktop/settings/SettingsWidgets.h"

namespace pelliwig {

MonthDayField::MonthDayField(const QString& label, const Clock& clock, QWidget* parent)
    : QWidget(parent),
      clock_(clock),
      toggle_(new QCheckBox(literalTitle(label), this)),
      picker_(dayPicker("date", this)) {
    toggle_->setObjectName("toggle");
    picker_->setAccessibleName(label);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(toggle_);
    row->addStretch(1);
    row->addWidget(picker_);
    connect(toggle_, &QCheckBox::clicked, this, [this](bool on) {
        emit valuePicked(on ? std::optional(clock_.monthDay(clock_.now())) : std::nullopt);
    });
    connect(picker_, &QDateEdit::dateChanged, this, [this](QDate day) {
        emit valuePicked(MonthDay{day.month(), day.day()});
    });
}

void MonthDayField::setValue(std::optional<MonthDay> value) {
    const QSignalBlocker quietToggle(toggle_);
    const QSignalBlocker quietPicker(picker_);
    toggle_->setChecked(value.has_value());
    picker_->setVisible(value.has_value());
    if (value) picker_->setDate(localDate(clock_.date(*value)));
}

}  // namespace pelliwig
