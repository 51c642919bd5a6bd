#include "desktop/settings/SettingsView.h"

#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "desktop/settings/DatesTab.h"
#include "desktop/settings/GeneralTab.h"
#include "desktop/settings/HerWorldTab.h"
#include "desktop/settings/RemindersTab.h"
#include "desktop/settings/SettingsWidgets.h"

namespace pelliwig {

SettingsView::SettingsView(Prefs& prefs, const Clock& clock, LoginItem& loginItem,
                           ChooseFolder chooseFolder, QWidget* parent)
    : QWidget(parent),
      tabs_(new QTabWidget(this)),
      general_(new GeneralTab(prefs, loginItem)),
      reminders_(new RemindersTab(prefs)),
      dates_(new DatesTab(prefs, clock)),
      herWorld_(new HerWorldTab(prefs, clock, std::move(chooseFolder))) {
    setObjectName("settings");
    setWindowTitle("Settings");
    setFixedSize(kWidth, kHeight);
    tabs_->setObjectName("tabs");
    tabs_->setDocumentMode(true);
    general_->setObjectName("generalTab");
    reminders_->setObjectName("remindersTab");
    dates_->setObjectName("datesTab");
    herWorld_->setObjectName("herWorldTab");
    // A gear, a bell, a calendar and a heart, by the names icon themes use.
    tabs_->addTab(general_,
                  themeIcon({"emblem-system-symbolic", "emblem-system", "preferences-system"},
                            QStyle::SP_ComputerIcon),
                  "General");
    tabs_->addTab(
        reminders_,
        themeIcon({"preferences-system-notifications-symbolic", "preferences-desktop-notification",
                   "preferences-system-notifications"},
                  QStyle::SP_MessageBoxInformation),
        "Reminders");
    tabs_->addTab(dates_,
                  themeIcon({"x-office-calendar-symbolic", "x-office-calendar"},
                            QStyle::SP_FileDialogDetailedView),
                  literalTitle("Dates & yours"));
    tabs_->addTab(
        herWorld_,
        themeIcon({"emblem-favorite-symbolic", "emblem-favorite"}, QStyle::SP_DialogYesButton),
        "Her world");
    // A screen reader names each page by its tab.
    tabs_->setAccessibleName("Settings");
    for (int i = 0; i < tabs_->count(); ++i) {
        tabs_->widget(i)->setAccessibleName(tabs_->tabText(i).replace("&&", "&"));
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
    // Closed from the keyboard as a desktop's settings windows are; nothing
    // is lost, every change is already stored. (A picker's open popup takes
    // its Escape first.)
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setObjectName("close");
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
}

void SettingsView::showAndRaise() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

}  // namespace pelliwig
