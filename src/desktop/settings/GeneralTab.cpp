#include "desktop/settings/GeneralTab.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "desktop/settings/SettingsWidgets.h"
#include "desktop/settings/WheelGuard.h"

namespace pelliwig {
namespace {

constexpr int kShortestShow = 4;
constexpr int kLongestShow = 20;

// A drop-down of an enumeration's cases, in declaration order.
template <typename E>
QComboBox* enumPicker(Stored<E>& setting, std::initializer_list<const char*> titles,
                      const char* name, FormPage* page) {
    auto* picker = new QComboBox;
    picker->setObjectName(name);
    turnsOnlyWhenFocused(picker);
    for (const char* title : titles) picker->addItem(QString::fromUtf8(title));
    QObject::connect(picker, &QComboBox::activated, page,
                     [&setting](int index) { setting.set(static_cast<E>(index)); });
    return picker;
}

}  // namespace

GeneralTab::GeneralTab(Prefs& prefs, LoginItem& loginItem, QWidget* parent)
    : FormPage(prefs, parent), loginItem_(loginItem) {
    addCharacterSection();
    addPlacementSection();
    addTimingSection();
    addAccessSection();
    addLoginSection();
    finish();
}

void GeneralTab::addCharacterSection() {
    auto* section = addSection();
    auto* language = enumPicker(prefs().language, {"English", "Hinglish"}, "language", this);
    auto* appearance = enumPicker(prefs().appearance, {"Zuzi", "Mom"}, "appearance", this);
    // One width for both, so they line up.
    appearance->setMinimumWidth(language->sizeHint().width());
    section->addWidget(labelledRow("Language", language));
    section->addWidget(labelledRow("Appearance", appearance));
    // "Appearance" alone reads like a light or dark theme.
    auto* who = secondaryLabel("Who comes out: Zuzi herself, or Mom in her place.");
    who->setObjectName("appearanceNote");
    appearance->setAccessibleDescription(who->text());
    section->addWidget(who);
    onRefresh([this, language, appearance] {
        const QSignalBlocker quietLanguage(language);
        const QSignalBlocker quietAppearance(appearance);
        language->setCurrentIndex(static_cast<int>(prefs().language.get()));
        appearance->setCurrentIndex(static_cast<int>(prefs().appearance.get()));
    });
}

void GeneralTab::addPlacementSection() {
    auto* section = addSection();
    auto* position = enumPicker(prefs().notchPosition, {"Top centre", "Top left", "Top right"},
                                "position", this);
    auto* screen = new QComboBox;
    screen->setObjectName("screen");
    turnsOnlyWhenFocused(screen);
    position->setMinimumWidth(position->sizeHint().width());
    section->addWidget(labelledRow("Position", position));
    section->addWidget(labelledRow("Screen", screen));
    connect(screen, &QComboBox::activated, this, [this, screen](int index) {
        prefs().notchScreen.set(screen->itemData(index).toString().toStdString());
    });
    onRefresh([this, position, screen] {
        const QSignalBlocker quietPosition(position);
        position->setCurrentIndex(static_cast<int>(prefs().notchPosition.get()));
        fillScreens(screen);
    });
    // Screens come and go while the window is open.
    auto* app = qGuiApp;
    connect(app, &QGuiApplication::screenAdded, this, [this, screen] { fillScreens(screen); });
    connect(app, &QGuiApplication::screenRemoved, this, [this, screen] { fillScreens(screen); });
}

void GeneralTab::fillScreens(QComboBox* picker) {
    const QSignalBlocker quiet(picker);
    picker->clear();
    picker->addItem("Primary screen", QString::fromUtf8(NotchPlacement::kPrimaryScreen.data()));
    picker->addItem("Screen with the pointer",
                    QString::fromUtf8(NotchPlacement::kPointerScreen.data()));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QString model = screen->model().isEmpty() ? QString() : " (" + screen->model() + ")";
        picker->addItem(screen->name() + model, screen->name());
    }
    const QString stored = QString::fromStdString(prefs().notchScreen.get());
    int index = picker->findData(stored);
    if (index < 0) {
        picker->addItem(stored + " (not connected)", stored);
        index = picker->count() - 1;
    }
    picker->setCurrentIndex(index);
}

void GeneralTab::addTimingSection() {
    auto* section = addSection("Timing");
    addTimeField(section, "Quiet from", prefs().quietStart, "quietStart");
    addTimeField(section, "Quiet until", prefs().quietEnd, "quietEnd");
    addStepper(section, minGapStepper(), "minGap");
    addShowSecondsSlider(section);
    addQuietToggles(section);
}

// Beside the quiet hours: the other times she keeps to herself.
void GeneralTab::addQuietToggles(QVBoxLayout* section) {
    auto& dnd = prefs().followDoNotDisturb;
    auto& fullScreen = prefs().quietDuringFullScreen;
    addToggle(
        section, "Follow Do Not Disturb", "followDoNotDisturb", [&dnd] { return dnd.get(); },
        [&dnd](bool on) { dnd.set(on); });
    addToggle(
        section, "Quiet during full-screen apps", "quietDuringFullScreen",
        [&fullScreen] { return fullScreen.get(); }, [&fullScreen](bool on) { fullScreen.set(on); });
}

// How she moves and how the keyboard reaches her.
void GeneralTab::addAccessSection() {
    auto* section = addSection("Motion and keyboard");
    auto& still = prefs().reduceMotion;
    addToggle(
        section, "Reduce motion", "reduceMotion", [&still] { return still.get(); },
        [&still](bool on) { still.set(on); });
    section->addWidget(secondaryLabel(
        "She appears and goes without sliding, and her eyes stay still. On when the desktop "
        "turns its animations off, too."));

    auto* keys = new QKeySequenceEdit;
    keys->setObjectName("bubbleShortcut");
    keys->setClearButtonEnabled(true);
    keys->setAccessibleName("Shortcut to answer her");
    section->addWidget(labelledRow("Shortcut to answer her", keys));
    section->addWidget(secondaryLabel(
        "Brings the keyboard to her bubble while she is out: Tab or the arrows move between "
        "answers, Return picks one, Escape sends her away. Her answers are also at the top of "
        "her menu."));
    auto& shortcut = prefs().bubbleShortcut;
    // One combination: the first, should the user have pressed more.
    connect(keys, &QKeySequenceEdit::editingFinished, this, [keys, &shortcut] {
        const QKeySequence typed = keys->keySequence();
        const QKeySequence first = typed.isEmpty() ? QKeySequence() : QKeySequence(typed[0]);
        shortcut.set(utf8(first.toString(QKeySequence::PortableText)));
    });
    connect(keys, &QKeySequenceEdit::keySequenceChanged, this, [keys, &shortcut] {
        if (keys->keySequence().isEmpty()) shortcut.set("");  // the clear button
    });
    onRefresh([keys, &shortcut] {
        const QKeySequence stored(qs(shortcut.get()), QKeySequence::PortableText);
        if (keys->keySequence() == stored) return;
        const QSignalBlocker quiet(keys);
        keys->setKeySequence(stored);
    });
}

void GeneralTab::addShowSecondsSlider(QVBoxLayout* section) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName("showSeconds");
    turnsOnlyWhenFocused(slider);
    slider->setRange(kShortestShow, kLongestShow);
    slider->setSingleStep(1);
    slider->setPageStep(1);
    slider->setAccessibleName("How long she shows a line, in seconds");
    auto* label = plainLabel({});
    label->setObjectName("showSecondsLabel");
    label->setBuddy(slider);
    // Room for the longest value, so the slider does not move as it slides.
    label->setMinimumWidth(
        label->fontMetrics().horizontalAdvance(QString("Show for %1 s").arg(kLongestShow)));
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(slider, 1);
    section->addWidget(row);
    connect(slider, &QSlider::valueChanged, this,
            [this](int seconds) { prefs().showSeconds.set(static_cast<double>(seconds)); });
    onRefresh([this, slider, label] {
        const long seconds = std::lround(prefs().showSeconds.get());
        label->setText(QString("Show for %1 s").arg(seconds));
        const QSignalBlocker quiet(slider);
        slider->setValue(static_cast<int>(std::clamp<long>(seconds, kShortestShow, kLongestShow)));
    });
}

void GeneralTab::addLoginSection() {
    auto* section = addSection();
    launchAtLogin_ = new QCheckBox("Launch at login");
    launchAtLogin_->setObjectName("launchAtLogin");
    showLoginState();
    section->addWidget(launchAtLogin_);
    connect(launchAtLogin_, &QCheckBox::clicked, this, [this](bool on) { launchAtLogin(on); });
}

void GeneralTab::launchAtLogin(bool on) {
    const bool done = on ? loginItem_.registerItem() : loginItem_.unregisterItem();
    if (!done) showLoginState();
}

void GeneralTab::showLoginState() {
    const QSignalBlocker quiet(launchAtLogin_);
    launchAtLogin_->setChecked(loginItem_.isRegistered());
}

void GeneralTab::showEvent(QShowEvent* event) {
    // The window is kept between openings; the welcome window or the
    // desktop's own settings may have changed the registration meanwhile.
    showLoginState();
    FormPage::showEvent(event);
}

// Coming back to the window from elsewhere (a terminal that ran
// `pelliwig --login-item`, the desktop's own settings) shows the real state.
bool GeneralTab::event(QEvent* event) {
    // A window passes its activation on to its visible children.
    if (event->type() == QEvent::WindowActivate) showLoginState();
    return FormPage::event(event);
}

}  // namespace pelliwig
