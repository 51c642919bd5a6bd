#pragma once

#include "core/platform/FrontApp.h"

namespace pelliwig {

// The focused application's name, set by the test.
class ScriptedFrontApp final : public FrontApp {
public:
    std::optional<std::string> name() const override { return current; }

    std::optional<std::string> current;
};

}  // namespace pelliwig
