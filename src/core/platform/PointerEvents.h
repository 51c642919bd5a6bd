#pragma once

#include <functional>

#include "core/support/Geometry.h"
#include "core/support/Signal.h"

namespace pelliwig {

// Pointer movement anywhere on screen, whichever application has focus.
class PointerEvents {
public:
    virtual ~PointerEvents() = default;

    // Calls back on the main thread with each new pointer position, in screen
    // coordinates; the connection stops the stream when dropped. A platform
    // that cannot watch the pointer simply never calls back.
    [[nodiscard]] virtual Connection onMove(std::function<void(Point)> callback) = 0;

    // Calls back when the pointer went where no position can be had for it
    // (off this program's own windows, on a desktop that shows the pointer
    // only over them). A platform that follows it everywhere never does.
    [[nodiscard]] virtual Connection onLeft(std::function<void()> callback) {
        (void)callback;
        return {};
    }
};

}  // namespace pelliwig
