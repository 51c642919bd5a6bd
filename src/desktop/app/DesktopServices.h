#pragma once

#include "desktop/app/AppDelegate.h"
#include "desktop/app/DisplayCheck.h"

namespace pelliwig {

// The real platform: the SQLite settings file, timers on the Qt event loop,
// the XDG autostart entry as the login item, HTTP over Qt Network for the
// update check, and her engine over this desktop's notch panel and sensors,
// or over its notifications where her panel cannot be shown.
AppServices desktopServices(DisplayCheck::Presentation presentation);

}  // namespace pelliwig
