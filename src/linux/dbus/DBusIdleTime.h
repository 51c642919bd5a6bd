#pragma once

#include <QDBusConnection>

#include <cstddef>

#include "core/platform/IdleTime.h"

namespace pelliwig {

// Idle time on Wayland sessions, where no client may watch input: asked of
// the desktop over the session bus. GNOME answers through Mutter's
// IdleMonitor; other desktops may answer through the freedesktop ScreenSaver
// interface, though KDE's refuses that call on Wayland (NotSupported), so
// there idle time reads 0 and the user counts as active. Each call blocks for
// at most kTimeoutMs per service, which is fine once per tick; the service
// that answered last is asked first.
class DBusIdleTime final : public IdleTime {
public:
    static constexpr int kTimeoutMs = 200;

    explicit DBusIdleTime(QDBusConnection sessionBus);

    // 0 when the bus is not connected or no service answers.
    double seconds() const override;

private:
    QDBusConnection bus_;
    mutable std::size_t preferred_ = 0;
};

}  // namespace pelliwig
