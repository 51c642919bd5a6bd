#pragma once

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

}  // namespace pelliwig::X11Desktop
