#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QVBoxLayout>
#include <QWidget>

#include "core/support/Uuid.h"

namespace pelliwig {

// The rows of one record list, one per record identity. Redrawing keeps the
// row widget of every record that is still there (so a field being typed in
// keeps its focus and cursor), adds rows for new records, drops the rows of
// removed ones and follows the list's order. Records sharing an id share the
// first one's row, as edits by identity reach only that one.
template <typename Record>
class RecordRows {
public:
    struct Row {
        QWidget* widget = nullptr;
        std::function<void(const Record&)> show;
    };
    using MakeRow = std::function<Row(const Uuid& id)>;

    RecordRows(QVBoxLayout* layout, MakeRow make) : layout_(layout), make_(std::move(make)) {}

    void show(const std::vector<Record>& records) {
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
};

}  // namespace pelliwig
