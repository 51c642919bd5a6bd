#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include "core/support/Uuid.h"
#include "desktop/settings/RecordEdits.h"

namespace pelliwig {

// The rows of one record list, one per record identity. Redrawing keeps the
// row widget of every record that is still there (so a field being typed in
// keeps its focus and cursor), adds rows for new records, drops the rows of
// removed ones and follows the list's order. Records sharing an id share the
// first one's row, as edits by identity reach only that one.
//
// A row added with "Add" is a draft until the user puts something in it:
// shown last and given the keyboard, but stored only with its first edit,
// so an empty row never becomes a record, and pressing "Add" again while the
// draft is empty brings the keyboard back to it instead of adding another.
template <typename Record>
class RecordRows {
public:
    struct Row {
        QWidget* widget = nullptr;
        std::function<void(const Record&)> show;
    };
    using MakeRow = std::function<Row(const Uuid& id)>;

    RecordRows(QVBoxLayout* layout, MakeRow make) : layout_(layout), make_(std::move(make)) {}

    void show(const std::vector<Record>& stored) {
        std::vector<Record> records = stored;
        if (draft_ && std::none_of(stored.begin(), stored.end(),
                                   [&](const Record& r) { return r.id == draft_->id; })) {
            records.push_back(*draft_);
        } else {
            draft_.reset();
        }
        std::map<std::string, Row> kept;
        int index = 0;
        for (const auto& record : records) {
            const std::string& key = record.id.text();
            if (kept.contains(key)) continue;
            Row row = takeOrMake(record.id);
            row.show(record);
            place(row.widget, index++);
            kept.emplace(key, std::move(row));
        }
        for (auto& [key, row] : rows_) drop(row.widget);
        rows_ = std::move(kept);
    }

    // Shows `record` as a draft (or the draft already shown) and gives its
    // first text field the keyboard. `stored` is the list as it is now.
    void addDraft(Record record, const std::vector<Record>& stored) {
        if (!draft_) draft_ = std::move(record);
        show(stored);
        QWidget* row = rowFor(draft_->id);
        if (!row) return;
        if (auto* field = row->findChild<QLineEdit*>()) {
            field->setFocus(Qt::OtherFocusReason);
        } else {
            row->setFocus(Qt::OtherFocusReason);
        }
    }

    // Applies `edit` to the stored record with `id`, or to the draft, which
    // is then stored with it at the end of the list.
    template <typename Cell, typename Edit>
    void edit(Cell& cell, const Uuid& id, Edit&& edit) {
        auto records = cell.get();
        if (editById(records, id, edit)) {
            cell.set(records);
        } else if (draft_ && draft_->id == id) {
            Record record = *std::exchange(draft_, std::nullopt);
            edit(record);
            records.push_back(std::move(record));
            cell.set(records);
        }
    }

    // Removes the record with `id`, or drops the draft.
    template <typename Cell>
    void remove(Cell& cell, const Uuid& id) {
        if (draft_ && draft_->id == id) {
            draft_.reset();
            show(cell.get());
            return;
        }
        removeRecord(cell, id);
    }

    bool hasDraft() const { return draft_.has_value(); }

    QWidget* rowFor(const Uuid& id) const {
        const auto it = rows_.find(id.text());
        return it == rows_.end() ? nullptr : it->second.widget;
    }
    std::size_t size() const { return rows_.size(); }

private:
    Row takeOrMake(const Uuid& id) {
        const auto it = rows_.find(id.text());
        if (it == rows_.end()) return make_(id);
        Row row = std::move(it->second);
        rows_.erase(it);
        return row;
    }

    void place(QWidget* widget, int index) {
        if (layout_->indexOf(widget) == index) return;
        layout_->removeWidget(widget);
        layout_->insertWidget(index, widget);
        widget->show();
    }

    // The row may be the sender of the click that removed it: delete later.
    void drop(QWidget* widget) {
        layout_->removeWidget(widget);
        widget->hide();
        widget->deleteLater();
    }

    QVBoxLayout* layout_;
    MakeRow make_;
    std::map<std::string, Row> rows_;
    std::optional<Record> draft_;
};

}  // namespace pelliwig
