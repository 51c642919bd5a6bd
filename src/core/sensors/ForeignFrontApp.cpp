#include "core/sensors/ForeignFrontApp.h"

#include <utility>

namespace pelliwig {

ForeignFrontApp::ForeignFrontApp(const FrontApp& focused, OwnWindowFocused ownWindowFocused)
    : focused_(focused), ownWindowFocused_(std::move(ownWindowFocused)) {}

std::optional<std::string> ForeignFrontApp::name() const {
    if (ownWindowFocused_ && ownWindowFocused_()) return lastForeign_;
    lastForeign_ = focused_.name();
    return lastForeign_;
}

}  // namespace pelliwig
