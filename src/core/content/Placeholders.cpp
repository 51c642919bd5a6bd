#include "core/content/Placeholders.h"

namespace pelliwig {

namespace {

const std::string_view* valueOf(
    std::string_view name,
    std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    for (const auto& pair : values) {
        if (pair.first == name) return &pair.second;
    }
    return nullptr;
}

}  // namespace

std::string fillPlaceholders(
    std::string_view sentence,
    std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    std::string out;
    out.reserve(sentence.size());
    std::size_t pos = 0;
    while (pos < sentence.size()) {
        const auto open = sentence.find('{', pos);
        const auto close = open == std::string_view::npos ? open : sentence.find('}', open + 1);
        if (close == std::string_view::npos) break;
        out.append(sentence.substr(pos, open - pos));
        const auto* value = valueOf(sentence.substr(open + 1, close - open - 1), values);
        if (value != nullptr) {
            out.append(*value);
            pos = close + 1;
        } else {
            // Keep the brace and look again from the next character, so that
            // "{{n}" still finds "{n}".
            out.push_back('{');
            pos = open + 1;
        }
    }
    out.append(sentence.substr(pos));
    return out;
}

}  // namespace pelliwig
