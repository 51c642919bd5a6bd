#pragma once

#include "core/support/Geometry.h"

namespace pelliwig {

class NotchModel;
struct NotchGeometry;

// The borderless, always-on-top, never-focused window at the notch that draws
// a NotchModel. The controller decides when it is built and shown; the
// surface only does as it is told.
class NotchSurface {
public:
    virtual ~NotchSurface() = default;

    // Replaces the current window (if any) with a new one at `frame`, drawing
    // `model` for the notch in `geometry`. The new window starts ordered out.
    // The model outlives every window built from it.
    virtual void build(const NotchGeometry& geometry, const Rect& frame, NotchModel& model) = 0;

    // Shows the window above everything without activating the application.
    virtual void orderFront() = 0;

    // Hides the window.
    virtual void orderOut() = 0;
};

}  // namespace pelliwig
