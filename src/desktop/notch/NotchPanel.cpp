#include "desktop/notch/NotchPanel.h"

#include <algorithm>
#include <cmath>

#include <QObject>

#include "core/notch/NotchGeometry.h"
#include "desktop/support/X11Desktop.h"

namespace pelliwig {

namespace {

// An override-redirect window: the window manager never manages it, so it
// has no frame, takes no focus, is on every workspace, is in no task bar or
// window list, and stays where it is stacked, above full-screen windows,
// from each time it is shown.
constexpr Qt::WindowFlags kFlags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                   Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint |
                                   Qt::NoDropShadowWindowHint;

QRect pixels(const Rect& r) {
    return QRect(int(std::lround(r.x)), int(std::lround(r.y)), int(std::lround(r.width)),
                 int(std::lround(r.height)));
}

}  // namespace

NotchPanel::NotchPanel(SpriteSheet& sprites, NotchView::AnswersFor answers)
    : NotchPanel(sprites, std::move(answers), &X11Desktop::compositing) {}

NotchPanel::NotchPanel(SpriteSheet& sprites, NotchView::AnswersFor answers, Compositing compositing)
    : sprites_(sprites), answers_(std::move(answers)), compositing_(std::move(compositing)) {}

NotchPanel::~NotchPanel() = default;

void NotchPanel::build(const NotchGeometry& geometry, const Rect& frame, NotchModel& model) {
    const QSizeF notch(geometry.notchRect.width, geometry.notchRect.height);
    auto view = std::make_unique<NotchView>(model, notch, sprites_, answers_);
    view->setWindowFlags(kFlags);
    view->setWindowTitle(QStringLiteral("Pelliwig"));
    view->setAttribute(Qt::WA_TranslucentBackground);
    view->setAttribute(Qt::WA_ShowWithoutActivating);
    view->setAttribute(Qt::WA_X11DoNotAcceptFocus);
    view->setFocusPolicy(Qt::NoFocus);
    view->setGeometry(pixels(frame));
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
    view_->show();
    view_->raise();
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
