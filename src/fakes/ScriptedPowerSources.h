#pragma once

#include <utility>

#include "core/platform/PowerSources.h"

namespace pelliwig {

// Power sources set by the test; set() changes them and notifies like the
// platform would.
class ScriptedPowerSources final : public PowerSources {
public:
    std::vector<PowerSource> read() const override { return sources_; }
    Connection onChange(std::function<void()> callback) override {
        return changed_.connect(std::move(callback));
    }

    void set(std::vector<PowerSource> sources) {
        sources_ = std::move(sources);
        changed_();
    }
    // One battery with that level, on battery or on external power.
    void battery(int percent, bool external = false) { set({PowerSource{percent, external}}); }
    // Changes the readings without notifying.
    void setQuietly(std::vector<PowerSource> sources) { sources_ = std::move(sources); }
    bool hasListeners() const { return !changed_.empty(); }

private:
    std::vector<PowerSource> sources_;
    Signal<> changed_;
};

}  // namespace pelliwig
