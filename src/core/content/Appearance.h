#pragma once

#include <array>
#include <string_view>

#include "core/support/Enum.h"

namespace pelliwig {

// Which character sprite set is drawn.
enum class Appearance { zuzi, mom };

template <>
struct EnumTraits<Appearance> {
    static constexpr std::array<std::string_view, 2> names{"zuzi", "mom"};
};

}  // namespace pelliwig
