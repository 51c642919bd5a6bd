#pragma once

#include <memory>

#include "core/platform/FrontApp.h"
#include "linux/x11/XcbConnection.h"
#include "linux/xdg/DesktopEntryIndex.h"

namespace pelliwig {

// The focused application on X11: the window manager's _NET_ACTIVE_WINDOW,
// its WM_CLASS, and the Name of the desktop entry for that class, else the
// class itself. The window title is never requested: it can hold document
// names, and only the application's name may be read.
class X11FrontApp final : public FrontApp {
public:
    X11FrontApp(std::shared_ptr<XcbConnection> connection,
                std::unique_ptr<DesktopEntryIndex> entries = std::make_unique<DesktopEntryIndex>());

    // Nothing without a server, without an EWMH window manager, when no
    // window is active, or when the active window has no class.
    std::optional<std::string> name() const override;

private:
    std::shared_ptr<XcbConnection> connection_;
    std::unique_ptr<DesktopEntryIndex> entries_;
};

}  // namespace pelliwig
