#include "desktop/app/DesktopServices.h"

#include "core/settings/SqliteStore.h"
#include "core/support/DefaultZone.h"
#include "core/support/TimeLocale.h"
#include "desktop/app/DesktopEngine.h"
#include "desktop/support/ProcessHttpClient.h"
#include "desktop/support/QtScheduler.h"
#include "linux/x11/X11GlobalShortcut.h"
#include "linux/xdg/XdgAutostart.h"

namespace pelliwig {

AppServices desktopServices(DisplayCheck::Presentation presentation) {
    // Her calendar before anything reads it: weeks by LC_TIME, and the zone
    // as the C library reads $TZ (ICU alone takes a path in it for a fixed
    // offset without daylight saving).
    TimeLocale::useEnvironment();
    DefaultZone::followSystem();
    AppServices services;
    services.store = std::make_unique<SqliteStore>(SqliteStore::defaultPath());
    services.scheduler = std::make_unique<QtScheduler>();
    services.loginItem = std::make_unique<XdgAutostart>();
    services.http = std::make_unique<ProcessHttpClient>();
    services.buildEngine = [presentation](const EngineContext& context) {
        return buildDesktopEngine(context, presentation);
    };
    services.inNotifications = presentation == DisplayCheck::Presentation::notifications;
    // A key grab needs an X server.
    if (presentation == DisplayCheck::Presentation::notch) {
        services.shortcut = std::make_unique<X11GlobalShortcut>();
    }
    return services;
}

}  // namespace pelliwig
