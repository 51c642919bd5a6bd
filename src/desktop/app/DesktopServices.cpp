#include "desktop/app/DesktopServices.h"

#include "core/settings/SqliteStore.h"
#include "desktop/app/DesktopEngine.h"
#include "desktop/support/ProcessHttpClient.h"
#include "desktop/support/QtScheduler.h"
#include "linux/XdgAutostart.h"

namespace pelliwig {

AppServices desktopServices() {
    AppServices services;
    services.store = std::make_unique<SqliteStore>(SqliteStore::defaultPath());
    services.scheduler = std::make_unique<QtScheduler>();
    services.loginItem = std::make_unique<XdgAutostart>();
    services.http = std::make_unique<ProcessHttpClient>();
    services.buildEngine = &buildDesktopEngine;
    return services;
}

}  // namespace pelliwig
