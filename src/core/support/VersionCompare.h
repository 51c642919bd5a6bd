#pragma once

#include <compare>
#include <string_view>

namespace pelliwig {

// Orders version texts the way people read them: runs of digits compare by
// their value ("1.10" after "1.9", "1.02" same as "1.2"), everything else by
// character code, and a text that is a prefix of the other comes first
// ("1.0" before "1.0.1"). Independent of the locale.
std::strong_ordering compareVersions(std::string_view a, std::string_view b);

}  // namespace pelliwig
