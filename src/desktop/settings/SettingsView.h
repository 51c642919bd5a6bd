#pragma once

#include <QWidget>

#include "core/platform/LoginItem.h"
#include "core/settings/Prefs.h"
#include "core/support/Clock.h"
#include "desktop/settings/FolderChooser.h"

class QTabWidget;

namespace pelliwig {

class GeneralTab;
class RemindersTab;
class DatesTab;
class HerWorldTab;

// The settings window: four tabs that write straight into Prefs, so there is
// nothing to save and closing it loses nothing. Prefs, the clock and the
// login item must outlive it.
class SettingsView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 520;

    SettingsView(Prefs& prefs, const Clock& clock, LoginItem& loginItem,
                 ChooseFolder chooseFolder = chooseFolderWithDialog, QWidget* parent = nullptr);

    // Shows the window (again) in front of the others, even when it was
    // opened from the tray while another application had the focus.
    void showAndRaise();

    QTabWidget* tabs() const { return tabs_; }
    GeneralTab* generalTab() const { return general_; }
    RemindersTab* remindersTab() const { return reminders_; }
    DatesTab* datesTab() const { return dates_; }
    HerWorldTab* herWorldTab() const { return herWorld_; }

private:
    QTabWidget* tabs_;
    GeneralTab* general_;
    RemindersTab* reminders_;
    DatesTab* dates_;
    HerWorldTab* herWorld_;
};

}  // namespace pelliwig
