#pragma once

#include <QDBusConnection>

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "core/platform/FrontApp.h"
#include "core/platform/FullScreen.h"
#include "core/platform/IdleTime.h"
#include "core/platform/PointerEvents.h"
#include "core/platform/Scheduler.h"
#include "linux/SessionTraits.h"
#include "linux/wayland/SwayIpc.h"

namespace pelliwig {

class X11PointerEvents;
class WaylandConnection;

// The idle-time, focused-application, full-screen and pointer sources of one
// session, chosen once at start-up. On X11 they come from the X server
// ($DISPLAY), the first three over one shared connection. On Wayland they
// come from the compositor ($WAYLAND_DISPLAY) where it offers them, over one
// connection of our own: idle time from ext_idle_notifier_v1 or
// org_kde_kwin_idle, else from the desktop over D-Bus (GNOME); the focused
// application and whether it is full-screen from
// zwlr_foreign_toplevel_manager_v1, else the application from a KWin script.
// A source the session lacks (the pointer outside our windows, always; the
// focused application on GNOME) reports nothing, and the log says so once.
class SessionSensors {
public:
    SessionSensors(SessionKind kind, Scheduler& scheduler, QDBusConnection sessionBus,
                   std::ostream& log = std::cerr);
    ~SessionSensors();
    SessionSensors(const SessionSensors&) = delete;
    SessionSensors& operator=(const SessionSensors&) = delete;

    IdleTime& idleTime() { return *idle_; }
    FrontApp& frontApp() { return *frontApp_; }
    // Whether the focused window is full-screen; never, where the session
    // does not say.
    FullScreen& fullScreen() { return *fullScreen_; }
    PointerEvents& pointer() { return *pointer_; }
    // False when the session gives no way to know the focused application,
    // so she makes no app remarks.
    bool seesFrontApp() const { return seesFrontApp_; }

    // What sway says of its outputs (the areas its bars leave free, the
    // focused one); empty on every other session.
    std::vector<SwayIpc::Output> compositorOutputs() const;

    // The socket the shell watches for pointer movement; -1 when there is
    // nothing to watch.
    int pointerFd() const;
    // What the shell calls when that socket is readable; a pointerFd() of -1
    // afterwards means the X server went away and the watch should stop.
    void processPointerEvents();

private:
    void chooseWayland(Scheduler& scheduler, const QDBusConnection& sessionBus, std::ostream& log);

    std::shared_ptr<WaylandConnection> wayland_;  // before the sources that use it
    std::unique_ptr<IdleTime> idle_;
    std::unique_ptr<FrontApp> frontApp_;
    std::unique_ptr<FullScreen> fullScreen_;
    std::unique_ptr<PointerEvents> pointer_;
    X11PointerEvents* x11Pointer_ = nullptr;  // pointer_, on X11
    std::optional<SwayIpc> sway_;
    bool seesFrontApp_ = true;
};

}  // namespace pelliwig
