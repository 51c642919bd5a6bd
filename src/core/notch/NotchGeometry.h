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

    // Set once at start-up ("--no-notch") to treat every screen as notchless.
    static inline bool forceFallback = false;

    // Measured afresh from the screens, honouring forceFallback; none only when
    // the platform reports no screen at all. The substitute area goes where
    // `placement` says, below the desktop's top bar; at the top right it
    // leaves `reachRight` free right of it for what is drawn beside her.
    static std::optional<NotchGeometry> current(const Screens& screens,
                                                const NotchPlacement& placement = {},
                                                double reachRight = 0);
    static std::optional<NotchGeometry> current(const Screens& screens, bool ignoreNotch,
                                                const NotchPlacement& placement = {},
                                                double reachRight = 0);

    bool operator==(const NotchGeometry&) const = default;
};

}  // namespace pelliwig
