#pragma once

#include <memory>

#include "desktop/app/AppDelegate.h"
#include "desktop/app/DisplayCheck.h"
#include "desktop/app/EngineFacade.h"

namespace pelliwig {

// Her engine on this desktop: the notch panel over the primary screen with
// its controller, then the engine over the session's sensors (idle time,
// focused application, full screen and pointer), the desktop's do not
// disturb, the power sources, the cameras and microphones, the calendar
// files and the wake and unlock events. With `notifications` her moments go
// to the desktop's notifications and the panel is never shown.
std::unique_ptr<EngineFacade> buildDesktopEngine(
    const EngineContext& context,
    DisplayCheck::Presentation presentation = DisplayCheck::Presentation::notch);

}  // namespace pelliwig
