#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/support/Enum.h"

namespace pelliwig {

// Where along the top of her screen she lives when the screen has no notch.
enum class NotchPosition { topCentre, topLeft, topRight };

template <>
struct EnumTraits<NotchPosition> {
    static constexpr std::array<std::string_view, 3> names{"topCentre", "topLeft", "topRight"};
};

// Which screen she lives on, and where on it: the user's "Position" and
// "Screen" settings.
struct NotchPlacement {
    // The "Screen" setting's two choices besides a screen's own name.
    static constexpr std::string_view kPrimaryScreen = "primary";
    static constexpr std::string_view kPointerScreen = "pointer";

    NotchPosition position = NotchPosition::topCentre;
    // kPrimaryScreen, kPointerScreen, or the name of one screen; a name no
    // screen has now falls back to the primary one.
    std::string screen = std::string(kPrimaryScreen);

    bool operator==(const NotchPlacement&) const = default;
};

}  // namespace pelliwig
