#include "linux/SessionSensors.h"

#include <cstdlib>
#include <utility>

#include "linux/WaylandSensorChoice.h"
#include "linux/dbus/DBusIdleTime.h"
#include "linux/dbus/KWinScriptFrontApp.h"
#include "linux/wayland/WaylandConnection.h"
#include "linux/wayland/WaylandFrontApp.h"
#include "linux/wayland/WaylandIdleTime.h"
#include "linux/x11/X11FrontApp.h"
#include "linux/x11/X11FullScreen.h"
#include "linux/x11/X11IdleTime.h"
#include "linux/x11/X11PointerEvents.h"
#include "linux/x11/XcbConnection.h"

namespace pelliwig {

namespace {

class NoFrontApp final : public FrontApp {
public:
    std::optional<std::string> name() const override { return std::nullopt; }
};

class NoFullScreen final : public FullScreen {
public:
    bool focusedWindowIsFullScreen() const override { return false; }
};

// Whether the activated toplevel is full-screen, as the window list that names
// the focused application tells it.
class ToplevelFullScreen final : public FullScreen {
public:
    explicit ToplevelFullScreen(const WaylandFrontApp& windows) : windows_(windows) {}
    bool focusedWindowIsFullScreen() const override { return windows_.activatedFullscreen(); }

private:
    const WaylandFrontApp& windows_;
};

// Whether the active window is full-screen, as her KWin script reports it.
class ScriptFullScreen final : public FullScreen {
public:
    explicit ScriptFullScreen(const KWinScriptFrontApp& kwin) : kwin_(kwin) {}
    bool focusedWindowIsFullScreen() const override { return kwin_.activatedFullScreen(); }

private:
    const KWinScriptFrontApp& kwin_;
};

class NoPointerEvents final : public PointerEvents {
public:
    Connection onMove(std::function<void(Point)>) override { return {}; }
};

}  // namespace

SessionSensors::SessionSensors(SessionKind kind, Scheduler& scheduler, QDBusConnection sessionBus,
                               std::ostream& log) {
    if (kind == SessionKind::X11) {
        auto connection = std::make_shared<XcbConnection>();
        idle_ = std::make_unique<X11IdleTime>(connection);
        frontApp_ = std::make_unique<X11FrontApp>(connection);
        fullScreen_ = std::make_unique<X11FullScreen>(connection);
        auto pointer = std::make_unique<X11PointerEvents>(scheduler);
        x11Pointer_ = pointer.get();
        pointer_ = std::move(pointer);
        return;
    }
    // XWayland would only show X clients' windows and input, which would
    // make a Wayland-native application look like no application at all.
    chooseWayland(scheduler, sessionBus, log);
    pointer_ = std::make_unique<NoPointerEvents>();
    log << "pelliwig: this Wayland session does not tell other programs where the pointer is "
           "outside their windows; going on without it\n";
}

void SessionSensors::chooseWayland(Scheduler& scheduler, const QDBusConnection& sessionBus,
                                   std::ostream& log) {
    wayland_ = std::make_shared<WaylandConnection>();
    fullScreen_ = std::make_unique<NoFullScreen>();
    // XWayland publishes no work area on sway: its IPC tells where the bars are.
    if (SwayIpc sway; sway.answers()) sway_ = sway;
    const WaylandOffers offers{wayland_->interfaces(), KWinScriptFrontApp::offered(sessionBus)};
    switch (idleSourceFor(offers)) {
        case WaylandIdleSource::extIdleNotify:
            idle_ = std::make_unique<WaylandIdleTime>(
                wayland_, WaylandIdleTime::Protocol::extIdleNotify, scheduler);
            break;
        case WaylandIdleSource::kdeIdle:
            idle_ = std::make_unique<WaylandIdleTime>(wayland_, WaylandIdleTime::Protocol::kdeIdle,
                                                      scheduler);
            break;
        case WaylandIdleSource::desktopBus:
            idle_ = std::make_unique<DBusIdleTime>(sessionBus);
            break;
    }
    switch (frontAppSourceFor(offers)) {
        case WaylandFrontAppSource::foreignToplevel: {
            auto windows = std::make_unique<WaylandFrontApp>(wayland_);
            fullScreen_ = std::make_unique<ToplevelFullScreen>(*windows);
            frontApp_ = std::move(windows);
            return;
        }
        case WaylandFrontAppSource::kwinScript:
            if (auto kwin = std::make_unique<KWinScriptFrontApp>(sessionBus); kwin->watching()) {
                fullScreen_ = std::make_unique<ScriptFullScreen>(*kwin);
                frontApp_ = std::move(kwin);
                return;
            }
            log << "pelliwig: KWin did not run the script that reports the focused application "
                   "(org.kde.KWin /Scripting); app remarks are off\n";
            break;
        case WaylandFrontAppSource::none:
            log << *missingFrontAppNotice(offers) << '\n';
            break;
    }
    frontApp_ = std::make_unique<NoFrontApp>();
    seesFrontApp_ = false;
}

SessionSensors::~SessionSensors() = default;

std::vector<SwayIpc::Output> SessionSensors::compositorOutputs() const {
    return sway_ ? sway_->outputs() : std::vector<SwayIpc::Output>{};
}

int SessionSensors::pointerFd() const {
    return x11Pointer_ ? x11Pointer_->fd() : -1;
}

void SessionSensors::processPointerEvents() {
    if (x11Pointer_) x11Pointer_->processEvents();
}

}  // namespace pelliwig
