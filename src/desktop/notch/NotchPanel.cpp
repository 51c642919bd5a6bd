#include "desktop/notch/NotchPanel.h"

#include <algorithm>
#include <cmath>

#include <utility>

#include <QEvent>
#include <QObject>
#include <QWindow>

#include "core/notch/NotchGeometry.h"
#include "desktop/notch/Bubble.h"
#include "linux/SessionTraits.h"
#include "linux/x11/X11Desktop.h"

namespace pelliwig {

namespace {

// An override-redirect window: the window manager never manages it, so it
// has no frame, takes no focus, is on every workspace, is in no task bar or
// window list, and stays where it is stacked, above full-screen windows,
// from each time it is shown.
constexpr Qt::WindowFlags kFlags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                   Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint |
                                   Qt::NoDropShadowWindowHint;

// Over an active full-screen Wayland window, KWin on Wayland does not paint
// its X11 clients' override-redirect windows until something else makes it
// draw again; on-screen displays it keeps above every window and paints at
// once. There she is a managed window of that type instead: KWin gives such a
// window no frame and no focus, and keeps it out of task bars and on every
// desktop.
bool managedOnScreenDisplay() {
    return SessionTraits::current().wayland() && X11Desktop::windowManagerName() == "KWin";
}

QRect pixels(const Rect& r) {
    return QRect(int(std::lround(r.x)), int(std::lround(r.y)), int(std::lround(r.width)),
                 int(std::lround(r.height)));
}

}  // namespace

// KWin places a new on-screen display itself (centred, low on the screen),
// whatever position the window asked for; this moves it back each time it is
// moved, a few times at most so that a window manager that insists does not
// make the two fight.
class PositionKeeper final : public QObject {
public:
    PositionKeeper(QWidget& window, QPoint place)
        : QObject(&window), window_(window), place_(place) {
        window.installEventFilter(this);
    }
    void rearm() { corrections_ = 0; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Move && window_.pos() != place_ && corrections_ < 3) {
            ++corrections_;
            window_.move(place_);
        }
        return false;
    }

private:
    QWidget& window_;
    const QPoint place_;
    int corrections_ = 0;
};

NotchPanel::NotchPanel(SpriteSheet& sprites, NotchView::AnswersFor answers)
    : NotchPanel(sprites, std::move(answers), &X11Desktop::compositing) {}

NotchPanel::NotchPanel(SpriteSheet& sprites, NotchView::AnswersFor answers, Compositing compositing)
    : sprites_(sprites),
      answers_(std::move(answers)),
      compositing_(std::move(compositing)),
      onScreenDisplay_(managedOnScreenDisplay()) {}

NotchPanel::~NotchPanel() = default;

void NotchPanel::build(const NotchGeometry& geometry, const Rect& frame, NotchModel& model) {
    giveKeyboardBack();
    keeper_ = nullptr;  // it goes with the old window
    if (model_ != &model) {
        model_ = &model;
        // Whatever ends the moment that has the keyboard hands it back.
        modelChanged_ = model.changed.connect([this](const NotchModel::Change& change) {
            if (change.field == NotchModel::Field::moment || !model_->isBubbleShown()) {
                giveKeyboardBack();
            }
        });
    }
    const QSizeF notch(geometry.notchRect.width, geometry.notchRect.height);
    auto view = std::make_unique<NotchView>(model, notch, sprites_, answers_);
    view->setMotionReduced(motionReduced_);
    view->setWindowFlags(onScreenDisplay_ ? kFlags & ~Qt::X11BypassWindowManagerHint : kFlags);
    view->setWindowTitle(QStringLiteral("Pelliwig"));
    view->setOpensLeft(geometry.opensLeft);
    view->setAttribute(Qt::WA_TranslucentBackground);
    view->setAttribute(Qt::WA_ShowWithoutActivating);
    view->setAttribute(Qt::WA_X11DoNotAcceptFocus);
    view->setFocusPolicy(Qt::NoFocus);
    view->setGeometry(pixels(frame));
    if (onScreenDisplay_) {
        X11Desktop::setOnScreenDisplayType(xcb_window_t(view->winId()));
        keeper_ = new PositionKeeper(*view, view->pos());
    }
    frameHeight_ = view->height();
    QObject::connect(view.get(), &NotchView::paintedRegionChanged, view.get(),
                     [this] { reshape(); });
    view_ = std::move(view);  // the old window goes with its unique_ptr
}

void NotchPanel::orderFront() {
    if (!view_) return;
    translucent_ = compositing_ ? compositing_() : true;
    view_->setTranslucent(translucent_);
    reshape();
    if (keeper_) keeper_->rearm();
    view_->show();
    view_->raise();
}

bool NotchPanel::takeKeyboard() {
    if (!view_ || !view_->isVisible() || !model_ || !model_->isBubbleShown()) return false;
    if (!view_->bubble()->isVisible()) view_->advance();
    QWindow* window = view_->windowHandle();
    if (!window || !view_->bubble()->takeKeyboard()) return false;
    if (!hasKeyboard()) keyboardFrom_ = X11Desktop::inputFocus();
    // Only for as long as the moment lasts does her window accept the focus.
    window->setFlag(Qt::WindowDoesNotAcceptFocus, false);
    window->requestActivate();
    X11Desktop::setInputFocus(xcb_window_t(view_->winId()));
    return true;
}

void NotchPanel::giveKeyboardBack() {
    if (!hasKeyboard()) return;
    const auto previous = xcb_window_t(std::exchange(keyboardFrom_, 0));
    if (!view_) return;
    if (QWindow* window = view_->windowHandle()) {
        window->setFlag(Qt::WindowDoesNotAcceptFocus, true);
    }
    if (QWidget* focused = view_->focusWidget()) focused->clearFocus();
    // Handed back only while it is still hers: the user may have clicked
    // elsewhere meanwhile.
    if (X11Desktop::inputFocus() == xcb_window_t(view_->winId())) {
        X11Desktop::setInputFocus(previous);
    }
}

void NotchPanel::setMotionReduced(NotchView::MotionReduced reduced) {
    motionReduced_ = std::move(reduced);
    if (view_) view_->setMotionReduced(motionReduced_);
}

void NotchPanel::orderOut() {
    if (view_) view_->hide();
}

// Only what is drawn takes clicks. With a compositor the shape keeps room for
// the bubble's shadow; without one it is exactly the drawn shapes, since
// anything else would show as black.
void NotchPanel::reshape() {
    if (!view_) return;
    const int height = std::max(frameHeight_, view_->neededHeight());
    if (height != view_->height()) view_->resize(view_->width(), height);
    view_->setMask(view_->paintedRegion(translucent_ ? kShadowRoom : 0));
}

}  // namespace pelliwig
