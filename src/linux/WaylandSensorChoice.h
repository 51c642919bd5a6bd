#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pelliwig {

// What a Wayland session offers other programs that tells idle time and the
// focused application.
struct WaylandOffers {
    std::vector<std::string> globals;  // the compositor's global interfaces
    bool kwinScripting = false;        // org.kde.KWin on the session bus

    bool operator==(const WaylandOffers&) const = default;
};

enum class WaylandIdleSource {
    extIdleNotify,  // ext_idle_notifier_v1
    kdeIdle,        // org_kde_kwin_idle
    desktopBus,     // Mutter's IdleMonitor, then the freedesktop ScreenSaver
};

enum class WaylandFrontAppSource {
    foreignToplevel,  // zwlr_foreign_toplevel_manager_v1
    kwinScript,       // a KWin script over D-Bus
    none,
};

// The first of ext_idle_notifier_v1, org_kde_kwin_idle and the desktop's
// D-Bus services that the session offers; the D-Bus services when nothing else is.
WaylandIdleSource idleSourceFor(const WaylandOffers& offers);
WaylandFrontAppSource frontAppSourceFor(const WaylandOffers& offers);

// The one log line for a session that offers no source of the focused
// application (GNOME), naming what is missing; nothing when one is offered.
std::optional<std::string> missingFrontAppNotice(const WaylandOffers& offers);

}  // namespace pelliwig
