#include "linux/x11/XcbConnection.h"

#include <cstring>

namespace pelliwig {

XcbConnection::XcbConnection(const std::string& display) {
    int screenNumber = 0;
    connection_ = xcb_connect(display.empty() ? nullptr : display.c_str(), &screenNumber);
    if (xcb_connection_has_error(connection_) != 0) return;
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
    if (screens.rem > 0) root_ = screens.data->root;
}

XcbConnection::XcbConnection(xcb_connection_t* borrowed, xcb_window_t root)
    : connection_(borrowed), root_(root), owned_(false) {}

XcbConnection::~XcbConnection() {
    // xcb hands back an error object even when it cannot connect; it is
    // released the same way.
    if (connection_ && owned_) xcb_disconnect(connection_);
}

bool XcbConnection::ok() const {
    return connection_ && root_ != 0 && xcb_connection_has_error(connection_) == 0;
}

int XcbConnection::fd() const {
    return ok() ? xcb_get_file_descriptor(connection_) : -1;
}

xcb_atom_t XcbConnection::atom(const std::string& name) {
    if (!ok()) return XCB_ATOM_NONE;
    if (auto known = atoms_.find(name); known != atoms_.end()) return known->second;
    const auto cookie =
        xcb_intern_atom(connection_, 0, static_cast<uint16_t>(name.size()), name.data());
    const auto interned = reply(xcb_intern_atom_reply, cookie);
    if (!interned) return XCB_ATOM_NONE;
    atoms_.emplace(name, interned->atom);
    return interned->atom;
}

XcbPtr<xcb_get_property_reply_t> XcbConnection::property(xcb_window_t window,
                                                         const std::string& name, xcb_atom_t type,
                                                         uint32_t length) {
    const xcb_atom_t atomOfName = atom(name);
    if (atomOfName == XCB_ATOM_NONE) return nullptr;
    auto value = reply(xcb_get_property_reply,
                       xcb_get_property(connection_, 0, window, atomOfName, type, 0, length));
    if (value && xcb_get_property_value_length(value.get()) == 0) value.reset();
    return value;
}

bool XcbConnection::selectionOwned(const std::string& name) {
    const xcb_atom_t selection = atom(name);
    if (selection == XCB_ATOM_NONE) return false;
    const auto owner =
        reply(xcb_get_selection_owner_reply, xcb_get_selection_owner(connection_, selection));
    return owner && owner->owner != XCB_NONE;
}

xcb_window_t XcbConnection::activeWindow() {
    const auto value = property(root_, "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW, 1);
    if (!value || xcb_get_property_value_length(value.get()) != sizeof(xcb_window_t)) {
        return XCB_WINDOW_NONE;
    }
    xcb_window_t window = XCB_WINDOW_NONE;
    std::memcpy(&window, xcb_get_property_value(value.get()), sizeof window);
    return window;
}

void XcbConnection::discardEvents() {
    if (!ok()) return;
    while (XcbPtr<xcb_generic_event_t> event{xcb_poll_for_event(connection_)}) {
    }
}

int XcbConnection::extensionOpcode(xcb_extension_t* extension) const {
    if (!ok()) return 0;
    const xcb_query_extension_reply_t* data = xcb_get_extension_data(connection_, extension);
    return data && data->present ? data->major_opcode : 0;
}

}  // namespace pelliwig
