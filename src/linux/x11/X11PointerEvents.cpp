#include "linux/x11/X11PointerEvents.h"

#include <xcb/xinput.h>

#include <utility>

namespace pelliwig {

X11PointerEvents::X11PointerEvents(Scheduler& scheduler, const std::string& display)
    : scheduler_(scheduler), connection_(display) {
    if (!selectRawMotion()) xinputOpcode_ = 0;
}

bool X11PointerEvents::selectRawMotion() {
    xinputOpcode_ = connection_.extensionOpcode(&xcb_input_id);
    if (xinputOpcode_ == 0) return false;
    // The server only sends XI2 events to clients that announced XI2; from
    // 2.1 on raw events arrive even while another client grabs the pointer.
    const auto version = connection_.reply(xcb_input_xi_query_version_reply,
                                           xcb_input_xi_query_version(connection_.get(), 2, 2));
    if (!version || version->major_version < 2) return false;
    struct {
        xcb_input_event_mask_t head;
        uint32_t bits;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, XCB_INPUT_XI_EVENT_MASK_RAW_MOTION};
    const auto cookie =
        xcb_input_xi_select_events_checked(connection_.get(), connection_.root(), 1, &mask.head);
    XcbPtr<xcb_generic_error_t> error(xcb_request_check(connection_.get(), cookie));
    return !error;
}

Connection X11PointerEvents::onMove(std::function<void(Point)> callback) {
    return moved_.connect(std::move(callback));
}

int X11PointerEvents::fd() const {
    return xinputOpcode_ != 0 ? connection_.fd() : -1;
}

void X11PointerEvents::processEvents() {
    if (fd() < 0) return;
    bool moved = false;
    while (XcbPtr<xcb_generic_event_t> event{xcb_poll_for_event(connection_.get())}) {
        moved = isRawMotion(*event) || moved;
    }
    if (moved) movementSeen();
}

void X11PointerEvents::movementSeen() {
    if (waiting_) return;
    const double wait = lastDelivery_ + kMinInterval - scheduler_.now();
    if (wait > 0) {
        waiting_ = true;
        pending_ = scheduler_.after(wait, [this] {
            waiting_ = false;
            deliver();
        });
    } else {
        deliver();
    }
}

bool X11PointerEvents::isRawMotion(const xcb_generic_event_t& event) const {
    if ((event.response_type & 0x7f) != XCB_GE_GENERIC) return false;
    const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
    return generic.extension == xinputOpcode_ && generic.event_type == XCB_INPUT_RAW_MOTION;
}

// Off this screen (another screen of a multi-screen server) there is no
// position in our coordinates.
std::optional<Point> X11PointerEvents::query() {
    const auto pointer = connection_.reply(
        xcb_query_pointer_reply, xcb_query_pointer(connection_.get(), connection_.root()));
    if (!pointer || !pointer->same_screen) return std::nullopt;
    return Point{static_cast<double>(pointer->root_x), static_cast<double>(pointer->root_y)};
}

void X11PointerEvents::askWhere() {
    if (fd() < 0) return;
    const auto position = query();
    if (!position) return;
    lastPosition_ = position;
    moved_(*position);
}

void X11PointerEvents::deliver() {
    lastDelivery_ = scheduler_.now();
    const auto position = query();
    if (!position) return;
    if (position != lastPosition_) {
        lastPosition_ = position;
        moved_(*position);
    }
    // Events read while waiting for the reply wait in xcb's queue, where the
    // shell's socket watch cannot see them.
    bool moved = false;
    while (XcbPtr<xcb_generic_event_t> event{xcb_poll_for_queued_event(connection_.get())}) {
        moved = isRawMotion(*event) || moved;
    }
    if (moved) movementSeen();
}

}  // namespace pelliwig
