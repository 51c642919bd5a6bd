#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QTimeEdit;

namespace pelliwig {

// A time of day in hours and minutes, as whole minutes after midnight.
// setMinutes() only draws; minutesPicked() is the user's choice.
class TimeField : public QWidget {
    Q_OBJECT
public:
    // An empty label hides it (the field then sits in a row of its own).
    explicit TimeField(const QString& label, QWidget* parent = nullptr);

    void setMinutes(int minutes);
    int minutes() const;
    QTimeEdit* editor() const { return editor_; }

signals:
    void minutesPicked(int minutes);

private:
    QLabel* label_;
    QTimeEdit* editor_;
};

}  // namespace pelliwig
