#include "desktop/settings/RemindersTab.h"

#include <QLabel>
#include <QVBoxLayout>

#include "desktop/settings/SettingsWidgets.h"

namespace pelliwig {

RemindersTab::RemindersTab(Prefs& prefs, QWidget* parent) : FormPage(prefs, parent) {
    for (const auto kind : remindersTabKinds()) addKind(kind);
    finish();
}

void RemindersTab::addKind(ReminderKind kind) {
    auto* section = addSection();
    const QString name = qs(rawValue(kind));
    addToggle(
        section, qs(title(kind)), "toggle." + name,
        [this, kind] { return prefs().isEnabled(kind); },
        [this, kind](bool on) { prefs().setEnabled(kind, on); });
    QWidget* detail = addDetail(kind, section);
    if (!detail) return;
    onRefresh([this, kind, detail] { detail->setVisible(prefs().isEnabled(kind)); });
}

QWidget* RemindersTab::addDetail(ReminderKind kind, QVBoxLayout* section) {
    const auto shape = reminderDetail(kind);
    if (std::holds_alternative<std::monostate>(shape)) return nullptr;
    auto* detail = new QWidget;
    detail->setObjectName("detail." + qs(rawValue(kind)));
    auto* rows = new QVBoxLayout(detail);
    rows->setContentsMargins(0, 0, 0, 0);
    section->addWidget(detail);
    if (const auto* note = std::get_if<DetailNote>(&shape)) {
        rows->addWidget(secondaryLabel(qs(note->text)));
    } else if (const auto* time = std::get_if<DetailTime>(&shape)) {
        addTimeField(rows, qs(time->label), prefs().*time->setting, "time");
    } else if (const auto* stepper = std::get_if<DetailStepper>(&shape)) {
        addStepper(rows, *stepper, "stepper");
    }
    return detail;
}

}  // namespace pelliwig
