#include "support/WaylandInput.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>

#include "fake-input-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace pelliwig::testing {

namespace {

struct Binder {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* pointerManager = nullptr;
    org_kde_kwin_fake_input* fakeInput = nullptr;
};

void announce(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
    auto& found = *static_cast<Binder*>(data);
    // The newest version both know: KWin's fake input moves the pointer to
    // a place from version 3 on.
    const auto bind = [&](const wl_interface& type) {
        return wl_registry_bind(registry, name, &type,
                                std::min<std::uint32_t>(version, type.version));
    };
    if (!found.seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
        found.seat = static_cast<wl_seat*>(bind(wl_seat_interface));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        found.pointerManager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            bind(zwlr_virtual_pointer_manager_v1_interface));
    } else if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0) {
        found.fakeInput =
            static_cast<org_kde_kwin_fake_input*>(bind(org_kde_kwin_fake_input_interface));
    }
}

void withdraw(void*, wl_registry*, std::uint32_t) {}

}  // namespace

WaylandInput::WaylandInput(const std::string& socketPath) {
    display_ = wl_display_connect(socketPath.c_str());
    if (!display_) return;
    Binder found;
    wl_registry* registry = wl_display_get_registry(display_);
    static const wl_registry_listener listener{announce, withdraw};
    wl_registry_add_listener(registry, &listener, &found);
    wl_display_roundtrip(display_);
    seat_ = found.seat;
    if (found.pointerManager) {
        pointerManager_ = found.pointerManager;
        virtualPointer_ =
            zwlr_virtual_pointer_manager_v1_create_virtual_pointer(pointerManager_, seat_);
    } else if (found.fakeInput) {
        fakeInput_ = found.fakeInput;
        org_kde_kwin_fake_input_authenticate(fakeInput_, "pelliwig tests", "moves the pointer");
    }
    wl_registry_destroy(registry);
    wl_display_roundtrip(display_);
}

WaylandInput::~WaylandInput() {
    if (!display_) return;
    if (virtualPointer_) zwlr_virtual_pointer_v1_destroy(virtualPointer_);
    if (pointerManager_) zwlr_virtual_pointer_manager_v1_destroy(pointerManager_);
    if (fakeInput_) org_kde_kwin_fake_input_destroy(fakeInput_);
    if (seat_) wl_seat_destroy(seat_);
    wl_display_roundtrip(display_);
    wl_display_disconnect(display_);
}

bool WaylandInput::move() {
    if (!ok()) return false;
    // Back and forth, so repeated moves keep the pointer on the screen.
    step_ = -step_;
    const wl_fixed_t delta = wl_fixed_from_int(8 * step_);
    if (virtualPointer_) {
        zwlr_virtual_pointer_v1_motion(virtualPointer_, 0, delta, delta);
        zwlr_virtual_pointer_v1_frame(virtualPointer_);
    } else {
        org_kde_kwin_fake_input_pointer_motion(fakeInput_, delta, delta);
    }
    return wl_display_roundtrip(display_) >= 0;
}

bool WaylandInput::moveTo(int x, int y, int width, int height) {
    if (virtualPointer_) {
        zwlr_virtual_pointer_v1_motion_absolute(virtualPointer_, 0, x, y, width, height);
        zwlr_virtual_pointer_v1_frame(virtualPointer_);
    } else if (fakeInput_ && org_kde_kwin_fake_input_get_version(fakeInput_) >= 3) {
        org_kde_kwin_fake_input_pointer_motion_absolute(fakeInput_, wl_fixed_from_int(x),
                                                        wl_fixed_from_int(y));
    } else {
        return false;
    }
    return wl_display_roundtrip(display_) >= 0;
}

bool WaylandInput::click(int button) {
    if (!ok()) return false;
    for (const bool pressed : {true, false}) {
        if (virtualPointer_) {
            zwlr_virtual_pointer_v1_button(
                virtualPointer_, 0, std::uint32_t(button),
                pressed ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
            zwlr_virtual_pointer_v1_frame(virtualPointer_);
        } else {
            org_kde_kwin_fake_input_button(
                fakeInput_, std::uint32_t(button),
                pressed ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
        }
        if (wl_display_roundtrip(display_) < 0) return false;
    }
    return true;
}

}  // namespace pelliwig::testing
