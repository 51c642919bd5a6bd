#include "desktop/app/NotchMenuSurface.h"

#include <utility>

#include <QMouseEvent>

#include "desktop/notch/NotchPanel.h"

namespace pelliwig {

NotchMenuSurface::NotchMenuSurface(NotchPanel& panel, OpenMenu openMenu)
    : panel_(panel), openMenu_(std::move(openMenu)) {}

void NotchMenuSurface::build(const NotchGeometry& geometry, const Rect& frame, NotchModel& model) {
    panel_.build(geometry, frame, model);
    if (auto* view = panel_.view()) view->installEventFilter(this);
}

void NotchMenuSurface::orderFront() {
    panel_.orderFront();
}

void NotchMenuSurface::orderOut() {
    panel_.orderOut();
}

bool NotchMenuSurface::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress) return QObject::eventFilter(watched, event);
    const auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() != Qt::RightButton || !openMenu_) return false;
    openMenu_(press->globalPosition().toPoint());
    return true;
}

}  // namespace pelliwig
