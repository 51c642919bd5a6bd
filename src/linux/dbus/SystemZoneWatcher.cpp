#include "linux/dbus/SystemZoneWatcher.h"

#include <sys/stat.h>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QFileSystemWatcher>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <system_error>
#include <utility>

#include "linux/dbus/DBusSignalRelay.h"

namespace pelliwig {
namespace {

const QString kTimedate = QStringLiteral("org.freedesktop.timedate1");
const QString kTimedatePath = QStringLiteral("/org/freedesktop/timedate1");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

long long nanoseconds(const timespec& t) {
    return static_cast<long long>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

}  // namespace

SystemZoneWatcher::SystemZoneWatcher(QDBusConnection systemBus, std::function<void()> changed,
                                     std::filesystem::path localtime)
    : system_(std::move(systemBus)),
      changed_(std::move(changed)),
      localtime_(std::move(localtime)),
      files_(std::make_unique<QFileSystemWatcher>()),
      relay_(std::make_unique<DBusSignalRelay>(
          [this](const QDBusMessage& message) { handle(message); })) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    QObject::connect(&settle_, &QTimer::timeout, [this] { changed_(); });

    // The folder, because the link is replaced rather than changed; the file
    // too, for systems that copy the zone file in place.
    seen_ = versionNow();
    files_->addPath(QString::fromStdString(localtime_.parent_path().string()));
    watchFile();
    QObject::connect(files_.get(), &QFileSystemWatcher::directoryChanged,
                     [this](const QString&) { folderChanged(); });
    QObject::connect(files_.get(), &QFileSystemWatcher::fileChanged, [this](const QString&) {
        watchFile();
        seen_ = versionNow();
        settle_.start();
    });

    // From any sender: timedated starts on demand and leaves when idle, and
    // an extra look at the zone costs nothing.
    relay_->listen(system_, {}, kTimedatePath, kProperties, "PropertiesChanged");
}

SystemZoneWatcher::~SystemZoneWatcher() = default;

void SystemZoneWatcher::handle(const QDBusMessage& message) {
    const auto arguments = message.arguments();
    if (arguments.size() < 3 || arguments.at(0).toString() != kTimedate) return;
    const bool named = qdbus_cast<QVariantMap>(arguments.at(1)).contains("Timezone") ||
                       arguments.at(2).toStringList().contains("Timezone");
    if (named) settle_.start();
}

// Anything in /etc may have changed; only a new /etc/localtime is news.
void SystemZoneWatcher::folderChanged() {
    const Version now = versionNow();
    if (now == seen_) return;
    seen_ = now;
    watchFile();
    settle_.start();
}

// The watch is on the file the link led to when it was made: after a change
// it is made again, on what the link leads to now (once it exists).
void SystemZoneWatcher::watchFile() {
    const QString path = QString::fromStdString(localtime_.string());
    files_->removePath(path);
    files_->addPath(path);
}

SystemZoneWatcher::Version SystemZoneWatcher::versionNow() const {
    Version version;
    std::error_code error;
    version.target = std::filesystem::read_symlink(localtime_, error).string();
    struct stat link {};
    if (::lstat(localtime_.c_str(), &link) == 0) {
        version.linkInode = link.st_ino;
        version.linkModified = nanoseconds(link.st_mtim);
    }
    struct stat file {};
    if (::stat(localtime_.c_str(), &file) == 0) {
        version.fileInode = file.st_ino;
        version.fileModified = nanoseconds(file.st_mtim);
        version.size = file.st_size;
    }
    return version;
}

}  // namespace pelliwig
