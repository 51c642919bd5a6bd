#include "core/content/lines/LineData.h"

namespace pelliwig::lines {

LineBank::LanguageTable both(const Pairs& pairs) {
    LineBank::LanguageTable table;
    auto& english = table[Language::english];
    auto& hinglish = table[Language::hinglish];
    for (const auto& pair : pairs) {
        english.emplace_back(pair.english);
        hinglish.emplace_back(pair.hinglish);
    }
    return table;
}

void setRegular(LineBank::Tables& tables, const KeyedPairs<ReminderKind>& entries) {
    for (const auto& [kind, pairs] : entries) {
        auto table = both(pairs);
        tables.english[kind] = std::move(table[Language::english]);
        tables.hinglish[kind] = std::move(table[Language::hinglish]);
    }
}

}  // namespace pelliwig::lines
