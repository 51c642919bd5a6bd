#include "core/support/Uuid.h"

#include <cctype>
#include <random>

namespace pelliwig {

namespace {

bool isHyphenPosition(std::size_t i) {
    return i == 8 || i == 13 || i == 18 || i == 23;
}

}  // namespace

Uuid Uuid::random() {
    // Identities need to be unique, not reproducible, so they do not use the
    // injectable random source (that would shift tests' scripted choices).
    static std::mt19937_64 engine{std::random_device{}()};
    std::uniform_int_distribution<int> nibble(0, 15);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text(36, '-');
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isHyphenPosition(i)) continue;
        int value = nibble(engine);
        if (i == 14) value = 4;                  // version 4
        if (i == 19) value = 8 | (value & 0x3);  // RFC 4122 variant
        text[i] = kHex[value];
    }
    return Uuid(std::move(text));
}

std::optional<Uuid> Uuid::parse(std::string_view text) {
    if (text.size() != 36) return std::nullopt;
    std::string upper(text);
    for (std::size_t i = 0; i < upper.size(); ++i) {
        const auto c = static_cast<unsigned char>(upper[i]);
        if (isHyphenPosition(i)) {
            if (c != '-') return std::nullopt;
        } else if (!std::isxdigit(c)) {
            return std::nullopt;
        } else {
            upper[i] = static_cast<char>(std::toupper(c));
        }
    }
    return Uuid(std::move(upper));
}

}  // namespace pelliwig
