#include "desktop/notch/HoverStrip.h"

#include <cstring>

#include <QCoreApplication>

#include "desktop/support/QtScreens.h"
#include "linux/SessionTraits.h"
#include "linux/x11/X11Desktop.h"

namespace pelliwig {

namespace {

constexpr uint32_t kEvents =
    XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_POINTER_MOTION;

xcb_visualid_t argbVisual(xcb_screen_t* screen) {
    for (auto depth = xcb_screen_allowed_depths_iterator(screen); depth.rem;
         xcb_depth_next(&depth)) {
        if (depth.data->depth != 32) continue;
        for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem;
             xcb_visualtype_next(&visual)) {
            if (visual.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR) return visual.data->visual_id;
        }
    }
    return 0;
}

}  // namespace

HoverStrip::HoverStrip(Kind kind) {
    connection_ = X11Desktop::connection();
    if (!connection_ || !X11Desktop::screen()) return;
    create(kind);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

HoverStrip::~HoverStrip() {
    if (!connection_ || window_ == XCB_NONE) return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    xcb_destroy_window(connection_, window_);
    if (colormap_ != XCB_NONE) xcb_free_colormap(connection_, colormap_);
    xcb_flush(connection_);
}

HoverStrip::Kind HoverStrip::kindForSession() {
    return SessionTraits::current().wayland() ? Kind::transparent : Kind::inputOnly;
}

// Override-redirect: the window manager leaves it alone, so it takes no
// focus, is on every workspace and in no task bar, like her panel.
void HoverStrip::create(Kind kind) {
    xcb_screen_t* screen = X11Desktop::screen();
    window_ = xcb_generate_id(connection_);
    const xcb_visualid_t visual = kind == Kind::transparent ? argbVisual(screen) : 0;
    if (visual != 0) {
        colormap_ = xcb_generate_id(connection_);
        xcb_create_colormap(connection_, XCB_COLORMAP_ALLOC_NONE, colormap_, screen->root, visual);
        const uint32_t values[] = {0, 0, 1, kEvents, colormap_};
        xcb_create_window(connection_, 32, window_, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, visual,
                          XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT |
                              XCB_CW_EVENT_MASK | XCB_CW_COLORMAP,
                          values);
    } else {
        const uint32_t values[] = {1, kEvents};
        xcb_create_window(connection_, 0, window_, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                          XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    }
    static constexpr char kTitle[] = "Pelliwig hover";
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, sizeof kTitle - 1, kTitle);
    xcb_flush(connection_);
}

void HoverStrip::place(const Rect& notch) {
    if (window_ == XCB_NONE) return;
    geometry_ = QtScreens::toDevicePixels({notch.x, notch.y, notch.width, kHeight});
    const uint32_t values[] = {uint32_t(geometry_.x()), uint32_t(geometry_.y()),
                               uint32_t(std::max(1, geometry_.width())),
                               uint32_t(std::max(1, geometry_.height())), XCB_STACK_MODE_ABOVE};
    xcb_configure_window(connection_, window_,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT | XCB_CONFIG_WINDOW_STACK_MODE,
                         values);
    if (!mapped_) {
        xcb_map_window(connection_, window_);
        mapped_ = true;
    }
    xcb_flush(connection_);
}

void HoverStrip::raise() {
    if (window_ == XCB_NONE) return;
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(connection_, window_, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(connection_);
}

// Grabs and ungrabs (a menu opening elsewhere) send enter and leave events
// too; only real crossings count.
bool HoverStrip::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
        case XCB_MOTION_NOTIFY: {
            const auto* motion = reinterpret_cast<const xcb_motion_notify_event_t*>(event);
            if (motion->event != window_) return false;
            if (onPointer) onPointer({double(motion->root_x), double(motion->root_y)});
            return true;
        }
        case XCB_ENTER_NOTIFY:
        case XCB_LEAVE_NOTIFY: {
            const auto* crossing = reinterpret_cast<const xcb_enter_notify_event_t*>(event);
            if (crossing->event != window_) return false;
            if (crossing->mode != XCB_NOTIFY_MODE_NORMAL) return true;
            if (onPointer) onPointer({double(crossing->root_x), double(crossing->root_y)});
            const bool left = (event->response_type & 0x7f) == XCB_LEAVE_NOTIFY;
            if (left && onLeft) onLeft();
            return true;
        }
        default:
            return false;
    }
}

}  // namespace pelliwig
