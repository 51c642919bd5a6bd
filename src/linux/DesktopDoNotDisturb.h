#pragma once

#include <QDBusConnection>

#include <memory>
#include <vector>

#include "core/platform/DoNotDisturb.h"

namespace pelliwig {

// Do not disturb as any desktop of the session keeps it: GNOME's
// show-banners, KDE's inhibited notification server, Xfce's notifyd. On
// when any of them says so; the ones a desktop does not have stay off.
class DesktopDoNotDisturb final : public DoNotDisturb {
public:
    explicit DesktopDoNotDisturb(QDBusConnection sessionBus);

    bool on() const override;

private:
    std::vector<std::unique_ptr<DoNotDisturb>> sources_;
};

}  // namespace pelliwig
