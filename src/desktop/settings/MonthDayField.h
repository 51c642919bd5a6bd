#pragma once

#include <optional>

#include <QString>
#include <QWidget>

#include "core/support/Clock.h"
#include "core/support/MonthDay.h"

class QCheckBox;
class QDateEdit;

namespace pelliwig {

// A yearly day that may be unset: a switch labelled `label`, on while a day
// is set, and a date picker beside it. Switching on picks today; switching off
// clears; picking a date keeps its month and day and drops the year.
// setValue() only draws; valuePicked() is the user's choice.
class MonthDayField : public QWidget {
    Q_OBJECT
public:
    MonthDayField(const QString& label, const Clock& clock, QWidget* parent = nullptr);

    void setValue(std::optional<MonthDay> value);
    QCheckBox* toggle() const { return toggle_; }
    QDateEdit* picker() const { return picker_; }

signals:
    void valuePicked(std::optional<MonthDay> value);

private:
    const Clock& clock_;
    QCheckBox* toggle_;
    QDateEdit* picker_;
};

}  // namespace pelliwig
