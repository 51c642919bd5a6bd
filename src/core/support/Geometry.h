#pragma once

namespace pelliwig {

// Screen geometry in points. The origin is the top-left corner of the
// virtual screen and y grows downward, as on X11.
struct Point {
    double x = 0;
    double y = 0;

    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;

    bool operator==(const Size&) const = default;
};

struct Rect {
    double x = 0;  // left edge
    double y = 0;  // top edge
    double width = 0;
    double height = 0;

    bool operator==(const Rect&) const = default;

    double minX() const { return x; }
    double maxX() const { return x + width; }
    double minY() const { return y; }
    double maxY() const { return y + height; }
    double midX() const { return x + width / 2; }
    double midY() const { return y + height / 2; }
    Size size() const { return {width, height}; }

    // Left and top edges belong to the rectangle, right and bottom ones do not,
    // so rectangles that share an edge never both contain a point.
    bool contains(Point p) const { return p.x >= x && p.x < maxX() && p.y >= y && p.y < maxY(); }

    // Moved inward by dx on the left and right and dy on the top and bottom;
    // grownBy moves outward.
    Rect insetBy(double dx, double dy) const {
        return {x + dx, y + dy, width - 2 * dx, height - 2 * dy};
    }
    Rect grownBy(double dx, double dy) const { return insetBy(-dx, -dy); }
};

}  // namespace pelliwig
