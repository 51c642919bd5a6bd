#pragma once

#include <functional>

#include <QPixmap>
#include <QWidget>

#include "core/content/Language.h"
#include "core/platform/LoginItem.h"
#include "core/settings/Prefs.h"
#include "core/support/Signal.h"

class QAbstractButton;
class QCheckBox;
class QLabel;
class QPushButton;
class QRect;

namespace pelliwig {

class SegmentedChoice;

// The first-run introduction: who she is, her language, starting at login,
// and "Meet her", which finishes onboarding and hands over to `onMeet`.
// Prefs and the login item must outlive it.
class WelcomeWindow : public QWidget {
    Q_OBJECT

public:
    // Where she can be reached, which decides the caption under the button.
    enum class Reach { tray, notchOnly, notifications };

    static constexpr int kWidth = 460;
    static constexpr int kPortraitHeight = 150;

    WelcomeWindow(Prefs& prefs, LoginItem& loginItem, const QPixmap& portrait, Reach reach,
                  std::function<void()> onMeet, QWidget* parent = nullptr);

    // The caption for where she lives.
    static QString caption(Reach reach);

    // Shows the window in front of the others, centred the first time.
    void showAndRaise();

    // Her picture at the top, scaled to its height.
    void setPortrait(const QPixmap& portrait);

    // Fits the window into `area` (a screen's work area): on a small or
    // scaled screen her picture and the spacing shrink before anything is
    // cut off.
    void fitInto(const QRect& area);

private:
    QWidget* buildForm();
    void showLanguage();
    void meet();

    Prefs& prefs_;
    LoginItem& loginItem_;
    std::function<void()> onMeet_;
    QLabel* portrait_ = nullptr;
    QCheckBox* launchAtLogin_ = nullptr;
    QPushButton* meet_ = nullptr;
    SegmentedChoice* language_ = nullptr;
    QPixmap portraitSource_;
    int portraitHeight_ = kPortraitHeight;
    bool centred_ = false;
    Connection prefsChanged_;
};

}  // namespace pelliwig
