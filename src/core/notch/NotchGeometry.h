#pragma once

#include <optional>

#include "core/platform/Screens.h"
#include "core/settings/NotchPlacement.h"
#include "core/support/Geometry.h"

namespace pelliwig {

// Where she lives: the notch of a screen, or on a screen without one a
// substitute area at the top centre that everything else treats as a notch.
struct NotchGeometry {
    static constexpr double kFallbackWidth = 200;

    Screen screen;
    Rect notchRect;
    bool hasNotch = false;  // false for the substitute area
    // What is drawn beside her (the bubble) goes to her left rather than her
    // right: at the top right she sits in the corner, and it opens inwards.
    bool opensLeft = false;

    // Set once at start-up ("--no-notch") to treat every screen as notchless.
    static inline bool forceFallback = false;

    // Measured afresh from the screens, honouring forceFallback; none only when
    // the platform reports no screen at all. The substitute area goes where
    // `placement` says, below the desktop's top bar, in the corner at the top
    // left and the top right.
    static std::optional<NotchGeometry> current(const Screens& screens,
                                                const NotchPlacement& placement = {});
    static std::optional<NotchGeometry> current(const Screens& screens, bool ignoreNotch,
                                                const NotchPlacement& placement = {});

    bool operator==(const NotchGeometry&) const = default;
};

}  // namespace pelliwig
