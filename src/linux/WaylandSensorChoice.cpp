#include "linux/WaylandSensorChoice.h"

#include <algorithm>

namespace pelliwig {

namespace {

bool offered(const WaylandOffers& offers, const char* interface) {
    return std::find(offers.globals.begin(), offers.globals.end(), interface) !=
           offers.globals.end();
}

}  // namespace

WaylandIdleSource idleSourceFor(const WaylandOffers& offers) {
    if (offered(offers, "ext_idle_notifier_v1")) return WaylandIdleSource::extIdleNotify;
    if (offered(offers, "org_kde_kwin_idle")) return WaylandIdleSource::kdeIdle;
    return WaylandIdleSource::desktopBus;
}

WaylandFrontAppSource frontAppSourceFor(const WaylandOffers& offers) {
    if (offered(offers, "zwlr_foreign_toplevel_manager_v1")) {
        return WaylandFrontAppSource::foreignToplevel;
    }
    if (offers.kwinScripting) return WaylandFrontAppSource::kwinScript;
    return WaylandFrontAppSource::none;
}

std::optional<std::string> missingFrontAppNotice(const WaylandOffers& offers) {
    if (frontAppSourceFor(offers) != WaylandFrontAppSource::none) return std::nullopt;
    return "pelliwig: this Wayland session offers neither zwlr_foreign_toplevel_manager_v1 nor "
           "KWin's scripting (org.kde.KWin on the session bus), so it does not tell which "
           "application is focused; app remarks are off";
}

}  // namespace pelliwig
