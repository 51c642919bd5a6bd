#include "linux/DesktopDoNotDisturb.h"

#include <algorithm>
#include <utility>

#include "linux/SessionTraits.h"
#include "linux/dbus/DBusWatchedFlag.h"
#include "linux/dbus/GSettingsDoNotDisturb.h"

namespace pelliwig {

DesktopDoNotDisturb::DesktopDoNotDisturb(QDBusConnection sessionBus) {
    if (SessionTraits::current().gnome) {
        if (auto gnome = GSettingsDoNotDisturb::open()) sources_.push_back(std::move(gnome));
    }
    sources_.push_back(notificationsInhibited(sessionBus));
    sources_.push_back(xfceDoNotDisturb(std::move(sessionBus)));
}

bool DesktopDoNotDisturb::on() const {
    return std::any_of(sources_.begin(), sources_.end(),
                       [](const auto& source) { return source->on(); });
}

}  // namespace pelliwig
