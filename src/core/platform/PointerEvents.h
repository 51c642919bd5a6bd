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

    // Asks where the pointer is now, for when it has been quiet: answered at
    // once with an onMove where its position can be had, an onLeft where it
    // is known to be off this program's windows, or not at all where the
    // platform cannot tell. Moves the platform does not report as motion
    // (a pointer warped by a remote-control tool, a jump off this program's
    // windows that the desktop did not announce) are found this way.
    virtual void askWhere() {}
};

}  // namespace pelliwig
