#include "linux/X11FrontApp.h"

#include <xcb/xcb_icccm.h>

#include <cstring>
#include <utility>

namespace pelliwig {

X11FrontApp::X11FrontApp(std::shared_ptr<XcbConnection> connection,
                         std::unique_ptr<DesktopEntryIndex> entries)
    : connection_(std::move(connection)), entries_(std::move(entries)) {}

std::optional<std::string> X11FrontApp::name() const {
    const xcb_window_t window = activeWindow();
    if (window == XCB_WINDOW_NONE) return std::nullopt;
    XcbConnection& x = *connection_;
    const auto property = x.reply(xcb_get_property_reply, xcb_icccm_get_wm_class(x.get(), window));
    xcb_icccm_get_wm_class_reply_t wmClass{};
    if (!property || !xcb_icccm_get_wm_class_from_reply(&wmClass, property.get())) {
        return std::nullopt;
    }
    // The reply owns both strings; copy them before it goes.
    const std::string instance = wmClass.instance_name ? wmClass.instance_name : "";
    const std::string className = wmClass.class_name ? wmClass.class_name : "";
    if (className.empty()) return std::nullopt;
    if (auto entryName = entries_->nameFor(className, instance)) return entryName;
    return className;
}

xcb_window_t X11FrontApp::activeWindow() const {
    XcbConnection& x = *connection_;
    x.discardEvents();
    const xcb_atom_t active = x.atom("_NET_ACTIVE_WINDOW");
    if (active == XCB_ATOM_NONE) return XCB_WINDOW_NONE;
    const auto property =
        x.reply(xcb_get_property_reply,
                xcb_get_property(x.get(), 0, x.root(), active, XCB_ATOM_WINDOW, 0, 1));
    if (!property || xcb_get_property_value_length(property.get()) != sizeof(xcb_window_t)) {
        return XCB_WINDOW_NONE;
    }
    xcb_window_t window = XCB_WINDOW_NONE;
    std::memcpy(&window, xcb_get_property_value(property.get()), sizeof window);
    return window;
}

}  // namespace pelliwig
