#include "linux/wayland/WaylandIdleTime.h"

#include <cmath>
#include <utility>

#include "ext-idle-notify-v1-client-protocol.h"
#include "idle-client-protocol.h"

namespace pelliwig {

namespace {

NotifiedIdleTime& idleOf(void* data) {
    return *static_cast<NotifiedIdleTime*>(data);
}

constexpr ext_idle_notification_v1_listener kExtListener{
    [](void* data, ext_idle_notification_v1*) { idleOf(data).idled(); },
    [](void* data, ext_idle_notification_v1*) { idleOf(data).resumed(); },
};

constexpr org_kde_kwin_idle_timeout_listener kKdeListener{
    [](void* data, org_kde_kwin_idle_timeout*) { idleOf(data).idled(); },
    [](void* data, org_kde_kwin_idle_timeout*) { idleOf(data).resumed(); },
};

}  // namespace

WaylandIdleTime::WaylandIdleTime(std::shared_ptr<WaylandConnection> connection, Protocol protocol,
                                 const Scheduler& clock, double timeoutSeconds)
    : connection_(std::move(connection)), idle_(clock, timeoutSeconds) {
    if (!connection_->seat()) return;
    const auto timeoutMs = static_cast<std::uint32_t>(std::lround(timeoutSeconds * 1000));
    if (protocol == Protocol::extIdleNotify) {
        watchExt(timeoutMs);
    } else {
        watchKde(timeoutMs);
    }
    connection_->flush();
    // A lost compositor sends no "resumed": count the user as active.
    lost_ = connection_->onLost([this] { idle_.resumed(); });
}

void WaylandIdleTime::watchExt(std::uint32_t timeoutMs) {
    extNotifier_ =
        static_cast<ext_idle_notifier_v1*>(connection_->bind(ext_idle_notifier_v1_interface, 1));
    if (!extNotifier_) return;
    extNotification_ =
        ext_idle_notifier_v1_get_idle_notification(extNotifier_, timeoutMs, connection_->seat());
    ext_idle_notification_v1_add_listener(extNotification_, &kExtListener, &idle_);
}

void WaylandIdleTime::watchKde(std::uint32_t timeoutMs) {
    kdeIdle_ = static_cast<org_kde_kwin_idle*>(connection_->bind(org_kde_kwin_idle_interface, 1));
    if (!kdeIdle_) return;
    kdeTimeout_ = org_kde_kwin_idle_get_idle_timeout(kdeIdle_, connection_->seat(), timeoutMs);
    org_kde_kwin_idle_timeout_add_listener(kdeTimeout_, &kKdeListener, &idle_);
}

WaylandIdleTime::~WaylandIdleTime() {
    release();
}

// Destroying the proxies sends their destructors to a live compositor; on a
// lost one it only frees them.
void WaylandIdleTime::release() {
    if (extNotification_) ext_idle_notification_v1_destroy(extNotification_);
    if (extNotifier_) ext_idle_notifier_v1_destroy(extNotifier_);
    if (kdeTimeout_) org_kde_kwin_idle_timeout_release(kdeTimeout_);
    if (kdeIdle_) org_kde_kwin_idle_destroy(kdeIdle_);
    connection_->flush();
}

}  // namespace pelliwig
