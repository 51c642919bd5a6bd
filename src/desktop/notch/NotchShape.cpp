#include "desktop/notch/NotchShape.h"

#include <algorithm>

namespace pelliwig {

namespace {

// A smooth corner starts further from the corner than a circular arc of the
// same radius (1.28 times) and bends more gently; its middle lies where the
// arc's would.
constexpr double kCornerExtent = 1.28;
constexpr double kControlFraction = 0.28;

// Continues `path` (which has reached corner + in * extent) around `corner`
// to corner + out * extent.
void addCorner(QPainterPath& path, QPointF corner, QPointF in, QPointF out, double extent) {
    path.lineTo(corner + in * extent);
    path.cubicTo(corner + in * extent * kControlFraction, corner + out * extent * kControlFraction,
                 corner + out * extent);
}

double extentFor(double radius, const QRectF& rect) {
    return std::clamp(radius * kCornerExtent, 0.0, std::min(rect.width(), rect.height()) / 2);
}

}  // namespace

QPainterPath NotchShape::path(const QRectF& rect) const {
    const double e = extentFor(bottomRadius, rect);
    QPainterPath p;
    p.moveTo(rect.topLeft());
    p.lineTo(rect.topRight());
    addCorner(p, rect.bottomRight(), {0, -1}, {-1, 0}, e);
    addCorner(p, rect.bottomLeft(), {1, 0}, {0, -1}, e);
    p.closeSubpath();
    return p;
}

QPainterPath ContinuousRoundedRect::path(const QRectF& rect) const {
    const double e = extentFor(radius, rect);
    QPainterPath p;
    p.moveTo(rect.left() + e, rect.top());
    addCorner(p, rect.topRight(), {-1, 0}, {0, 1}, e);
    addCorner(p, rect.bottomRight(), {0, -1}, {-1, 0}, e);
    addCorner(p, rect.bottomLeft(), {1, 0}, {0, -1}, e);
    addCorner(p, rect.topLeft(), {0, 1}, {1, 0}, e);
    p.closeSubpath();
    return p;
}

QPainterPath BubbleTail::path(const QRectF& rect) {
    QPainterPath p;
    p.moveTo(rect.left(), rect.top());
    p.lineTo(rect.right(), rect.bottom());
    p.lineTo(rect.left() + 0.4 * rect.width(), rect.bottom());
    p.closeSubpath();
    return p;
}

}  // namespace pelliwig
