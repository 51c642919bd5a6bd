#include "desktop/app/AppDelegate.h"

#include <cstdio>
#include <utility>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QUrl>

#include "core/notch/NotchGeometry.h"
#include "core/settings/SqliteStore.h"
#include "desktop/app/AboutWindow.h"
#include "desktop/app/TrayMenu.h"
#include "desktop/app/WelcomeWindow.h"
#include "desktop/diary/DiaryWindow.h"
#include "desktop/settings/HomePath.h"
#include "desktop/settings/SettingsView.h"
#include "desktop/support/Assets.h"
#include "desktop/support/SpriteSheet.h"
#include "desktop/support/TimeText.h"

namespace pelliwig {
namespace {

QPixmap welcomePortrait(const Prefs& prefs, const Clock& clock) {
    SpriteSheet sheet(SpriteSheet::situationFrom(prefs, clock),
                      [](const QString& name) { return Assets::url(name); });
    // The sheet falls back to happy when love is missing.
    return QPixmap::fromImage(sheet.image(Face::mood(Mood::love)));
}

}  // namespace

AppDelegate::AppDelegate(AppServices services, QObject* parent)
    : QObject(parent),
      services_(std::move(services)),
      prefs_(*services_.store),
      clock_(*services_.scheduler) {
    if (services_.http) {
        updates_ = std::make_unique<UpdateChecker>(*services_.http, *services_.scheduler);
    }
    saveRetry_ = std::make_unique<SaveRetry>(
        *services_.store, *services_.scheduler, prefs_.changed,
        [](const std::string& line) { std::fprintf(stderr, "pelliwig: %s\n", line.c_str()); });
    MenuActions& actions = *this;
    tray_ = std::make_unique<TrayMenu>([this] { return menuState(); }, actions);
    saveTroubleChanged_ = saveRetry_->troubleChanged.connect([this] { tray_->rebuild(); });
    statusFeed_ = std::make_unique<StatusFeed>(*services_.scheduler, [this] { return status(); });
    // A pause or a changed setting reaches the bars at once.
    statusChanged_ = prefs_.changed.connect([this](std::string_view) { statusFeed_->refresh(); });
    if (updates_) {
        // A tray host may show the menu it last read without asking again.
        updateFound_ = updates_->availableChanged.connect(
            [this](const std::optional<Release>&) { tray_->rebuild(); });
    }
    // The memory's throttled saves may be up to two minutes behind.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &AppDelegate::saveMemory);
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(gui, &QGuiApplication::commitDataRequest, this, &AppDelegate::saveMemory);
    }
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::launch(const AppOptions& options) {
    tray_->showIconWhenTrayAppears(QDBusConnection::sessionBus());
    // Must hold before the notch is measured.
    if (options.noNotch) NotchGeometry::forceFallback = true;
    if (services_.buildEngine) {
        engine_ =
            services_.buildEngine(EngineContext{prefs_, *services_.store, *services_.scheduler,
                                                [this](const QPoint& at) { tray_->popupAt(at); }});
        // A tray host may show the menu it last read: the answers of a moment
        // must be there while it is out.
        answersChanged_ = engine_->answersChanged.connect([this] {
            tray_->rebuild();
            statusFeed_->refresh();
        });
        emit engineChanged();
    }
    if (services_.shortcut) {
        services_.shortcut->onActivated = [this] {
            if (engine_) engine_->takeKeyboard();
        };
        bindShortcut();
        shortcutChanged_ = prefs_.changed.connect([this](std::string_view key) {
            if (key == prefs_.bubbleShortcut.key()) bindShortcut();
        });
    }
    if (options.loginItem) services_.loginItem->registerItem();  // a refusal changes nothing
    applyPause(options.pause);
    if (options.preview) {
        previewTask_ = services_.scheduler->after(
            kPreviewDelay, [this, kind = options.previewKind] { preview(kind); });
    }
    if (options.settings) openSettings();
    if (options.diary) openDiary();
    if (!prefs_.hasOnboarded.get() || options.welcome) {
        welcomeTask_ = services_.scheduler->after(kWelcomeDelay, [this] { openWelcome(); });
    }
}

std::string AppDelegate::handOver(const AppOptions& options) {
    if (options.quit) {
        quit();
        return {};
    }
    std::string problem;
    if (options.loginItem && !services_.loginItem->registerItem()) {
        problem = "she could not be set to start at login";
    }
    if (options.welcome) openWelcome();
    applyPause(options.pause);
    if (options.preview) preview(options.previewKind);
    if (options.settings || options.plain()) openSettings();
    if (options.diary) openDiary();
    if (const auto& trouble = saveRetry_->trouble(); trouble && problem.empty()) {
        problem = "the change is made but cannot be saved: " + *trouble;
    }
    return problem;
}

QWidget* AppDelegate::settingsWindow() const {
    return settings_.get();
}

void AppDelegate::openWelcome() {
    if (!welcome_) {
        const auto reach = tray_->icon()               ? WelcomeWindow::Reach::tray
                           : services_.inNotifications ? WelcomeWindow::Reach::notifications
                                                       : WelcomeWindow::Reach::notchOnly;
        welcome_ = std::make_unique<WelcomeWindow>(prefs_, *services_.loginItem,
                                                   welcomePortrait(prefs_, clock_), reach,
                                                   [this] { meet(); });
        tray_->serveShortcutsIn(welcome_.get());
        // She is drawn as the Appearance setting says, also when it changes
        // while the window is kept.
        appearanceChanged_ = prefs_.changed.connect([this](std::string_view key) {
            if (key == prefs_.appearance.key()) showWelcomePortrait();
        });
    } else {
        showWelcomePortrait();  // the season may have turned meanwhile
    }
    welcome_->showAndRaise();
}

void AppDelegate::openSettings() {
    if (!settings_) {
        settings_ = std::make_unique<SettingsView>(prefs_, clock_, *services_.loginItem);
        tray_->serveShortcutsIn(settings_.get());
    }
    settings_->showAndRaise();
}

void AppDelegate::openDiary() {
    if (!diary_) {
        // Her face follows the Appearance setting and the season, as in the notch.
        auto sheet =
            std::make_shared<SpriteSheet>(SpriteSheet::situationFrom(prefs_, clock_),
                                          [](const QString& name) { return Assets::url(name); });
        diary_ = std::make_unique<DiaryWindow>(
            [this](int span) { return diary(span); },
            [sheet](const Face& face) { return sheet->image(face); }, *services_.scheduler);
        tray_->serveShortcutsIn(diary_.get());
    }
    diary_->showAndRaise();
}

Diary AppDelegate::diary(int span) const {
    static const Memory::State nothingYet;
    const Memory::State& memory = engine_ ? engine_->memory() : nothingYet;
    return diaryOf(memory, clock_, span, prefs_.language.get(), timeLocaleId());
}

void AppDelegate::openAbout() {
    if (!about_) {
        SpriteSheet sheet(SpriteSheet::situationFrom(prefs_, clock_),
                          [](const QString& name) { return Assets::url(name); });
        const QString store =
            QString::fromStdString(shownPath(SqliteStore::defaultPath().string()));
        about_ = std::make_unique<AboutWindow>(
            QPixmap::fromImage(sheet.image(Face::mood(Mood::happy))), store,
            [this](const QString& url) { openUrl(url.toStdString()); });
        tray_->serveShortcutsIn(about_.get());
    }
    about_->showAndRaise();
}

void AppDelegate::saveMemory() {
    if (engine_) engine_->saveMemory();
}

bool AppDelegate::finishSaving() {
    saveMemory();
    if (saveRetry_->finish()) return true;
    std::fprintf(stderr, "pelliwig: changes to your settings were not saved: %s\n",
                 saveRetry_->trouble().value_or("unknown").c_str());
    return false;
}

StatusLine AppDelegate::status() const {
    // Times written as her menu writes them.
    const TimeOfDayText timeText = [](int minutes) { return timeOfDayText(minutes).toStdString(); };
    return StatusLine::of(engine_ ? std::optional(engine_->outlook()) : std::nullopt, timeText);
}

MenuState AppDelegate::menuState() const {
    MenuState state;
    state.saveTrouble = saveRetry_->trouble();
    if (updates_) state.release = updates_->available();
    state.pausedUntil = pause_.until();
    if (!engine_) return state;
    state.engineExists = true;
    state.jealousy = engine_->jealousy();
    state.onCall = engine_->onCall();
    state.outlook = engine_->outlook();
    state.focusEndsAt = engine_->focusEndsAt();
    state.seesFrontApp = engine_->seesFrontApp();
    state.answers = engine_->answers();
    return state;
}

void AppDelegate::openUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void AppDelegate::preview(std::optional<ReminderKind> kind) {
    if (engine_) engine_->preview(kind);
}

void AppDelegate::startFocus(int minutes) {
    if (engine_) engine_->startFocus(minutes);
}

void AppDelegate::cancelFocus() {
    if (engine_) engine_->cancelFocus();
}

void AppDelegate::pauseFor(int minutes) {
    pause_.forMinutes(minutes);
}

void AppDelegate::pauseUntilTomorrow() {
    pause_.untilTomorrow();
}

void AppDelegate::resume() {
    pause_.resume();
}

void AppDelegate::applyPause(const std::optional<PauseRequest>& request) {
    if (!request) return;
    switch (request->until) {
        case PauseRequest::Until::minutes:
            pauseFor(request->minutes);
            break;
        case PauseRequest::Until::tomorrow:
            pauseUntilTomorrow();
            break;
        case PauseRequest::Until::off:
            resume();
            break;
    }
}

void AppDelegate::answer(std::size_t index) {
    if (engine_) engine_->answer(index);
}

void AppDelegate::bindShortcut() {
    const std::string keys = prefs_.bubbleShortcut.get();
    const std::string problem = services_.shortcut->bind(keys);
    if (!problem.empty()) {
        std::fprintf(stderr, "pelliwig: %s for her bubble: %s\n", keys.c_str(), problem.c_str());
    }
}

void AppDelegate::quit() {
    // aboutToQuit saves the memory on the way out.
    QCoreApplication::quit();
}

void AppDelegate::showWelcomePortrait() {
    if (welcome_) welcome_->setPortrait(welcomePortrait(prefs_, clock_));
}

void AppDelegate::meet() {
    welcome_->close();
    preview(ReminderKind::morning);
}

}  // namespace pelliwig
