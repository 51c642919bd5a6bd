#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelliwig {

// Every enumeration that is stored or printed specialises EnumTraits with its
// case names in declaration order:
//
//   template <> struct EnumTraits<Mood> {
//       static constexpr std::array<std::string_view, 8> names{"happy", ...};
//   };
//
// The raw value of a case is its name; conversion back is exact and
// case-sensitive.
template <typename E>
struct EnumTraits;

template <typename E>
constexpr std::size_t caseCount() {
    return EnumTraits<E>::names.size();
}

template <typename E>
constexpr std::string_view rawValue(E e) {
    return EnumTraits<E>::names[static_cast<std::size_t>(e)];
}

template <typename E>
std::optional<E> fromRawValue(std::string_view raw) {
    const auto& names = EnumTraits<E>::names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == raw) return static_cast<E>(i);
    }
    return std::nullopt;
}

// All cases in declaration order.
template <typename E>
std::vector<E> allCases() {
    std::vector<E> cases;
    cases.reserve(caseCount<E>());
    for (std::size_t i = 0; i < caseCount<E>(); ++i) cases.push_back(static_cast<E>(i));
    return cases;
}

template <typename E>
std::string rawString(E e) {
    return std::string(rawValue(e));
}

}  // namespace pelliwig
