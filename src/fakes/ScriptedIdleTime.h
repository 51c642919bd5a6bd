#pragma once

#include "core/platform/IdleTime.h"

namespace pelliwig {

// Idle time set by the test.
class ScriptedIdleTime final : public IdleTime {
public:
    double seconds() const override { return idle; }

    double idle = 0;
};

}  // namespace pelliwig
