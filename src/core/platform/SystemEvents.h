#pragma once

#include <functional>

#include "core/support/Signal.h"

namespace pelliwig {

// The moments the user comes back to the machine.
class SystemEvents {
public:
    virtual ~SystemEvents() = default;

    // Calls back on the main thread each time the machine wakes from sleep or
    // the screen is unlocked; the connection unsubscribes when dropped.
    [[nodiscard]] virtual Connection onResumed(std::function<void()> callback) = 0;
};

}  // namespace pelliwig
