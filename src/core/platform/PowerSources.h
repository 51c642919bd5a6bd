#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "core/support/Signal.h"

namespace pelliwig {

// One battery or power supply as last read.
struct PowerSource {
    std::optional<int> capacityPercent;  // nothing when not reported
    bool onExternalPower = false;

    bool operator==(const PowerSource&) const = default;
};

// Batteries and chargers.
class PowerSources {
public:
    virtual ~PowerSources() = default;

    // Every source that could be read, in a stable order; empty when power
    // information is unavailable.
    virtual std::vector<PowerSource> read() const = 0;

    // Calls back on the main thread whenever a source changes; the connection
    // unsubscribes when dropped.
    [[nodiscard]] virtual Connection onChange(std::function<void()> callback) = 0;
};

}  // namespace pelliwig
