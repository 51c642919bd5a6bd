#pragma once

#include <memory>
#include <string>

#include "core/platform/IdleTime.h"

namespace pelliwig {

// Idle time on Wayland sessions, where no client may watch input: asked of
// the desktop over the session bus. GNOME answers through Mutter's
// IdleMonitor, KDE (and other desktops) through the freedesktop ScreenSaver
// interface. Each call blocks for at most kTimeoutMs, which is fine once per
// tick; the service that answered last is asked first.
class DBusIdleTime final : public IdleTime {
public:
    static constexpr int kTimeoutMs = 200;

    // The session bus.
    DBusIdleTime();
    // The bus at `address` ("unix:path=..."); for tests.
    explicit DBusIdleTime(const std::string& address);
    ~DBusIdleTime() override;

    // 0 when there is no bus or no service answers.
    double seconds() const override;

private:
    struct Bus;
    std::unique_ptr<Bus> bus_;
};

}  // namespace pelliwig
