#pragma once

#include "desktop/app/AppDelegate.h"

namespace pelliwig {

// The real platform: the SQLite settings file, timers on the Qt event loop,
// the XDG autostart entry as the login item, and her engine over this
// desktop's notch panel and sensors.
AppServices desktopServices();

}  // namespace pelliwig
