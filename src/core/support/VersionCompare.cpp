#include "core/support/VersionCompare.h"

#include <cstddef>

namespace pelliwig {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The run of digits starting at `at`, without leading zeros; `at` moves past
// the run. Kept as text so no run is too long to compare.
std::string_view takeNumber(std::string_view text, std::size_t& at) {
    std::size_t start = at;
    while (at < text.size() && isDigit(text[at])) ++at;
    while (start < at && text[start] == '0') ++start;
    return text.substr(start, at - start);
}

std::strong_ordering compareNumbers(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return a.size() <=> b.size();
    return a.compare(b) <=> 0;
}

}  // namespace

std::strong_ordering compareVersions(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const auto order = compareNumbers(takeNumber(a, i), takeNumber(b, j));
            if (order != 0) return order;
            continue;
        }
        const auto order = static_cast<unsigned char>(a[i]) <=> static_cast<unsigned char>(b[j]);
        if (order != 0) return order;
        ++i;
        ++j;
    }
    return (a.size() - i) <=> (b.size() - j);
}

}  // namespace pelliwig
