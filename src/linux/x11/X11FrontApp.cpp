#include "linux/x11/X11FrontApp.h"

#include <xcb/xcb_icccm.h>

#include <utility>

namespace pelliwig {

X11FrontApp::X11FrontApp(std::shared_ptr<XcbConnection> connection,
                         std::unique_ptr<DesktopEntryIndex> entries)
    : connection_(std::move(connection)), entries_(std::move(entries)) {}

std::optional<std::string> X11FrontApp::name() const {
    connection_->discardEvents();
    const xcb_window_t window = connection_->activeWindow();
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

}  // namespace pelliwig
