#pragma once

#include <QDBusConnection>
#include <QTimer>

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QDBusMessage;
class QFileSystemWatcher;

namespace pelliwig {

class DBusSignalRelay;

// Hears that the system's time zone may have changed: systemd-timedated
// announcing its Timezone property (system bus), or /etc/localtime being
// replaced or rewritten (by timedated, a package tool or the administrator).
// A burst of such news (the link replaced, then the announcement) is told
// once, a moment later, on the main thread.
class SystemZoneWatcher final {
public:
    // The connection may be unconnected; the file is watched all the same.
    SystemZoneWatcher(QDBusConnection systemBus, std::function<void()> changed,
                      std::filesystem::path localtime = "/etc/localtime");
    ~SystemZoneWatcher();
    SystemZoneWatcher(const SystemZoneWatcher&) = delete;
    SystemZoneWatcher& operator=(const SystemZoneWatcher&) = delete;

    // How long news waits for the rest of its burst.
    static constexpr int kSettleMs = 300;

private:
    // What tells one /etc/localtime from another: the link, its target and
    // the file read through it.
    struct Version {
        std::string target;
        ino_t linkInode = 0, fileInode = 0;
        long long linkModified = 0, fileModified = 0;
        off_t size = 0;
        bool operator==(const Version&) const = default;
    };

    void handle(const QDBusMessage& message);
    void folderChanged();
    void watchFile();
    Version versionNow() const;

    QDBusConnection system_;
    std::function<void()> changed_;
    std::filesystem::path localtime_;
    Version seen_;
    QTimer settle_;
    std::unique_ptr<QFileSystemWatcher> files_;
    std::unique_ptr<DBusSignalRelay> relay_;
};

}  // namespace pelliwig
