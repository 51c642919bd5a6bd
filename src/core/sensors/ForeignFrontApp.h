#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/platform/FrontApp.h"

namespace pelliwig {

// The focused application other than herself. While one of her own windows
// (settings, welcome, her menu) has the focus, the application that had it
// before still counts as the one in front: opening her settings is no app
// switch to remark on, and closing them is no switch back.
class ForeignFrontApp final : public FrontApp {
public:
    using OwnWindowFocused = std::function<bool()>;

    ForeignFrontApp(const FrontApp& focused, OwnWindowFocused ownWindowFocused);

    std::optional<std::string> name() const override;

private:
    const FrontApp& focused_;
    OwnWindowFocused ownWindowFocused_;
    mutable std::optional<std::string> lastForeign_;
};

}  // namespace pelliwig
