#pragma once

#include <utility>

#include "core/platform/SystemEvents.h"

namespace pelliwig {

// Wake and unlock, raised by the test.
class ScriptedSystemEvents final : public SystemEvents {
public:
    Connection onResumed(std::function<void()> callback) override {
        return resumed_.connect(std::move(callback));
    }

    // The machine woke or the screen was unlocked.
    void resume() { resumed_(); }
    bool hasListeners() const { return !resumed_.empty(); }

private:
    Signal<> resumed_;
};

}  // namespace pelliwig
