#include "core/sensors/BatteryMonitor.h"

namespace pelliwig {

BatteryMonitor::BatteryMonitor(PowerSources& power) : power_(power) {
    subscription_ = power_.onChange([this] { refresh(false); });
    refresh(true);
}

void BatteryMonitor::refresh(bool initial) {
    for (const auto& source : power_.read()) apply(source, initial);
}

void BatteryMonitor::apply(const PowerSource& source, bool initial) {
    const bool external = source.onExternalPower;
    if (wasExternal_ == false) {
        if (external) {
            // Plugged in: announce it and re-arm the low warning.
            if (!initial && onCharger) onCharger();
            wasExternal_ = true;
            lowFired_ = false;
            return;
        }
    } else {
        // First reading, or still/again on the charger: only record it.
        wasExternal_ = external;
        if (external) {
            lowFired_ = false;
            return;
        }
    }
    const bool low = source.capacityPercent && *source.capacityPercent <= kLowPercent;
    if (!low || lowFired_) return;
    lowFired_ = true;
    if (!initial && onLow) onLow();
}

}  // namespace pelliwig
