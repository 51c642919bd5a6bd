#include "desktop/app/HoverSurface.h"

#include <algorithm>

#include "core/notch/NotchGeometry.h"
#include "desktop/app/DesktopPointer.h"
#include "desktop/notch/NotchPanel.h"
#include "linux/x11/X11Desktop.h"

namespace pelliwig {

HoverSurface::HoverSurface(NotchSurface& inner, NotchPanel& panel, DesktopPointer& pointer,
                           HoverStrip::Kind strip)
    : inner_(inner), panel_(panel), pointer_(pointer), strip_(strip) {
    strip_.onPointer = [this](Point device) { pointer_.seenAtDevice(device); };
    strip_.onLeft = [this] { pointer_.leftHerWindows(); };
    pointer_.askWith([this] { askWhere(); });
}

HoverSurface::~HoverSurface() {
    pointer_.askWith({});
}

// The X server knows where the pointer is while it is over one of her
// windows; once it went onto another program's Wayland window, XWayland puts
// it over the root window, when the compositor told it so.
void HoverSurface::askWhere() {
    const auto place = X11Desktop::pointerPlace();
    if (!place) return;
    NotchView* view = panel_.view();
    const auto hers = [&](xcb_window_t window) {
        return window == strip_.window() ||
               (view && view->isVisible() && window == xcb_window_t(view->winId()));
    };
    if (std::any_of(place->windows.begin(), place->windows.end(), hers)) {
        pointer_.answerOverHerWindows({double(place->x), double(place->y)});
    } else {
        pointer_.leftHerWindows();
    }
}

void HoverSurface::build(const NotchGeometry& geometry, const Rect& frame, NotchModel& model) {
    inner_.build(geometry, frame, model);
    strip_.place(geometry.notchRect);
    NotchView* view = panel_.view();
    if (!view) return;
    connect(view, &NotchView::pointerAt, this, [this](QPointF at) {
        pointer_.seenAt({at.x(), at.y()});
    });
    connect(view, &NotchView::pointerLeft, this, [this] { pointer_.leftHerWindows(); });
}

void HoverSurface::orderFront() {
    inner_.orderFront();
}

// Windows opened while she was out may have covered the strip.
void HoverSurface::orderOut() {
    inner_.orderOut();
    strip_.raise();
}

}  // namespace pelliwig
