#pragma once

#include <memory>

#include "core/platform/IdleTime.h"
#include "linux/x11/XcbConnection.h"

namespace pelliwig {

// Idle time from the X server's screen-saver extension, which counts from the
// last input event of any device. Right on X11 sessions; under XWayland it
// would only see input that went to X clients, so Wayland sessions use
// DBusIdleTime instead.
class X11IdleTime final : public IdleTime {
public:
    explicit X11IdleTime(std::shared_ptr<XcbConnection> connection);

    // 0 when there is no server or it lacks the extension.
    double seconds() const override;

private:
    std::shared_ptr<XcbConnection> connection_;
};

}  // namespace pelliwig
