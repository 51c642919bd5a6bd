#include "desktop/settings/TimeField.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimeEdit>

#include "desktop/settings/SettingsWidgets.h"
#include "desktop/settings/WheelGuard.h"
#include "desktop/support/TimeText.h"

namespace pelliwig {

TimeField::TimeField(const QString& label, QWidget* parent)
    : QWidget(parent), label_(plainLabel(label, this)), editor_(new QTimeEdit(this)) {
    editor_->setObjectName("time");
    turnsOnlyWhenFocused(editor_);
    // 24 or 12 hours, as the desktop writes times.
    editor_->setDisplayFormat(timeOfDayFormat(editor_->locale()));
    editor_->setWrapping(true);
    label_->setVisible(!label.isEmpty());
    label_->setBuddy(editor_);
    editor_->setAccessibleName(label);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(label_);
    row->addStretch(1);
    row->addWidget(editor_);
    connect(editor_, &QTimeEdit::timeChanged, this,
            [this](QTime time) { emit minutesPicked(time.hour() * 60 + time.minute()); });
}

void TimeField::setMinutes(int minutes) {
    const int clamped = std::clamp(minutes, 0, 24 * 60 - 1);
    const QSignalBlocker quiet(editor_);
    editor_->setTime(QTime(clamped / 60, clamped % 60));
}

int TimeField::minutes() const {
    const QTime time = editor_->time();
    return time.hour() * 60 + time.minute();
}

}  // namespace pelliwig
