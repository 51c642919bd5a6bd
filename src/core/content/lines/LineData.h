#pragma once

#include <utility>
#include <vector>

#include "core/content/LineBank.h"

// Helpers for the line tables: each sentence is written once as an
// {english, hinglish} pair, so the two languages of a table can never drift
// apart in count or order.
namespace pelliwig::lines {

struct Pair {
    const char* english;
    const char* hinglish;
};

using Pairs = std::vector<Pair>;

template <typename Key>
using KeyedPairs = std::vector<std::pair<Key, Pairs>>;

LineBank::LanguageTable both(const Pairs& pairs);

template <typename Key>
LineBank::KeyedTable<Key> keyed(const KeyedPairs<Key>& entries) {
    LineBank::KeyedTable<Key> table;
    for (const auto& [key, pairs] : entries) table[key] = both(pairs);
    return table;
}

// Fills `english` and `hinglish` from one list of pairs per kind.
void setRegular(LineBank::Tables& tables, const KeyedPairs<ReminderKind>& entries);

// One function per data file.
void addRegularLines(LineBank::Tables& tables);
void addReplyLines(LineBank::Tables& tables);
void addHerWorldLines(LineBank::Tables& tables);
void addAppLines(LineBank::Tables& tables);

}  // namespace pelliwig::lines
