#include "desktop/app/WelcomeWindow.h"

#include <utility>

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include "desktop/settings/SegmentedChoice.h"

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

    // A screen here has no notch: she waits at its top edge.
    auto* title = label("Someone's waiting at the top of your screen.", "title", this);
    title->setWordWrap(true);
    // The widest line of the window: it keeps the window 460 wide.
    constexpr int kTitleWidth = kWidth - 2 * kPadding;
    title->setFixedWidth(kTitleWidth);
    setPixelFont(title, 24, QFont::Bold);
    title->setFixedHeight(title->heightForWidth(kTitleWidth));

    auto* paragraph = label(
        "Zuzi peeks out at the top of your screen with short, sassy nudges: water, food, "
        "breaks, bedtime, and the occasional sweet nothing. No sound, no account, nothing "
        "leaves your computer.",
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
    // Closed from the keyboard as any window of the desktop is; closing it
    // is not "Meet her", so she asks again at the next start.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
}

QString WelcomeWindow::caption(Reach reach) {
    if (reach == Reach::tray) return "She lives behind the heart in your tray.";
    if (reach == Reach::notifications) {
        return "She speaks in your notifications here; answer her with their buttons. "
               "Starting Zuzi again opens her settings.";
    }
    return "Your desktop has no tray: rest the pointer on the top edge of her spot until she "
           "peeks out, then right-click her for her menu. Starting Zuzi again opens her "
           "settings.";
}

void WelcomeWindow::showAndRaise() {
    if (!centred_) {
        centred_ = true;
        if (const auto* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            fitInto(area);
            move(area.center() - rect().center());
        } else {
            adjustSize();
        }
    }
    showLanguage();
    show();
    raise();
    activateWindow();
    meet_->setFocus();  // Return or space meets her at once
}

void WelcomeWindow::setPortrait(const QPixmap& portrait) {
    portraitSource_ = portrait;
    portrait_->setFixedHeight(portraitHeight_);
    if (portrait.isNull()) {
        portrait_->clear();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    QPixmap scaled =
        portrait.scaledToHeight(qRound(portraitHeight_ * ratio), Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    portrait_->setPixmap(scaled);
}

void WelcomeWindow::fitInto(const QRect& area) {
    auto* column = static_cast<QVBoxLayout*>(layout());
    portraitHeight_ = kPortraitHeight;
    column->setSpacing(kSpacing);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    setPortrait(portraitSource_);
    adjustSize();
    // The window manager's frame (a title bar) comes on top of the window.
    constexpr int kFrameRoom = 40;
    int over = sizeHint().height() + kFrameRoom - area.height();
    if (over > 0) {
        // Tighter spacing first, then a smaller picture, never below a third.
        constexpr int kTightSpacing = 10;
        constexpr int kTightPadding = 14;
        const int gaps = column->count() - 1;
        over -= gaps * (kSpacing - kTightSpacing) + 2 * (kPadding - kTightPadding);
        column->setSpacing(kTightSpacing);
        // Only above and below: the window keeps its width.
        column->setContentsMargins(kPadding, kTightPadding, kPadding, kTightPadding);
        if (over > 0) portraitHeight_ = std::max(kPortraitHeight / 3, kPortraitHeight - over);
        setPortrait(portraitSource_);
        adjustSize();
    }
}

QWidget* WelcomeWindow::buildForm() {
    auto* form = new QFrame(this);
    form->setObjectName("form");
    form->setFrameShape(QFrame::StyledPanel);
    form->setFixedSize(kTextWidth, kFormHeight);

    language_ = new SegmentedChoice("She talks in", {"English", "Hinglish"},
                                    {"language.english", "language.hinglish"}, form);
    language_->setObjectName("language");
    connect(language_, &SegmentedChoice::picked, this, [this](int index) {
        const auto language = static_cast<Language>(index);
        if (prefs_.language.get() != language) prefs_.language.set(language);
    });

    launchAtLogin_ = new QCheckBox(form);
    launchAtLogin_->setObjectName("launchAtLogin");
    launchAtLogin_->setAccessibleName("Launch at login");
    launchAtLogin_->setChecked(true);

    auto* rows = new QFormLayout(form);
    // The frame has a fixed height: keep its two rows together in the middle.
    rows->setFormAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    rows->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    rows->setVerticalSpacing(14);
    auto* talksIn = label("She talks in", "languageLabel", form);
    talksIn->setBuddy(language_->segment(0));
    rows->addRow(talksIn, language_);
    rows->addRow(label("Launch at login", "launchAtLoginLabel", form), launchAtLogin_);
    return form;
}

void WelcomeWindow::showLanguage() {
    language_->setCurrent(static_cast<int>(prefs_.language.get()));
}

void WelcomeWindow::meet() {
    // A refused registration is not shown: onboarding completes anyway.
    if (launchAtLogin_->isChecked()) loginItem_.registerItem();
    prefs_.hasOnboarded.set(true);
    if (onMeet_) onMeet_();
}

}  // namespace pelliwig
