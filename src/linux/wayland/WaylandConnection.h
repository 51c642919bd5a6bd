#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/support/Signal.h"

struct wl_display;
struct wl_interface;
struct wl_registry;
struct wl_seat;
class QSocketNotifier;

namespace pelliwig {

// Our own client connection to the session's compositor, apart from any Qt
// holds (she draws through XWayland). Its events are read on the Qt event
// loop when its socket has something, on the main thread, so a quiet session
// costs no wake-ups.
class WaylandConnection {
public:
    // Connects to $WAYLAND_DISPLAY (default wayland-0) and learns the
    // compositor's globals; ok() is false when no compositor answers.
    WaylandConnection();
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    // Connected, and the compositor has not gone away.
    bool ok() const { return display_ != nullptr && !gone_; }
    // The interfaces of the compositor's globals, as it announced them.
    std::vector<std::string> interfaces() const;
    bool offers(std::string_view interface) const;

    // Binds the first global of `interface` at the lower of its version and
    // `version`; nullptr when it is not offered. The caller owns the proxy.
    void* bind(const wl_interface& interface, std::uint32_t version);
    // The first seat, bound on first use; nullptr when there is none.
    wl_seat* seat();

    // Sends what the event handlers asked for, then waits until the
    // compositor has answered all of it; for set-up only. False when the
    // connection broke.
    bool roundtrip();
    // Sends queued requests without waiting.
    void flush();

    // Emitted once if the compositor goes away; the proxies are dead then.
    [[nodiscard]] Connection onLost(std::function<void()> listener) {
        return lost_.connect(std::move(listener));
    }

private:
    struct Global {
        std::uint32_t name;
        std::string interface;
        std::uint32_t version;
    };
    static void announce(void* self, wl_registry* registry, std::uint32_t name,
                         const char* interface, std::uint32_t version);
    static void withdraw(void* self, wl_registry* registry, std::uint32_t name);
    const Global* find(std::string_view interface) const;
    void readEvents();
    void lose();

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    bool gone_ = false;
    std::vector<Global> globals_;
    std::unique_ptr<QSocketNotifier> watch_;
    Signal<> lost_;
};

}  // namespace pelliwig
