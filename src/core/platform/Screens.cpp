#include "core/platform/Screens.h"

namespace pelliwig {

std::optional<Point> fromDevicePixels(const std::vector<Screen>& screens, Point device) {
    for (const Screen& screen : screens) {
        const Rect& f = screen.frame;
        const double scale = screen.scale > 0 ? screen.scale : 1;
        const Rect native{f.x, f.y, f.width * scale, f.height * scale};
        if (native.contains(device)) {
            return Point{f.x + (device.x - f.x) / scale, f.y + (device.y - f.y) / scale};
        }
    }
    return std::nullopt;
}

}  // namespace pelliwig
