#include "linux/dbus/UPowerSources.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QStringList>
#include <QVariantMap>

#include <algorithm>
#include <cmath>
#include <optional>

#include "linux/dbus/DBusSignalRelay.h"

namespace pelliwig {
namespace {

const QString kService = QStringLiteral("org.freedesktop.UPower");
const QString kPath = QStringLiteral("/org/freedesktop/UPower");
const QString kInterface = QStringLiteral("org.freedesktop.UPower");
const QString kDeviceInterface = QStringLiteral("org.freedesktop.UPower.Device");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// UPower's device kinds and battery states that matter here.
constexpr uint kBatteryType = 2;
constexpr uint kCharging = 1;
constexpr uint kFullyCharged = 4;
constexpr uint kPendingCharge = 5;

// The properties a reading depends on; other changes (energy, rates, time
// estimates, several a minute) are not worth a notification.
const QStringList kRelevant = {"Type",  "PowerSupply", "IsPresent", "Percentage",
                               "State", "Online",      "OnBattery"};

std::optional<QDBusMessage> ask(const QDBusConnection& bus, const QDBusMessage& call) {
    if (!bus.isConnected()) return std::nullopt;
    // Block rather than run the event loop, so no other handler runs while a
    // reading is half taken.
    QDBusMessage reply = bus.call(call, QDBus::Block, UPowerSources::kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return std::nullopt;
    }
    return reply;
}

std::optional<std::vector<QString>> devicePaths(const QDBusConnection& bus) {
    const auto reply =
        ask(bus, QDBusMessage::createMethodCall(kService, kPath, kInterface, "EnumerateDevices"));
    if (!reply) return std::nullopt;
    std::vector<QString> paths;
    const auto arg = reply->arguments().at(0);
    if (!arg.canConvert<QDBusArgument>()) return paths;
    for (const auto& path : qdbus_cast<QList<QDBusObjectPath>>(arg)) paths.push_back(path.path());
    std::ranges::sort(paths);  // the daemon's order may change between calls
    return paths;
}

std::optional<QVariantMap> properties(const QDBusConnection& bus, const QString& path,
                                      const QString& interface) {
    auto call = QDBusMessage::createMethodCall(kService, path, kProperties, "GetAll");
    call << interface;
    const auto reply = ask(bus, call);
    if (!reply || !reply->arguments().at(0).canConvert<QDBusArgument>()) return std::nullopt;
    return qdbus_cast<QVariantMap>(reply->arguments().at(0));
}

// A battery that powers this machine and is in its bay.
bool systemBattery(const QVariantMap& device) {
    return device.value("Type").toUInt() == kBatteryType &&
           device.value("PowerSupply", true).toBool() && device.value("IsPresent", true).toBool();
}

std::optional<int> capacity(const QVariantMap& device) {
    bool ok = false;
    const double percent = device.value("Percentage").toDouble(&ok);
    if (!ok || !std::isfinite(percent)) return std::nullopt;
    return static_cast<int>(std::lround(std::clamp(percent, 0.0, 100.0)));
}

bool charging(const QVariantMap& device) {
    const uint state = device.value("State").toUInt();
    return state == kCharging || state == kFullyCharged || state == kPendingCharge;
}

}  // namespace

UPowerSources::UPowerSources(QDBusConnection systemBus)
    : bus_(std::move(systemBus)),
      relay_(std::make_unique<DBusSignalRelay>([this](const QDBusMessage& message) {
          if (message.member() == "PropertiesChanged") {
              propertiesChanged(message);
          } else {
              changed_();
          }
      })) {
    relay_->listen(bus_, kService, {}, kProperties, "PropertiesChanged");
    relay_->listen(bus_, kService, kPath, kInterface, "DeviceAdded");
    relay_->listen(bus_, kService, kPath, kInterface, "DeviceRemoved");
    if (bus_.isConnected()) {
        watcher_ = std::make_unique<QDBusServiceWatcher>(kService, bus_,
                                                         QDBusServiceWatcher::WatchForOwnerChange);
        QObject::connect(watcher_.get(), &QDBusServiceWatcher::serviceOwnerChanged, relay_.get(),
                         [this] { changed_(); });
    }
}

UPowerSources::~UPowerSources() = default;

bool UPowerSources::available() const {
    return devicePaths(bus_).has_value();
}

std::vector<PowerSource> UPowerSources::read() const {
    const auto paths = devicePaths(bus_);
    if (!paths) return {};
    bool lineOnline = false;
    bool anyCharging = false;
    std::vector<std::optional<int>> capacities;
    for (const auto& path : *paths) {
        const auto device = properties(bus_, path, kDeviceInterface);
        if (!device) continue;
        lineOnline = lineOnline || device->value("Online").toBool();
        if (!systemBattery(*device)) continue;
        capacities.push_back(capacity(*device));
        anyCharging = anyCharging || charging(*device);
    }
    // The daemon's verdict when it gives one; otherwise the batteries' own.
    const auto daemon = properties(bus_, kPath, kInterface);
    const bool onBattery = daemon && daemon->contains("OnBattery")
                               ? daemon->value("OnBattery").toBool()
                               : !anyCharging;
    std::vector<PowerSource> sources;
    for (const auto& percent : capacities) sources.push_back({percent, lineOnline || !onBattery});
    return sources;
}

Connection UPowerSources::onChange(std::function<void()> callback) {
    return changed_.connect(std::move(callback));
}

void UPowerSources::propertiesChanged(const QDBusMessage& message) {
    const auto args = message.arguments();
    if (args.size() < 3 || message.path().endsWith("/DisplayDevice")) return;
    const QString interface = args.at(0).toString();
    if (interface != kInterface && interface != kDeviceInterface) return;
    const auto changed = qdbus_cast<QVariantMap>(args.at(1));
    const auto invalidated = qdbus_cast<QStringList>(args.at(2));
    const bool relevant = std::ranges::any_of(kRelevant, [&](const QString& name) {
        return changed.contains(name) || invalidated.contains(name);
    });
    if (relevant) changed_();
}

}  // namespace pelliwig
