#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QScrollArea>
#include <QString>

#include "core/settings/Prefs.h"
#include "core/support/Signal.h"
#include "desktop/settings/ReminderDetail.h"

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QSpinBox;
class QVBoxLayout;

namespace pelliwig {

class TimeField;

// A settings tab: a grouped form of sections that scrolls when it is taller
// than the window. Every control writes straight into Prefs; whenever Prefs
// announces a change, from here or anywhere else, every control is redrawn
// from the stored values (without echoing them back as writes).
class FormPage : public QScrollArea {
    Q_OBJECT
public:
    explicit FormPage(Prefs& prefs, QWidget* parent = nullptr);

    // Redraws every control from Prefs.
    void refresh();

protected:
    Prefs& prefs() const { return prefs_; }

    // A section with an optional header; rows are added to its layout.
    QVBoxLayout* addSection(const QString& header = {});
    // Closes the form and draws it once.
    void finish();
    // Runs on every redraw.
    void onRefresh(std::function<void()> redraw);

    // A label on the left, the control on the right.
    static QWidget* labelledRow(const QString& label, QWidget* control);

    QCheckBox* addToggle(QVBoxLayout* section, const QString& title, const QString& name,
                         std::function<bool()> get, std::function<void(bool)> set);
    QSpinBox* addStepper(QVBoxLayout* section, const DetailStepper& shape, const QString& name);
    TimeField* addTimeField(QVBoxLayout* section, const QString& label, Stored<int>& setting,
                            const QString& name);
    // Text is stored as typed, empty included.
    void bindText(QLineEdit* field, std::function<std::string()> get,
                  std::function<void(const std::string&)> set);

private:
    Prefs& prefs_;
    QVBoxLayout* column_;
    std::vector<std::function<void()>> redraws_;
    Connection changed_;
};

// A plain text field that takes any text, as long as the user likes.
QLineEdit* textField(const QString& placeholder, const char* name, QWidget* parent = nullptr);

// A calendar-day picker with a popup calendar.
QDateEdit* dayPicker(const char* name, QWidget* parent = nullptr);

// Shows `text` unless the field already does, so typing is never disturbed.
void showText(QLineEdit* field, const std::string& text);

}  // namespace pelliwig
