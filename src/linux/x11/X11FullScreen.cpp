#include "linux/x11/X11FullScreen.h"

#include <utility>

namespace pelliwig {

namespace {

// _NET_WM_STATE lists at most a dozen atoms; 64 leaves room for any
// window manager's own additions.
constexpr uint32_t kMostStates = 64;

}  // namespace

X11FullScreen::X11FullScreen(std::shared_ptr<XcbConnection> connection)
    : connection_(std::move(connection)) {}

bool X11FullScreen::focusedWindowIsFullScreen() const {
    XcbConnection& x = *connection_;
    x.discardEvents();
    const xcb_window_t window = x.activeWindow();
    if (window == XCB_WINDOW_NONE) return false;
    const xcb_atom_t fullScreen = x.atom("_NET_WM_STATE_FULLSCREEN");
    if (fullScreen == XCB_ATOM_NONE) return false;
    const auto property = x.property(window, "_NET_WM_STATE", XCB_ATOM_ATOM, kMostStates);
    if (!property || property->format != 32) return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(property.get()));
    const int count = xcb_get_property_value_length(property.get()) / 4;
    for (int i = 0; i < count; ++i) {
        if (atoms[i] == fullScreen) return true;
    }
    return false;
}

}  // namespace pelliwig
