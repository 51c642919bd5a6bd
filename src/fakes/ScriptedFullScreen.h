#pragma once

#include "core/platform/FullScreen.h"

namespace pelliwig {

// Whether the focused window is full-screen, set by the test.
class ScriptedFullScreen final : public FullScreen {
public:
    bool focusedWindowIsFullScreen() const override { return current; }

    bool current = false;
};

}  // namespace pelliwig
