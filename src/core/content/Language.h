#pragma once

#include <array>
#include <string_view>

#include "core/support/Enum.h"

namespace pelliwig {

// The language of every line she says.
enum class Language { english, hinglish };

template <>
struct EnumTraits<Language> {
    static constexpr std::array<std::string_view, 2> names{"english", "hinglish"};
};

}  // namespace pelliwig
