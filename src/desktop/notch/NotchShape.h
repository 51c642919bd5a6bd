#pragma once

#include <QPainterPath>
#include <QRectF>

namespace pelliwig {

// The character box: square at the top, where it meets the screen edge, and
// rounded with smooth corners at the bottom.
struct NotchShape {
    double bottomRadius = 14;

    QPainterPath path(const QRectF& rect) const;
};

// A rounded rectangle with smooth (continuous-curvature-like) corners, which
// read softer than circular arcs at bubble sizes.
struct ContinuousRoundedRect {
    double radius = 0;

    QPainterPath path(const QRectF& rect) const;
};

// The bubble's tail: a thin triangle whose tip is the top-left corner.
struct BubbleTail {
    static QPainterPath path(const QRectF& rect);
};

}  // namespace pelliwig
