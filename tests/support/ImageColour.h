#pragma once

#include <QColor>
#include <QImage>

namespace pelliwig::testing {

// Some pixels are clearly coloured, not black, grey or white.
inline bool coloured(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 128 && c.hsvSaturation() > 100 && c.value() > 60) return true;
        }
    return false;
}

}  // namespace pelliwig::testing
