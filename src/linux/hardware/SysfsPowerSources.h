#pragma once

#include <filesystem>
#include <vector>

#include "core/platform/PowerSources.h"
#include "core/platform/Scheduler.h"
#include "core/support/Signal.h"

namespace pelliwig {

// Batteries as the kernel lists them under /sys/class/power_supply, for
// systems without the UPower daemon. The files change without telling anyone,
// so they are read again every minute and a change is announced when the
// readings differ.
class SysfsPowerSources final : public PowerSources {
public:
    static constexpr const char* kDefaultRoot = "/sys/class/power_supply";
    static constexpr double kPollSeconds = 60;

    explicit SysfsPowerSources(Scheduler& scheduler, std::filesystem::path root = kDefaultRoot);

    // One source per battery that powers the machine (peripherals' batteries
    // are left out), in name order; empty when the folder cannot be read.
    std::vector<PowerSource> read() const override;
    Connection onChange(std::function<void()> callback) override;

private:
    void poll();

    std::filesystem::path root_;
    Signal<> changed_;
    std::vector<PowerSource> last_;
    TaskHandle polling_;
};

}  // namespace pelliwig
