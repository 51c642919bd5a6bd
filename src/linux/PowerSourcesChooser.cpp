#include "linux/PowerSourcesChooser.h"

#include <utility>

#include "linux/dbus/UPowerSources.h"

namespace pelliwig {

std::unique_ptr<PowerSources> PowerSourcesChooser::choose(QDBusConnection systemBus,
                                                          Scheduler& scheduler,
                                                          const std::filesystem::path& sysfsRoot) {
    auto upower = std::make_unique<UPowerSources>(std::move(systemBus));
    if (upower->available()) return upower;
    return std::make_unique<SysfsPowerSources>(scheduler, sysfsRoot);
}

}  // namespace pelliwig
