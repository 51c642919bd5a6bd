#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace pelliwig {

// Replaces every "{name}" of the given names with its value, in one pass over
// the sentence: a value is never scanned again, so a user's label that
// happens to contain "{n}" is shown as typed. Braced names not listed, and
// unmatched braces, stay as they are.
std::string fillPlaceholders(
    std::string_view sentence,
    std::initializer_list<std::pair<std::string_view, std::string_view>> values);

}  // namespace pelliwig
