#pragma once

#include "desktop/settings/FormPage.h"

namespace pelliwig {

// One section per reminder kind: its switch, and while it is on, its detail.
class RemindersTab : public FormPage {
    Q_OBJECT
public:
    explicit RemindersTab(Prefs& prefs, QWidget* parent = nullptr);

private:
    void addKind(ReminderKind kind);
    // The detail's widgets, in a container named "detail.<kind>"; null for
    // kinds that have nothing to set.
    QWidget* addDetail(ReminderKind kind, QVBoxLayout* section);
};

}  // namespace pelliwig
