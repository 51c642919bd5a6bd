#include "linux/dbus/KWinScriptFrontApp.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>

#include <utility>

namespace pelliwig {

namespace {

constexpr const char* kScriptingPath = "/Scripting";
constexpr const char* kScriptingInterface = "org.kde.kwin.Scripting";
constexpr int kTimeoutMs = 2000;

// KWin 5 names the window a client and KWin 6 a window; the script works
// with both. Empty texts stand for "no window". It follows the active
// window's full-screen state too, which changes without a new activation.
constexpr const char* kScriptText =
    R"(// Tells Pelliwig which application is active; she loads and removes it.
function text(value) { return value ? String(value) : ""; }
var watched = null;
function report() {
    var window = watched;
    callDBus("%1", "%2", "app.pelliwig.FrontApp", "activated",
             window ? text(window.resourceClass) : "", window ? text(window.desktopFileName) : "",
             window ? Boolean(window.fullScreen) : false);
}
function follow(window) {
    if (watched && watched.fullScreenChanged) watched.fullScreenChanged.disconnect(report);
    watched = window;
    if (window && window.fullScreenChanged) window.fullScreenChanged.connect(report);
    report();
}
(workspace.windowActivated || workspace.clientActivated).connect(follow);
follow(workspace.activeWindow || workspace.activeClient);
)";

}  // namespace

bool KWinScriptFrontApp::offered(const QDBusConnection& bus) {
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(QString::fromLatin1(kService)).value();
}

KWinScriptFrontApp::KWinScriptFrontApp(QDBusConnection bus,
                                       std::unique_ptr<DesktopEntryIndex> entries)
    : bus_(std::move(bus)),
      entries_(std::move(entries)),
      script_(QDir::tempPath() + QStringLiteral("/pelliwig-kwin-XXXXXX.js")) {
    if (!offered(bus_)) return;
    kwinOwner_ = bus_.interface()->serviceOwner(QString::fromLatin1(kService)).value();
    if (!bus_.registerObject(QString::fromLatin1(kObjectPath), this,
                             QDBusConnection::ExportScriptableSlots)) {
        return;
    }
    running_ = writeScript() && load();
    if (!running_) bus_.unregisterObject(QString::fromLatin1(kObjectPath));
}

KWinScriptFrontApp::~KWinScriptFrontApp() {
    if (!running_) return;
    unload();
    bus_.unregisterObject(QString::fromLatin1(kObjectPath));
}

bool KWinScriptFrontApp::writeScript() {
    if (!script_.open()) return false;
    const QString text =
        QString::fromLatin1(kScriptText).arg(bus_.baseService(), QString::fromLatin1(kObjectPath));
    const QByteArray bytes = text.toUtf8();
    const bool written = script_.write(bytes) == bytes.size() && script_.flush();
    script_.close();
    return written;
}

bool KWinScriptFrontApp::load() {
    unload();
    auto call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kService), QString::fromLatin1(kScriptingPath),
        QString::fromLatin1(kScriptingInterface), QStringLiteral("loadScript"));
    call << script_.fileName() << QString::fromLatin1(kPluginName);
    const QDBusReply<int> id = bus_.call(call, QDBus::Block, kTimeoutMs);
    if (!id.isValid() || id.value() < 0) return false;
    if (run(id.value())) return true;
    unload();
    return false;
}

// KWin 5 puts a loaded script at /<id>, KWin 6 at /Scripting/Script<id>.
bool KWinScriptFrontApp::run(int id) {
    const QString number = QString::number(id);
    for (const QString& path : {QStringLiteral("/Scripting/Script") + number, "/" + number}) {
        const auto call = QDBusMessage::createMethodCall(QString::fromLatin1(kService), path,
                                                         QStringLiteral("org.kde.kwin.Script"),
                                                         QStringLiteral("run"));
        if (bus_.call(call, QDBus::Block, kTimeoutMs).type() == QDBusMessage::ReplyMessage) {
            return true;
        }
    }
    return false;
}

void KWinScriptFrontApp::unload() {
    auto call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kService), QString::fromLatin1(kScriptingPath),
        QString::fromLatin1(kScriptingInterface), QStringLiteral("unloadScript"));
    call << QString::fromLatin1(kPluginName);
    bus_.call(call, QDBus::Block, kTimeoutMs);
}

void KWinScriptFrontApp::activated(const QString& resourceClass, const QString& desktopFileName,
                                   bool fullScreen) {
    if (calledFromDBus() && message().service() != kwinOwner_) return;
    resourceClass_ = resourceClass.toStdString();
    desktopFileName_ = desktopFileName.toStdString();
    fullScreen_ = fullScreen;
}

std::optional<std::string> KWinScriptFrontApp::name() const {
    for (const std::string& key : {desktopFileName_, resourceClass_}) {
        if (key.empty()) continue;
        if (auto entryName = entries_->nameFor(key, key)) return entryName;
    }
    if (resourceClass_.empty()) return std::nullopt;
    return resourceClass_;
}

}  // namespace pelliwig
