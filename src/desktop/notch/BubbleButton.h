#pragma once

#include <QAbstractButton>

namespace pelliwig {

// A click target over part of the bubble's picture. The bubble draws the
// label; the button only takes the click, so it paints nothing itself.
class BubbleButton final : public QAbstractButton {
    Q_OBJECT

public:
    BubbleButton(const QString& objectName, const QString& label, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override {}
};

}  // namespace pelliwig
