#pragma once

#include <memory>

#include "core/platform/IdleTime.h"
#include "core/platform/Scheduler.h"
#include "core/sensors/NotifiedIdleTime.h"
#include "linux/wayland/WaylandConnection.h"

struct ext_idle_notifier_v1;
struct ext_idle_notification_v1;
struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;

namespace pelliwig {

// Idle time from the compositor's idle notifier: the standard
// ext_idle_notifier_v1 (KWin, newer wlroots) or KDE's org_kde_kwin_idle
// (sway 1.7, KWin). The compositor says when `timeout` seconds pass without
// input and when input comes back; the seconds in between follow from that.
// A short timeout keeps the reading close to the truth while costing two
// events per pause in typing, and none while the user stays away.
class WaylandIdleTime final : public IdleTime {
public:
    enum class Protocol { extIdleNotify, kdeIdle };
    static constexpr double kTimeoutSeconds = 5;

    // Nothing is watched (and seconds() stays 0) when the compositor does not
    // offer the protocol or has no seat.
    WaylandIdleTime(std::shared_ptr<WaylandConnection> connection, Protocol protocol,
                    const Scheduler& clock, double timeoutSeconds = kTimeoutSeconds);
    ~WaylandIdleTime();
    WaylandIdleTime(const WaylandIdleTime&) = delete;
    WaylandIdleTime& operator=(const WaylandIdleTime&) = delete;

    // True when the compositor accepted the notification.
    bool watching() const { return extNotification_ || kdeTimeout_; }
    double seconds() const override { return idle_.seconds(); }

private:
    void watchExt(std::uint32_t timeoutMs);
    void watchKde(std::uint32_t timeoutMs);
    void release();

    std::shared_ptr<WaylandConnection> connection_;
    NotifiedIdleTime idle_;
    ext_idle_notifier_v1* extNotifier_ = nullptr;
    ext_idle_notification_v1* extNotification_ = nullptr;
    org_kde_kwin_idle* kdeIdle_ = nullptr;
    org_kde_kwin_idle_timeout* kdeTimeout_ = nullptr;
    Connection lost_;
};

}  // namespace pelliwig
