#include "linux/wayland/WaylandConnection.h"

#include <wayland-client.h>

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>

namespace pelliwig {

WaylandConnection::WaylandConnection() {
    display_ = wl_display_connect(nullptr);
    if (!display_) return;
    registry_ = wl_display_get_registry(display_);
    static const wl_registry_listener listener{&WaylandConnection::announce,
                                               &WaylandConnection::withdraw};
    wl_registry_add_listener(registry_, &listener, this);
    if (!roundtrip()) return;
    watch_ = std::make_unique<QSocketNotifier>(wl_display_get_fd(display_), QSocketNotifier::Read);
    QObject::connect(watch_.get(), &QSocketNotifier::activated, watch_.get(),
                     [this] { readEvents(); });
}

WaylandConnection::~WaylandConnection() {
    watch_.reset();
    if (!display_) return;
    if (seat_) wl_proxy_destroy(reinterpret_cast<wl_proxy*>(seat_));
    wl_registry_destroy(registry_);
    wl_display_disconnect(display_);
}

void WaylandConnection::announce(void* self, wl_registry*, std::uint32_t name,
                                 const char* interface, std::uint32_t version) {
    static_cast<WaylandConnection*>(self)->globals_.push_back({name, interface, version});
}

void WaylandConnection::withdraw(void* self, wl_registry*, std::uint32_t name) {
    auto& globals = static_cast<WaylandConnection*>(self)->globals_;
    std::erase_if(globals, [name](const Global& g) { return g.name == name; });
}

std::vector<std::string> WaylandConnection::interfaces() const {
    std::vector<std::string> names;
    for (const auto& global : globals_) names.push_back(global.interface);
    return names;
}

const WaylandConnection::Global* WaylandConnection::find(std::string_view interface) const {
    const auto it = std::find_if(globals_.begin(), globals_.end(),
                                 [interface](const Global& g) { return g.interface == interface; });
    return it == globals_.end() ? nullptr : &*it;
}

bool WaylandConnection::offers(std::string_view interface) const {
    return find(interface) != nullptr;
}

void* WaylandConnection::bind(const wl_interface& interface, std::uint32_t version) {
    const Global* global = ok() ? find(interface.name) : nullptr;
    if (!global) return nullptr;
    return wl_registry_bind(registry_, global->name, &interface,
                            std::min(version, global->version));
}

wl_seat* WaylandConnection::seat() {
    // Version 1 is enough to name the seat in requests; its events are not read.
    if (!seat_) seat_ = static_cast<wl_seat*>(bind(wl_seat_interface, 1));
    return seat_;
}

bool WaylandConnection::roundtrip() {
    if (!ok()) return false;
    if (wl_display_roundtrip(display_) < 0) {
        lose();
        return false;
    }
    return true;
}

void WaylandConnection::flush() {
    if (ok() && wl_display_flush(display_) < 0 && errno != EAGAIN) lose();
}

// The socket is readable: read what came, then run the handlers. Nothing else
// reads this connection, so the prepare/read pair never waits for another
// thread.
void WaylandConnection::readEvents() {
    while (wl_display_prepare_read(display_) != 0) wl_display_dispatch_pending(display_);
    if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0) {
        lose();
        return;
    }
    flush();
}

// The compositor went away (or sent a protocol error): stop watching and
// tell the sources, which fall back to reporting nothing.
void WaylandConnection::lose() {
    if (gone_) return;
    gone_ = true;
    if (watch_) watch_->setEnabled(false);
    lost_();
}

}  // namespace pelliwig
