#include "desktop/app/WelcomeWindow.h"

#include <utility>

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace pelliwig {
namespace {

constexpr int kSpacing = 22;
constexpr int kPadding = 28;
constexpr int kTextWidth = 380;
constexpr int kFormHeight = 110;
constexpr int kButtonWidth = 160;

QLabel* label(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

void setPixelFont(QWidget* widget, int pixels, QFont::Weight weight = QFont::Normal) {
    QFont font = widget->font();
    font.setPixelSize(pixels);
    font.setWeight(weight);
    widget->setFont(font);
}

void makeSecondary(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    widget->setPalette(palette);
}

}  // namespace

WelcomeWindow::WelcomeWindow(Prefs& prefs, LoginItem& loginItem, const QPixmap& portrait,
                             Reach reach, std::function<void()> onMeet, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      prefs_(prefs),
      loginItem_(loginItem),
      onMeet_(std::move(onMeet)) {
    setObjectName("welcome");
    setWindowTitle("Welcome to Zuzi");

    auto* title = label("Someone's waiting in your notch.", "title", this);
    setPixelFont(title, 24, QFont::Bold);

    // The original promise names one maker's computer; here it is any.
    auto* paragraph = label(
        "Zuzi peeks out of the notch with short, sassy nudges: water, food, breaks, bedtime, "
        "and the occasional sweet nothing. No sound, no account, nothing leaves your computer.",
        "paragraph", this);
    paragraph->setWordWrap(true);
    paragraph->setFixedWidth(kTextWidth);
    setPixelFont(paragraph, 13);
    // A fixed-size layout does not ask wrapped text for its height.
    paragraph->setFixedHeight(paragraph->heightForWidth(kTextWidth));
    makeSecondary(paragraph);

    meet_ = new QPushButton("Meet her", this);
    meet_->setObjectName("meetHer");
    meet_->setDefault(true);
    meet_->setMinimumWidth(kButtonWidth);
    setPixelFont(meet_, 14, QFont::DemiBold);
    connect(meet_, &QPushButton::clicked, this, &WelcomeWindow::meet);

    auto* where = label(caption(reach), "caption", this);
    where->setWordWrap(true);
    where->setFixedWidth(kTextWidth);
    where->setFixedHeight(where->heightForWidth(kTextWidth));
    makeSecondary(where);

    auto* column = new QVBoxLayout(this);
    column->setSpacing(kSpacing);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSizeConstraint(QLayout::SetFixedSize);  // neither resizable nor squeezed
    portrait_ = label({}, "portrait", this);
    portrait_->setFixedHeight(kPortraitHeight);
    setPortrait(portrait);
    column->addWidget(portrait_, 0, Qt::AlignHCenter);
    column->addWidget(title, 0, Qt::AlignHCenter);
    column->addWidget(paragraph, 0, Qt::AlignHCenter);
    column->addWidget(buildForm(), 0, Qt::AlignHCenter);
    column->addWidget(meet_, 0, Qt::AlignHCenter);
    column->addWidget(where, 0, Qt::AlignHCenter);
    setMinimumWidth(kWidth);

    showLanguage();
    prefsChanged_ = prefs_.changed.connect([this](std::string_view key) {
        if (key == prefs_.language.key()) showLanguage();
    });
}

QString WelcomeWindow::caption(Reach reach) {
    if (reach == Reach::tray) return "She lives behind the heart in your tray.";
    return "Your desktop has no tray: rest the pointer on the top edge of her spot until she "
           "peeks out, then right-click her for her menu. Starting Zuzi again opens her "
           "settings.";
}

void WelcomeWindow::showAndRaise() {
    if (!centred_) {
        centred_ = true;
        adjustSize();
        if (const auto* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    showLanguage();
    show();
    raise();
    activateWindow();
    meet_->setFocus();  // Return or space meets her at once
}

void WelcomeWindow::setPortrait(const QPixmap& portrait) {
    if (portrait.isNull()) {
        portrait_->clear();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    QPixmap scaled =
        portrait.scaledToHeight(qRound(kPortraitHeight * ratio), Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    portrait_->setPixmap(scaled);
}

QWidget* WelcomeWindow::buildForm() {
    auto* form = new QFrame(this);
    form->setObjectName("form");
    form->setFrameShape(QFrame::StyledPanel);
    form->setFixedSize(kTextWidth, kFormHeight);

    auto* segments = new QHBoxLayout;
    segments->setSpacing(0);
    english_ = languageButton(Language::english, "English");
    hinglish_ = languageButton(Language::hinglish, "Hinglish");
    segments->addWidget(english_);
    segments->addWidget(hinglish_);
    auto* group = new QButtonGroup(form);
    group->addButton(english_);
    group->addButton(hinglish_);

    launchAtLogin_ = new QCheckBox(form);
    launchAtLogin_->setObjectName("launchAtLogin");
    launchAtLogin_->setAccessibleName("Launch at login");
    launchAtLogin_->setChecked(true);

    auto* rows = new QFormLayout(form);
    // The frame has a fixed height: keep its two rows together in the middle.
    rows->setFormAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    rows->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    rows->setVerticalSpacing(14);
    rows->addRow(label("She talks in", "languageLabel", form), segments);
    rows->addRow(label("Launch at login", "launchAtLoginLabel", form), launchAtLogin_);
    return form;
}

QAbstractButton* WelcomeWindow::languageButton(Language language, const QString& title) {
    auto* button = new QPushButton(title, this);
    button->setObjectName("language." + QString::fromUtf8(rawString(language)));
    button->setCheckable(true);
    connect(button, &QPushButton::clicked, this, [this, language] {
        if (prefs_.language.get() != language) prefs_.language.set(language);
    });
    return button;
}

void WelcomeWindow::showLanguage() {
    const bool english = prefs_.language.get() == Language::english;
    english_->setChecked(english);
    hinglish_->setChecked(!english);
}

void WelcomeWindow::meet() {
    // A refused registration is not shown: onboarding completes anyway.
    if (launchAtLogin_->isChecked()) loginItem_.registerItem();
    prefs_.hasOnboarded.set(true);
    if (onMeet_) onMeet_();
}

}  // namespace pelliwig
