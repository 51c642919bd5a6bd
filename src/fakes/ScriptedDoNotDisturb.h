#pragma once

#include "core/platform/DoNotDisturb.h"

namespace pelliwig {

// The desktop's do-not-disturb switch, set by the test.
class ScriptedDoNotDisturb final : public DoNotDisturb {
public:
    bool on() const override { return current; }

    bool current = false;
};

}  // namespace pelliwig
