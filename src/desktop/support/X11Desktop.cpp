#include "desktop/support/X11Desktop.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

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

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&free)>;

xcb_atom_t atom(xcb_connection_t* connection, const std::string& name) {
    auto cookie = xcb_intern_atom(connection, 0, uint16_t(name.size()), name.c_str());
    ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr),
                                            &free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The value of a property of `window`, or null when it has none.
ReplyPtr<xcb_get_property_reply_t> property(xcb_connection_t* connection, xcb_window_t window,
                                            xcb_atom_t name, xcb_atom_t type) {
    auto cookie = xcb_get_property(connection, 0, window, name, type, 0, 1024);
    ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr),
                                             &free);
    if (reply && xcb_get_property_value_length(reply.get()) == 0) reply.reset();
    return reply;
}

// Whether some client owns the selection `prefix`n of this screen.
bool screenSelectionOwned(const std::string& prefix) {
    xcb_connection_t* connection = X11Desktop::connection();
    if (!connection) return false;
    const xcb_atom_t selection = atom(connection, prefix + std::to_string(screenNumber()));
    if (selection == XCB_ATOM_NONE) return false;
    auto ownerCookie = xcb_get_selection_owner(connection, selection);
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

std::string windowManagerName() {
    xcb_connection_t* connection = X11Desktop::connection();
    xcb_screen_t* root = screen();
    if (!connection || !root) return {};
    auto check = property(connection, root->root, atom(connection, "_NET_SUPPORTING_WM_CHECK"),
                          XCB_ATOM_WINDOW);
    if (!check || check->format != 32) return {};
    const auto manager = *static_cast<xcb_window_t*>(xcb_get_property_value(check.get()));
    auto name = property(connection, manager, atom(connection, "_NET_WM_NAME"),
                         atom(connection, "UTF8_STRING"));
    if (!name || name->format != 8) return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(name.get())),
                       size_t(xcb_get_property_value_length(name.get())));
}

void setOnScreenDisplayType(xcb_window_t window) {
    xcb_connection_t* connection = X11Desktop::connection();
    if (!connection) return;
    const std::vector<xcb_atom_t> types{
        atom(connection, "_KDE_NET_WM_WINDOW_TYPE_ON_SCREEN_DISPLAY"),
        atom(connection, "_NET_WM_WINDOW_TYPE_NOTIFICATION")};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window,
                        atom(connection, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32,
                        uint32_t(types.size()), types.data());
    xcb_flush(connection);
}

}  // namespace pelliwig::X11Desktop
