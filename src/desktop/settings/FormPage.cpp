#include "desktop/settings/FormPage.h"

#include <algorithm>
#include <limits>

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "desktop/settings/SettingsWidgets.h"
#include "desktop/settings/StepSpinBox.h"
#include "desktop/settings/TimeField.h"
#include "desktop/settings/WheelGuard.h"
#include "desktop/support/EmojiField.h"

namespace pelliwig {

FormPage::FormPage(Prefs& prefs, QWidget* parent) : QScrollArea(parent), prefs_(prefs) {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget(this);
    content->setObjectName("form");
    column_ = new QVBoxLayout(content);
    column_->setContentsMargins(16, 12, 16, 16);
    column_->setSpacing(12);
    setWidget(content);
    changed_ = prefs_.changed.connect([this](std::string_view) { refresh(); });
}

void FormPage::refresh() {
    for (const auto& redraw : redraws_) redraw();
}

QVBoxLayout* FormPage::addSection(const QString& header) {
    auto* box = new QGroupBox(header, widget());
    auto* rows = new QVBoxLayout(box);
    rows->setSpacing(8);
    column_->addWidget(box);
    return rows;
}

void FormPage::finish() {
    column_->addStretch(1);
    refresh();
}

void FormPage::onRefresh(std::function<void()> redraw) {
    redraws_.push_back(std::move(redraw));
}

QWidget* FormPage::labelledRow(const QString& label, QWidget* control) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = plainLabel(label, row);
    title->setBuddy(control);
    // A screen reader names the control by its label.
    if (control->accessibleName().isEmpty()) control->setAccessibleName(label);
    layout->addWidget(title);
    layout->addStretch(1);
    layout->addWidget(control);
    return row;
}

QCheckBox* FormPage::addToggle(QVBoxLayout* section, const QString& title, const QString& name,
                               std::function<bool()> get, std::function<void(bool)> set) {
    auto* toggle = new QCheckBox(literalTitle(title));
    toggle->setObjectName(name);
    section->addWidget(toggle);
    connect(toggle, &QCheckBox::clicked, this, [set = std::move(set)](bool on) { set(on); });
    onRefresh([toggle, get = std::move(get)] {
        const QSignalBlocker quiet(toggle);
        toggle->setChecked(get());
    });
    return toggle;
}

QSpinBox* FormPage::addStepper(QVBoxLayout* section, const DetailStepper& shape,
                               const QString& name) {
    auto* stepper = new StepSpinBox;
    stepper->setObjectName(name);
    turnsOnlyWhenFocused(stepper);
    stepper->setRange(shape.min, shape.max);
    stepper->setSingleStep(shape.step);
    stepper->setPrefix(qs(shape.prefix));
    stepper->setSuffix(qs(shape.suffix));
    // "Every … min of work": its name says what the number counts.
    stepper->setAccessibleName((qs(shape.prefix) + "…" + qs(shape.suffix)).trimmed());
    // As wide as its longest text, not the whole section.
    section->addWidget(stepper, 0, Qt::AlignLeft);
    Stored<int>& setting = prefs_.*shape.setting;
    // The spin box's validator keeps typed values inside the range too, and
    // it takes them to the nearest step.
    connect(stepper, &QSpinBox::valueChanged, this, [&setting](int value) { setting.set(value); });
    onRefresh([stepper, &setting] {
        const QSignalBlocker quiet(stepper);
        stepper->setValue(setting.get());
    });
    return stepper;
}

TimeField* FormPage::addTimeField(QVBoxLayout* section, const QString& label, Stored<int>& setting,
                                  const QString& name) {
    auto* field = new TimeField(label);
    field->setObjectName(name);
    section->addWidget(field);
    connect(field, &TimeField::minutesPicked, this,
            [&setting](int minutes) { setting.set(minutes); });
    onRefresh([field, &setting] { field->setMinutes(setting.get()); });
    return field;
}

void FormPage::bindText(QLineEdit* field, std::function<std::string()> get,
                        std::function<void(const std::string&)> set) {
    connect(field, &QLineEdit::textEdited, this,
            [set = std::move(set)](const QString& text) { set(utf8(text)); });
    onRefresh([field, get = std::move(get)] { showText(field, get()); });
}

QLineEdit* textField(const QString& placeholder, const char* name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setPlaceholderText(placeholder);
    field->setMaxLength(std::numeric_limits<int>::max());
    EmojiField::follow(field);
    return field;
}

QDateEdit* dayPicker(const char* name, QWidget* parent) {
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(name);
    turnsOnlyWhenFocused(picker);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat("d MMM yyyy");
    return picker;
}

void showText(QLineEdit* field, const std::string& text) {
    const QString shown = qs(text);
    if (field->text() == shown) return;
    {
        const QSignalBlocker quiet(field);
        field->setText(shown);
    }
    EmojiField::colour(field);
}

}  // namespace pelliwig
