#pragma once

#include <memory>

#include "core/platform/FullScreen.h"
#include "linux/x11/XcbConnection.h"

namespace pelliwig {

// Full screen on X11: the window manager's _NET_ACTIVE_WINDOW carries
// _NET_WM_STATE_FULLSCREEN in its _NET_WM_STATE. Asked afresh each time,
// over the connection the other X11 sources share.
class X11FullScreen final : public FullScreen {
public:
    explicit X11FullScreen(std::shared_ptr<XcbConnection> connection);

    // False without a server, without an EWMH window manager, or when no
    // window is active.
    bool focusedWindowIsFullScreen() const override;

private:
    std::shared_ptr<XcbConnection> connection_;
};

}  // namespace pelliwig
