#pragma once

#include <QObject>

#include "core/platform/NotchSurface.h"
#include "desktop/notch/HoverStrip.h"

namespace pelliwig {

class DesktopPointer;
class NotchPanel;

// Her surface with her own eyes on the pointer: every panel window it builds
// reports the pointer over her, and the hover strip follows her notch and
// reports it there while she is in. Both feed `pointer`.
class HoverSurface final : public QObject, public NotchSurface {
    Q_OBJECT

public:
    // `inner` builds the windows of `panel`.
    HoverSurface(NotchSurface& inner, NotchPanel& panel, DesktopPointer& pointer,
                 HoverStrip::Kind strip = HoverStrip::kindForSession());
    ~HoverSurface() override;

    void build(const NotchGeometry& geometry, const Rect& frame, NotchModel& model) override;
    void orderFront() override;
    void orderOut() override;

    const HoverStrip& strip() const { return strip_; }

private:
    void askWhere();

    NotchSurface& inner_;
    NotchPanel& panel_;
    DesktopPointer& pointer_;
    HoverStrip strip_;
};

}  // namespace pelliwig
