#pragma once

#include <functional>
#include <optional>

#include "core/platform/PowerSources.h"
#include "core/support/Signal.h"

namespace pelliwig {

// Turns power-source readings into two events: the battery ran low (once per
// discharge) and a charger was connected (each time).
class BatteryMonitor {
public:
    // Subscribes to changes and takes a first reading that only records the
    // state: starting low on battery does not call onLow.
    explicit BatteryMonitor(PowerSources& power);
    BatteryMonitor(const BatteryMonitor&) = delete;
    BatteryMonitor& operator=(const BatteryMonitor&) = delete;

    std::function<void()> onLow;
    std::function<void()> onCharger;

    static constexpr int kLowPercent = 20;

private:
    void refresh(bool initial);
    void apply(const PowerSource& source, bool initial);

    PowerSources& power_;
    bool lowFired_ = false;  // low already reported for this discharge
    std::optional<bool> wasExternal_;
    Connection subscription_;
};

}  // namespace pelliwig
