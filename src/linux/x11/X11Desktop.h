#pragma once

#include <optional>
#include <string>
#include <vector>

#include <xcb/xcb.h>

namespace pelliwig::X11Desktop {

// Qt's own connection to the X server; null on other platforms.
xcb_connection_t* connection();

// The X screen of $DISPLAY on that connection; null without one.
xcb_screen_t* screen();

// True on an X11 session whose compositing manager blends see-through
// windows; false without one and on other platforms, where a window shows
// only what its shape mask keeps.
bool compositing();

// True when an XEmbed system tray (the older tray protocol) runs on this
// screen.
bool xembedTray();

// The name the running window manager gives itself: _NET_WM_NAME of its
// _NET_SUPPORTING_WM_CHECK window ("KWin", "GNOME Shell", "Openbox"); empty
// when none says.
std::string windowManagerName();

// The window that has the keyboard now; none without an X connection.
xcb_window_t inputFocus();

// Gives the keyboard to `window` (a window the window manager does not
// manage takes it this way), or back to one that had it before; when that one
// is gone the server hands the keyboard to its parent.
void setInputFocus(xcb_window_t window);

// Gives a window that is not yet mapped the window type of an on-screen
// display (KDE's, with notification after it for other window managers), so
// a window manager that stacks such windows above full-screen ones does so.
void setOnScreenDisplayType(xcb_window_t window);

// Where the pointer is, in root device pixels, and the windows it is over
// from the top-level one down (none when the server puts it over the root
// window itself, as XWayland does while it is over a Wayland window).
struct PointerPlace {
    int x = 0;
    int y = 0;
    std::vector<xcb_window_t> windows;
};
// Asked on Qt's connection; nothing without one.
std::optional<PointerPlace> pointerPlace();

}  // namespace pelliwig::X11Desktop
