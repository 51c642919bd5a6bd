#include "desktop/app/HoverSurface.h"

#include "core/notch/NotchGeometry.h"
#include "desktop/app/DesktopPointer.h"
#include "desktop/notch/NotchPanel.h"

namespace pelliwig {

HoverSurface::HoverSurface(NotchSurface& inner, NotchPanel& panel, DesktopPointer& pointer,
                           HoverStrip::Kind strip)
    : inner_(inner), panel_(panel), pointer_(pointer), strip_(strip) {
    strip_.onPointer = [this](Point device) { pointer_.seenAtDevice(device); };
    strip_.onLeft = [this] { pointer_.leftHerWindows(); };
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
