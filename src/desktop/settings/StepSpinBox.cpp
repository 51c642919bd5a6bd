#include "desktop/settings/StepSpinBox.h"

#include <algorithm>

#include <QStyle>

namespace pelliwig {

StepSpinBox::StepSpinBox(QWidget* parent) : QSpinBox(parent) {
    setKeyboardTracking(false);
}

int StepSpinBox::snapped(int value, int minimum, int maximum, int step) {
    if (step <= 1 || maximum <= minimum) {
        return std::clamp(value, minimum, std::max(minimum, maximum));
    }
    // The highest step inside the range, which the maximum need not be.
    const int top = minimum + (maximum - minimum) / step * step;
    const int offset = std::clamp(value, minimum, top) - minimum;
    return minimum + (offset + step / 2) / step * step;
}

int StepSpinBox::valueFromText(const QString& text) const {
    return snapped(QSpinBox::valueFromText(text), minimum(), maximum(), singleStep());
}

void StepSpinBox::stepBy(int steps) {
    // Digits typed and not yet taken count first, as they would in a plain
    // spin box; a value shown as it is stored is left as it is.
    if (cleanText() != textFromValue(value())) interpretText();
    const int step = singleStep();
    const int below = minimum() + std::max(0, value() - minimum()) / std::max(1, step) * step;
    // Between two steps, the first step up or down is to the neighbour.
    int target = below + steps * step;
    if (below != value() && steps < 0) target += step;
    setValue(snapped(target, minimum(), maximum(), step));
    if (style()->styleHint(QStyle::SH_SpinBox_SelectOnStep, nullptr, this)) selectAll();
}

}  // namespace pelliwig
