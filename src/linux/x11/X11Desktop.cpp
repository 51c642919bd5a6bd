#include "linux/x11/X11Desktop.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <xcb/xcb.h>

#include <QGuiApplication>

#include "linux/x11/XcbConnection.h"

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

// Questions asked on Qt's connection, which Qt keeps open while it runs;
// not connected (every answer empty) on other platforms.
XcbConnection onQtConnection() {
    xcb_screen_t* root = screen();
    return XcbConnection(connection(), root ? root->root : 0);
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

// A compositing manager owns the selection _NET_WM_CM_Sn of its screen.
bool compositing() {
    return onQtConnection().selectionOwned("_NET_WM_CM_S" + std::to_string(screenNumber()));
}

// The tray of the XEmbed protocol owns _NET_SYSTEM_TRAY_Sn.
bool xembedTray() {
    return onQtConnection().selectionOwned("_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber()));
}

std::string windowManagerName() {
    XcbConnection x = onQtConnection();
    if (!x.ok()) return {};
    auto check = x.property(x.root(), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
    if (!check || check->format != 32) return {};
    const auto manager = *static_cast<xcb_window_t*>(xcb_get_property_value(check.get()));
    auto name = x.property(manager, "_NET_WM_NAME", x.atom("UTF8_STRING"));
    if (!name || name->format != 8) return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(name.get())),
                       size_t(xcb_get_property_value_length(name.get())));
}

xcb_window_t inputFocus() {
    xcb_connection_t* c = connection();
    if (!c) return XCB_NONE;
    auto* reply = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    const xcb_window_t focus = reply ? reply->focus : XCB_NONE;
    free(reply);
    return focus;
}

void setInputFocus(xcb_window_t window) {
    xcb_connection_t* c = connection();
    if (!c || window == XCB_NONE) return;
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    xcb_flush(c);
}

void setOnScreenDisplayType(xcb_window_t window) {
    XcbConnection x = onQtConnection();
    if (!x.ok()) return;
    const std::vector<xcb_atom_t> types{x.atom("_KDE_NET_WM_WINDOW_TYPE_ON_SCREEN_DISPLAY"),
                                        x.atom("_NET_WM_WINDOW_TYPE_NOTIFICATION")};
    xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, window, x.atom("_NET_WM_WINDOW_TYPE"),
                        XCB_ATOM_ATOM, 32, uint32_t(types.size()), types.data());
    xcb_flush(x.get());
}

// A top-level window may sit in a frame of the window manager's, so the
// search goes a few levels down.
std::optional<PointerPlace> pointerPlace() {
    XcbConnection x = onQtConnection();
    if (!x.ok()) return std::nullopt;
    PointerPlace place;
    xcb_window_t window = x.root();
    for (int depth = 0; depth < 4; ++depth) {
        const auto pointer = x.reply(xcb_query_pointer_reply, xcb_query_pointer(x.get(), window));
        if (!pointer || !pointer->same_screen)
            return depth == 0 ? std::nullopt : std::optional(place);
        if (depth == 0) {
            place.x = pointer->root_x;
            place.y = pointer->root_y;
        }
        if (pointer->child == XCB_WINDOW_NONE) break;
        window = pointer->child;
        place.windows.push_back(window);
    }
    return place;
}

}  // namespace pelliwig::X11Desktop
