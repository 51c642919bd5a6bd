#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QTemporaryFile>

#include <memory>
#include <optional>
#include <string>

#include "core/platform/FrontApp.h"
#include "linux/xdg/DesktopEntryIndex.h"

namespace pelliwig {

// The focused application on KWin, which lists windows to no ordinary
// Wayland client: a small KWin script, loaded over D-Bus, calls this object
// back on every window activation, and whenever the active window enters or
// leaves full screen, with the window's resource class (its app_id, or the
// X11 class), desktop file name and full-screen state. The script is removed
// again when this object goes. Only calls from KWin itself are believed.
class KWinScriptFrontApp final : public QObject, public FrontApp, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.pelliwig.FrontApp")

public:
    static constexpr const char* kService = "org.kde.KWin";
    static constexpr const char* kObjectPath = "/app/pelliwig/FrontApp";
    // One name for every run: a script left over from a crash is replaced.
    static constexpr const char* kPluginName = "pelliwig-front-app";

    // KWin's scripting is on the bus.
    static bool offered(const QDBusConnection& bus);

    explicit KWinScriptFrontApp(QDBusConnection bus, std::unique_ptr<DesktopEntryIndex> entries =
                                                         std::make_unique<DesktopEntryIndex>());
    ~KWinScriptFrontApp() override;

    // The script runs in KWin and reports to us.
    bool watching() const { return running_; }
    std::optional<std::string> name() const override;
    // Whether the active window is full-screen, as the script last said.
    bool activatedFullScreen() const { return fullScreen_; }

public Q_SLOTS:
    // Called by the script; not for anyone else.
    Q_SCRIPTABLE void activated(const QString& resourceClass, const QString& desktopFileName,
                                bool fullScreen);

private:
    bool writeScript();
    bool load();
    bool run(int id);
    void unload();

    QDBusConnection bus_;
    std::unique_ptr<DesktopEntryIndex> entries_;
    QTemporaryFile script_;
    QString kwinOwner_;
    bool running_ = false;
    std::string resourceClass_;
    std::string desktopFileName_;
    bool fullScreen_ = false;
};

}  // namespace pelliwig
