#pragma once

#include <QDBusConnection>

#include <memory>
#include <vector>

#include "core/platform/PowerSources.h"
#include "core/support/Signal.h"

class QDBusMessage;
class QDBusServiceWatcher;

namespace pelliwig {

class DBusSignalRelay;

// Batteries as the UPower daemon reports them on the system bus. Each battery
// that powers the machine is one source; peripherals' batteries (a mouse, a
// headset) are left out. External power is connected when the daemon says the
// machine is not on battery, or when a line-power device is online.
class UPowerSources final : public PowerSources {
public:
    // Uses `systemBus`; a connection that is not connected gives no readings
    // and no notifications.
    explicit UPowerSources(QDBusConnection systemBus);
    ~UPowerSources() override;
    UPowerSources(const UPowerSources&) = delete;
    UPowerSources& operator=(const UPowerSources&) = delete;

    // Whether the daemon answers now (starting it if the bus can).
    bool available() const;

    // Asks the daemon afresh each time; empty when it does not answer.
    std::vector<PowerSource> read() const override;

    // Notifies when the daemon or a device changes a property that bears on
    // the readings, when a device comes or goes, and when the daemon starts or
    // stops.
    Connection onChange(std::function<void()> callback) override;

    // How long one question to the daemon may take before it counts as
    // unanswered; the main thread waits meanwhile.
    static constexpr int kCallTimeoutMs = 1000;

private:
    void propertiesChanged(const QDBusMessage& message);

    QDBusConnection bus_;
    Signal<> changed_;
    std::unique_ptr<DBusSignalRelay> relay_;
    std::unique_ptr<QDBusServiceWatcher> watcher_;
};

}  // namespace pelliwig
