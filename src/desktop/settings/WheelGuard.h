#pragma once

class QWidget;

namespace pelliwig {

// Steppers, sliders, pickers and time fields sit inside forms that scroll.
// Left alone they take the wheel while the pointer merely passes over them
// and quietly change a setting; guarded, they turn the wheel only once the
// user has focused them, and otherwise pass it on so the form scrolls. They
// are focused by a click or the Tab key only, never by the wheel.
void turnsOnlyWhenFocused(QWidget* control);

}  // namespace pelliwig
