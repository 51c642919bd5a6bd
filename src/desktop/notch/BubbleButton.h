#pragma once

#include <QAbstractButton>

namespace pelliwig {

// A click target over part of the bubble's picture. The bubble draws the
// label; the button takes the click, and draws only a ring around it while
// it has the keyboard. It takes the keyboard from Tab alone, never from a
// click, so clicking her never steals the focus of the window in front.
class BubbleButton final : public QAbstractButton {
    Q_OBJECT

public:
    BubbleButton(const QString& objectName, const QString& label, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace pelliwig
