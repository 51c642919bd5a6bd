#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "core/support/Uuid.h"

namespace pelliwig {

// List edits by record identity, so a row keeps editing its own record even
// when others were added or removed since it was drawn.

// Applies `edit` to the first record with `id`; false when there is none
// (the record was removed elsewhere and nothing should be written).
template <typename Record, typename Edit>
bool editById(std::vector<Record>& records, const Uuid& id, Edit&& edit) {
    const auto it =
        std::find_if(records.begin(), records.end(), [&](const Record& r) { return r.id == id; });
    if (it == records.end()) return false;
    std::forward<Edit>(edit)(*it);
    return true;
}

// Removes every record with `id`, keeping the others in their order.
template <typename Record>
bool removeById(std::vector<Record>& records, const Uuid& id) {
    return std::erase_if(records, [&](const Record& r) { return r.id == id; }) > 0;
}

// The list without any `item`, and with it appended at the end when `on`:
// switching an entry on always moves it last.
template <typename T>
std::vector<T> withMembership(std::vector<T> list, const T& item, bool on) {
    std::erase(list, item);
    if (on) list.push_back(item);
    return list;
}

// The same edits on a stored list: read, change, write back once. Nothing is
// written when the record is gone.
template <typename Cell, typename Edit>
void editRecord(Cell& cell, const Uuid& id, Edit&& edit) {
    auto records = cell.get();
    if (editById(records, id, std::forward<Edit>(edit))) cell.set(records);
}

template <typename Cell>
void removeRecord(Cell& cell, const Uuid& id) {
    auto records = cell.get();
    if (removeById(records, id)) cell.set(records);
}

template <typename Cell, typename Record>
void appendRecord(Cell& cell, Record record) {
    auto records = cell.get();
    records.push_back(std::move(record));
    cell.set(records);
}

}  // namespace pelliwig
