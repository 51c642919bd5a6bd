#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QObject>
#include <QPoint>

#include "core/engine/Diary.h"
#include "core/engine/Pause.h"
#include "core/engine/UpdateChecker.h"
#include "core/menu/MenuContent.h"
#include "core/menu/StatusFeed.h"
#include "core/menu/StatusLine.h"
#include "core/platform/GlobalShortcut.h"
#include "core/platform/HttpClient.h"
#include "core/platform/KeyValueStore.h"
#include "core/platform/LoginItem.h"
#include "core/platform/Scheduler.h"
#include "core/settings/Prefs.h"
#include "core/settings/SaveRetry.h"
#include "core/support/Clock.h"
#include "desktop/app/AppOptions.h"
#include "desktop/app/EngineFacade.h"

namespace pelliwig {

class AboutWindow;
class DiaryWindow;
class SettingsView;
class TrayMenu;
class WelcomeWindow;

// What the engine is built from, once, at launch.
struct EngineContext {
    Prefs& prefs;
    KeyValueStore& store;
    Scheduler& scheduler;
    // Opens her menu at a screen point: right-clicking her in the notch.
    std::function<void(const QPoint&)> openMenuAt;
};

// Builds the notch (panel and controller) and then the engine over it.
using EngineBuilder = std::function<std::unique_ptr<EngineFacade>(const EngineContext&)>;

// The platform the application runs on: the real one from desktopServices(),
// fakes in tests.
struct AppServices {
    std::unique_ptr<KeyValueStore> store;
    std::unique_ptr<Scheduler> scheduler;
    std::unique_ptr<LoginItem> loginItem;
    // None: no update check, and the menu never offers an update.
    std::unique_ptr<HttpClient> http;
    // None: she runs without an engine and the engine's entries do nothing.
    EngineBuilder buildEngine;
    // The keys that bring the keyboard to her bubble; none: no such keys.
    std::unique_ptr<GlobalShortcut> shortcut;
    // She speaks in the desktop's notifications: there is no panel to find.
    bool inNotifications = false;
};

// Owns everything long-lived: the settings and their store, the scheduler,
// the update checker, the engine (with the notch it presents in), the tray
// menu and the windows. Start-up runs in launch(); later launches of the
// program hand their arguments to handOver().
class AppDelegate final : public QObject, private MenuActions {
    Q_OBJECT

public:
    static constexpr double kWelcomeDelay = 0.4;
    static constexpr double kPreviewDelay = 1.0;

    explicit AppDelegate(AppServices services, QObject* parent = nullptr);
    ~AppDelegate() override;

    // Launching has finished: "--no-notch" takes effect, the engine is built
    // over its notch, then the login item, the delayed preview and, on first
    // run or when asked, the delayed welcome.
    void launch(const AppOptions& options);

    // Arguments from a later launch act at once: "--login-item" registers,
    // "--preview" previews, "--pause" pauses or resumes, "--welcome" and
    // "--settings" open their windows and "--quit" ends her; a launch with no
    // options at all opens the settings, "--diary" her diary. ("--no-notch"
    // changes nothing on a screen without a notch.) Returns what the launch
    // should be told failed: a login item that could not be registered, a
    // change that cannot be saved; empty when all went well.
    std::string handOver(const AppOptions& options);

    // Creates the welcome window on first use, then brings it to the front.
    void openWelcome() override;
    void openSettings() override;
    // Her diary and her About window, each created on first use.
    void openDiary() override;
    void openAbout() override;

    // Her diary of the `span` days up to today, from what the engine
    // remembers (nothing before the engine exists).
    Diary diary(int span) const;

    // Writes her memory now; at quit, on a signal and when the session ends.
    void saveMemory();
    // Her memory and any change the store refused so far, a last time before
    // she ends; false when something could not be stored (and was said).
    bool finishSaving();

    MenuState menuState() const;
    // What comes next or why she is quiet, for desktop bars: the line under
    // her menu's jealousy bar, read now.
    StatusLine status() const;
    // Answers `pelliwig --status` and keeps its followers told.
    StatusFeed& statusFeed() { return *statusFeed_; }

    Prefs& prefs() { return prefs_; }
    EngineFacade* engine() { return engine_.get(); }
    UpdateChecker* updates() { return updates_.get(); }
    TrayMenu& tray() { return *tray_; }
    WelcomeWindow* welcome() { return welcome_.get(); }
    // The settings window; none until first opened.
    QWidget* settingsWindow() const;
    // Her diary and About windows; none until first opened.
    DiaryWindow* diaryWindow() const { return diary_.get(); }
    AboutWindow* aboutWindow() const { return about_.get(); }

signals:
    void engineChanged();

private:
    // MenuActions
    void openUrl(const std::string& url) override;
    void preview(std::optional<ReminderKind> kind) override;
    void startFocus(int minutes) override;
    void cancelFocus() override;
    void pauseFor(int minutes) override;
    void pauseUntilTomorrow() override;
    void resume() override;
    void quit() override;
    void answer(std::size_t index) override;

    void applyPause(const std::optional<PauseRequest>& request);
    // Takes the keys the bubble shortcut setting names; a refusal is said.
    void bindShortcut();

    void meet();
    void showWelcomePortrait();

    AppServices services_;
    Prefs prefs_;
    Clock clock_;
    std::unique_ptr<SaveRetry> saveRetry_;
    Pause pause_{prefs_, clock_};
    std::unique_ptr<UpdateChecker> updates_;
    std::unique_ptr<TrayMenu> tray_;
    std::unique_ptr<StatusFeed> statusFeed_;
    std::unique_ptr<EngineFacade> engine_;
    std::unique_ptr<WelcomeWindow> welcome_;
    std::unique_ptr<SettingsView> settings_;
    std::unique_ptr<DiaryWindow> diary_;
    std::unique_ptr<AboutWindow> about_;
    Connection updateFound_;
    Connection saveTroubleChanged_;
    Connection appearanceChanged_;
    Connection answersChanged_;
    Connection shortcutChanged_;
    Connection statusChanged_;
    // Delayed start-up work; dies with the delegate.
    TaskHandle welcomeTask_;
    TaskHandle previewTask_;
};

}  // namespace pelliwig
