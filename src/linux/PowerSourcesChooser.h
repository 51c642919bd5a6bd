#pragma once

#include <QDBusConnection>

#include <filesystem>
#include <memory>

#include "core/platform/PowerSources.h"
#include "core/platform/Scheduler.h"
#include "linux/hardware/SysfsPowerSources.h"

namespace pelliwig {

// Picks the power sources of this machine once, at start-up.
class PowerSourcesChooser {
public:
    // The UPower daemon when it answers on `systemBus` now, otherwise the
    // kernel's power-supply files under `sysfsRoot`, polled on `scheduler`.
    // UPower restarting later is followed by its own source; a machine
    // without it does not grow it while we run.
    static std::unique_ptr<PowerSources> choose(
        QDBusConnection systemBus, Scheduler& scheduler,
        const std::filesystem::path& sysfsRoot = SysfsPowerSources::kDefaultRoot);
};

}  // namespace pelliwig
