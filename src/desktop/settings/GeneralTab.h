#pragma once

#include "core/platform/LoginItem.h"
#include "desktop/settings/FormPage.h"

class QCheckBox;
class QComboBox;
class QKeySequenceEdit;

namespace pelliwig {

// Language and appearance, quiet hours, pacing and the other times she keeps
// quiet, and launching at login.
class GeneralTab : public FormPage {
    Q_OBJECT
public:
    GeneralTab(Prefs& prefs, LoginItem& loginItem, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void addCharacterSection();
    void addPlacementSection();
    // The screen choices: primary, the pointer's, then each screen by name,
    // plus the stored name when that screen is not plugged in now.
    void fillScreens(QComboBox* picker);
    void addTimingSection();
    void addShowSecondsSlider(QVBoxLayout* section);
    void addQuietToggles(QVBoxLayout* section);
    void addAccessSection();
    void addLoginSection();
    // Registers or unregisters; when the system refuses, shows the real state.
    void launchAtLogin(bool on);
    void showLoginState();

    LoginItem& loginItem_;
    QCheckBox* launchAtLogin_ = nullptr;
};

}  // namespace pelliwig
