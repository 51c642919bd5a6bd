#pragma once

#include <array>
#include <string_view>

#include "core/support/Enum.h"

namespace pelliwig {

// The named animations a change of the notch model runs with. Core only names
// them; the view turns each into a curve of its toolkit.
enum class ThemeAnimation {
    none,           // applied at once
    showSpring,     // she comes out, the bubble appears, a moment is swapped
    bubbleOut,      // the bubble goes away
    hideAnimation,  // she goes back into the notch
};

template <>
struct EnumTraits<ThemeAnimation> {
    static constexpr std::array<std::string_view, 4> names{"none", "showSpring", "bubbleOut",
                                                           "hideAnimation"};
};

// The parameters of a named animation, so every view draws the same motion.
struct AnimationCurve {
    enum class Shape { instant, spring, easeIn, easeInOut };

    Shape shape = Shape::instant;
    double duration = 0;         // seconds; eased curves only
    double response = 0;         // seconds for one oscillation; springs only
    double dampingFraction = 0;  // 1 settles without overshoot; springs only
    double blendDuration = 0;    // springs only

    bool operator==(const AnimationCurve&) const = default;
};

constexpr AnimationCurve curveOf(ThemeAnimation animation) {
    using Shape = AnimationCurve::Shape;
    switch (animation) {
        case ThemeAnimation::none:
            return {};
        case ThemeAnimation::showSpring:
            return {.shape = Shape::spring, .response = 0.45, .dampingFraction = 0.78};
        case ThemeAnimation::bubbleOut:
            return {.shape = Shape::easeIn, .duration = 0.18};
        case ThemeAnimation::hideAnimation:
            return {.shape = Shape::easeInOut, .duration = 0.42};
    }
    return {};
}

}  // namespace pelliwig
