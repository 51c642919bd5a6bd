#include "desktop/support/X11Desktop.h"

#include <cstdlib>
#include <string>

#include <xcb/xcb.h>

#include <QGuiApplication>

namespace pelliwig::X11Desktop {

namespace {

int screenNumber() {
    // ":0.1" names screen 1; a plain ":0" is screen 0.
    const char* display = std::getenv("DISPLAY");
    if (!display) return 0;
    const std::string name(display);
    const auto colon = name.rfind(':');
    const auto dot = name.find('.', colon == std::string::npos ? 0 : colon);
    return dot == std::string::npos ? 0 : std::atoi(name.c_str() + dot + 1);
}

}  // namespace

xcb_connection_t* connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_screen_t* screen() {
    xcb_connection_t* c = connection();
    if (!c) return nullptr;
    auto roots = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = screenNumber(); i > 0 && roots.rem > 1; --i) xcb_screen_next(&roots);
    return roots.rem ? roots.data : nullptr;
}

namespace {

// Whether some client owns the selection `prefix`n of this screen.
bool screenSelectionOwned(const std::string& prefix) {
    xcb_connection_t* connection = X11Desktop::connection();
    if (!connection) return false;
    const std::string name = prefix + std::to_string(screenNumber());
    auto atomCookie = xcb_intern_atom(connection, 0, uint16_t(name.size()), name.c_str());
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(connection, atomCookie, nullptr);
    if (!atom) return false;
    auto ownerCookie = xcb_get_selection_owner(connection, atom->atom);
    free(atom);
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection, ownerCookie, nullptr);
    const bool owned = owner && owner->owner != XCB_NONE;
    free(owner);
    return owned;
}

}  // namespace

// A compositing manager owns the selection _NET_WM_CM_Sn of its screen.
bool compositing() {
    return screenSelectionOwned("_NET_WM_CM_S");
}

// The tray of the XEmbed protocol owns _NET_SYSTEM_TRAY_Sn.
bool xembedTray() {
    return screenSelectionOwned("_NET_SYSTEM_TRAY_S");
}

}  // namespace pelliwig::X11Desktop
