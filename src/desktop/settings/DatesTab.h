#pragma once

#include <memory>

#include "core/support/Clock.h"
#include "desktop/settings/FormPage.h"
#include "desktop/settings/RecordRows.h"

namespace pelliwig {

class MonthDayField;

// The birthday, the anniversary and the user's own daily reminders.
class DatesTab : public FormPage {
    Q_OBJECT
public:
    DatesTab(Prefs& prefs, const Clock& clock, QWidget* parent = nullptr);

    // The row of one reminder ("customReminder.<id>"), if shown.
    QWidget* reminderRow(const Uuid& id) const { return reminders_->rowFor(id); }

private:
    void addSpecialDates();
    MonthDayField* addMonthDay(QVBoxLayout* section, const QString& label,
                               Stored<std::optional<MonthDay>>& setting, const char* name);
    void addReminders();
    RecordRows<CustomReminder>::Row makeReminderRow(const Uuid& id);

    const Clock& clock_;
    std::unique_ptr<RecordRows<CustomReminder>> reminders_;
};

}  // namespace pelliwig
