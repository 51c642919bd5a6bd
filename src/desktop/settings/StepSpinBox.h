#pragma once

#include <QSpinBox>

namespace pelliwig {

// A stepper whose values lie on its steps counted from the minimum: a typed
// value is taken to the nearest step (99 in a 5-minute stepper from 5 is
// 100), and the arrows from a value between steps (one stored before) land
// on the next step up or down. Typing is taken when it is done (Return, Tab,
// the focus leaving), so the value half typed is never written.
class StepSpinBox final : public QSpinBox {
    Q_OBJECT
public:
    explicit StepSpinBox(QWidget* parent = nullptr);

    // `value` on the steps of [minimum, maximum] by `step`; ties go up.
    static int snapped(int value, int minimum, int maximum, int step);

    void stepBy(int steps) override;

protected:
    int valueFromText(const QString& text) const override;
};

}  // namespace pelliwig
