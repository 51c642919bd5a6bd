#pragma once

#include <QToolButton>

namespace pelliwig {

// The borderless "minus in a circle" button that removes one list row.
class RemoveButton : public QToolButton {
    Q_OBJECT
public:
    explicit RemoveButton(QWidget* parent = nullptr);
};

// An add button: a title and a plus.
QToolButton* addButton(const QString& title, QWidget* parent = nullptr);

}  // namespace pelliwig
