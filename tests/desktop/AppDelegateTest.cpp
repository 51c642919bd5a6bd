#include "desktop/app/AppDelegate.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QWidgetAction>

#include "NotchTestSupport.h"
#include "core/notch/NotchGeometry.h"
#include "core/notch/SpriteChoice.h"
#include "desktop/app/AboutWindow.h"
#include "desktop/app/TrayMenu.h"
#include "desktop/app/WelcomeWindow.h"
#include "desktop/diary/DiaryWindow.h"
#include "desktop/support/TimeText.h"
#include "fakes/CannedHttpClient.h"
#include "fakes/MemoryLoginItem.h"
#include "fakes/MemoryStore.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

const auto* const qt = ::testing::AddGlobalTestEnvironment(new testing::QtApplication);

// The engine as the shell sees it, recording what it is asked.
struct RecordingEngine final : EngineFacade {
    void preview(std::optional<ReminderKind> kind) override { previews.push_back(kind); }
    void startFocus(int minutes) override { focusEnd = 1000.0 + minutes * 60; }
    void cancelFocus() override { focusEnd.reset(); }
    int jealousy() const override { return jealousyValue; }
    bool onCall() const override { return call; }
    Outlook outlook() const override {
        ++outlookAsked;
        return said;
    }
    std::optional<Instant> focusEndsAt() const override { return focusEnd; }
    bool seesFrontApp() const override { return front; }
    const Memory::State& memory() const override { return remembered; }
    void saveMemory() override { ++saves; }
    std::vector<std::string> answers() const override { return offered; }
    void answer(std::size_t index) override { answered.push_back(index); }
    bool takeKeyboard() override {
        ++keyboardAsked;
        return !offered.empty();
    }

    Outlook said;
    mutable int outlookAsked = 0;
    std::vector<std::string> offered;
    std::vector<std::size_t> answered;
    int keyboardAsked = 0;

    std::vector<std::optional<ReminderKind>> previews;
    std::optional<Instant> focusEnd;
    int jealousyValue = 0;
    bool call = false;
    bool front = true;
    int saves = 0;
    Memory::State remembered;
};

// The keys the bubble shortcut setting names, as the delegate binds them.
struct RecordingShortcut final : GlobalShortcut {
    std::string bind(const std::string& keys) override {
        binds.push_back(keys);
        return keys == "Ctrl+Q" ? "taken by another program" : "";
    }
    std::vector<std::string> binds;
};

class AppDelegateTest : public ::testing::Test {
protected:
    AppDelegateTest() {
        AppServices services;
        services.shortcut = std::make_unique<RecordingShortcut>();
        shortcut = static_cast<RecordingShortcut*>(services.shortcut.get());
        services.store = std::make_unique<MemoryStore>();
        store = static_cast<MemoryStore*>(services.store.get());
        services.scheduler = std::make_unique<VirtualScheduler>(1000);
        scheduler = static_cast<VirtualScheduler*>(services.scheduler.get());
        services.loginItem = std::make_unique<MemoryLoginItem>();
        loginItem = static_cast<MemoryLoginItem*>(services.loginItem.get());
        services.buildEngine = [this](const EngineContext&) {
            fallbackWhenBuilt = NotchGeometry::forceFallback;
            auto built = std::make_unique<RecordingEngine>();
            engine = built.get();
            return built;
        };
        delegate = std::make_unique<AppDelegate>(std::move(services));
    }
    ~AppDelegateTest() override { NotchGeometry::forceFallback = false; }

    void launch(const std::vector<std::string>& arguments) {
        delegate->launch(AppOptions::parse(arguments).options);
    }

    bool welcomeShown() const { return delegate->welcome() && delegate->welcome()->isVisible(); }
    QWidget* settingsWindow() const { return delegate->settingsWindow(); }
    bool settingsShown() const { return settingsWindow() && settingsWindow()->isVisible(); }

    void onboard() { delegate->prefs().hasOnboarded.set(true); }

    // The tray menu's entry with `id`, as it is about to open.
    QAction* entry(const char* id) {
        emit delegate->tray().menu()->aboutToShow();
        return delegate->tray().menu()->findChild<QAction*>(id);
    }

    MemoryStore* store = nullptr;
    VirtualScheduler* scheduler = nullptr;
    MemoryLoginItem* loginItem = nullptr;
    RecordingEngine* engine = nullptr;
    RecordingShortcut* shortcut = nullptr;
    std::optional<bool> fallbackWhenBuilt;
    std::unique_ptr<AppDelegate> delegate;
};

TEST_F(AppDelegateTest, FirstLaunchOpensTheWelcomeAfterFourTenthsOfASecond) {
    launch({});
    ASSERT_NE(engine, nullptr);
    scheduler->advance(0.39);
    EXPECT_FALSE(welcomeShown());
    scheduler->advance(0.01);
    EXPECT_TRUE(welcomeShown());
    EXPECT_EQ(delegate->welcome()->windowTitle(), "Welcome to Zuzi");
}

TEST_F(AppDelegateTest, AfterOnboardingNoWelcome) {
    onboard();
    launch({});
    scheduler->advance(5);
    EXPECT_EQ(delegate->welcome(), nullptr);
}

TEST_F(AppDelegateTest, WelcomeFlagOpensItAfterOnboarding) {
    onboard();
    launch({"--welcome"});
    scheduler->advance(0.4);
    EXPECT_TRUE(welcomeShown());
}

struct PreviewCase {
    const char* name;
    std::vector<std::string> arguments;
    std::optional<ReminderKind> kind;
};

class AppDelegatePreviewTest : public AppDelegateTest,
                               public ::testing::WithParamInterface<PreviewCase> {};

TEST_P(AppDelegatePreviewTest, PreviewsOneSecondAfterLaunch) {
    onboard();
    launch(GetParam().arguments);
    scheduler->advance(0.99);
    EXPECT_TRUE(engine->previews.empty());
    scheduler->advance(0.01);
    ASSERT_EQ(engine->previews.size(), 1u);
    EXPECT_EQ(engine->previews[0], GetParam().kind);
    scheduler->advance(60);
    EXPECT_EQ(engine->previews.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, AppDelegatePreviewTest,
    ::testing::Values(PreviewCase{"Kind", {"--preview", "water"}, ReminderKind::water},
                      PreviewCase{"Alone", {"--preview"}, std::nullopt},
                      PreviewCase{"Last", {"--welcome", "--preview"}, std::nullopt},
                      PreviewCase{"NotAKind", {"--preview", "notakind"}, std::nullopt},
                      PreviewCase{"OnlyTheFirstCounts",
                                  {"--preview", "bedtime", "--preview", "water"},
                                  ReminderKind::bedtime}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(AppDelegateTest, WelcomeComesBeforeThePreview) {
    launch({"--preview", "water"});
    scheduler->advance(0.5);
    EXPECT_TRUE(welcomeShown());
    EXPECT_TRUE(engine->previews.empty());
}

TEST_F(AppDelegateTest, NoNotchHoldsBeforeTheNotchIsBuilt) {
    launch({"--no-notch"});
    EXPECT_EQ(fallbackWhenBuilt, true);
}

TEST_F(AppDelegateTest, LoginItemFlagRegistersAndARefusalChangesNothingElse) {
    loginItem->refuses = true;
    launch({"--login-item", "--preview", "water"});
    EXPECT_EQ(loginItem->changeRequests, 1);
    scheduler->advance(1);
    EXPECT_EQ(engine->previews.size(), 1u);
}

TEST_F(AppDelegateTest, OpenWelcomeTwiceShowsTheSameWindow) {
    onboard();
    launch({});
    delegate->openWelcome();
    auto* first = delegate->welcome();
    first->close();
    delegate->openWelcome();
    EXPECT_EQ(delegate->welcome(), first);
    EXPECT_TRUE(welcomeShown());
}

TEST_F(AppDelegateTest, MeetHerClosesTheWindowAndSheSaysGoodMorning) {
    launch({});
    scheduler->advance(0.4);
    loginItem->registered = false;
    delegate->welcome()->findChild<QAbstractButton*>("meetHer")->click();
    EXPECT_FALSE(welcomeShown());
    EXPECT_EQ(store->read("hasOnboarded"), R"({"value":true})");
    ASSERT_EQ(engine->previews.size(), 1u);
    EXPECT_EQ(engine->previews[0], ReminderKind::morning);
    EXPECT_TRUE(loginItem->registered);
}

TEST_F(AppDelegateTest, HandedOverArgumentsActAtOnce) {
    onboard();
    launch({});
    EXPECT_EQ(delegate->handOver(AppOptions::parse({"--login-item"}).options), "");
    EXPECT_TRUE(loginItem->registered);
    EXPECT_EQ(loginItem->changeRequests, 1);
    // The launch that asked is told of a refusal, and exits with a failure.
    loginItem->refuses = true;
    EXPECT_EQ(delegate->handOver(AppOptions::parse({"--login-item"}).options),
              "she could not be set to start at login");
    delegate->handOver(AppOptions::parse({"--preview", "water"}).options);
    ASSERT_EQ(engine->previews.size(), 1u);
    EXPECT_EQ(engine->previews[0], ReminderKind::water);
    delegate->handOver(AppOptions::parse({"--welcome"}).options);
    EXPECT_TRUE(welcomeShown());
}

// What her menu entry's actions and a plain second launch hand over ("--quit"
// is tried on the real program).
TEST_F(AppDelegateTest, APlainLaunchOpensTheSettings) {
    onboard();
    launch({});
    EXPECT_FALSE(settingsShown());
    delegate->handOver(AppOptions::parse({}).options);
    EXPECT_TRUE(settingsShown());
    settingsWindow()->close();
    delegate->handOver(AppOptions::parse({"--login-item"}).options);
    EXPECT_FALSE(settingsShown()) << "only a launch without options asks for the settings";
    delegate->handOver(AppOptions::parse({"--settings"}).options);
    EXPECT_TRUE(settingsShown());
}

TEST_F(AppDelegateTest, MenuBeforeTheEngineHasNoEngineLinesAndItsButtonsDoNothing) {
    EXPECT_EQ(delegate->menuState(), MenuState{});
    EXPECT_EQ(entry("jealousy"), nullptr);
    ASSERT_NE(entry("saySomething"), nullptr);
    entry("saySomething")->trigger();  // no engine: nothing to reach, nothing breaks
    delegate->saveMemory();
}

TEST_F(AppDelegateTest, MenuFollowsTheEngineEachTimeItOpens) {
    onboard();
    launch({});
    engine->jealousyValue = 45;
    engine->call = true;
    ASSERT_NE(entry("jealousy"), nullptr);
    EXPECT_EQ(entry("jealousy")->text().toStdString(), jealousyLine(45));
    // The bar says what it measures when the pointer rests on it.
    const auto* line = qobject_cast<QWidgetAction*>(entry("jealousy"))->defaultWidget();
    EXPECT_TRUE(line->toolTip().startsWith("How jealous she is today"))
        << line->toolTip().toStdString();
    EXPECT_NE(entry("onCall"), nullptr);

    entry("focus25")->trigger();
    EXPECT_EQ(engine->focusEnd, 1000.0 + 25 * 60);
    EXPECT_EQ(entry("focus25"), nullptr);
    entry("cancelFocus")->trigger();
    EXPECT_FALSE(engine->focusEnd);
    EXPECT_NE(entry("focus25"), nullptr);

    engine->call = false;
    EXPECT_EQ(entry("onCall"), nullptr);

    EXPECT_EQ(entry("noFrontApp"), nullptr);
    engine->front = false;
    EXPECT_NE(entry("noFrontApp"), nullptr);
}

// The line under the jealousy bar is asked of the engine as the menu opens,
// and only then.
TEST_F(AppDelegateTest, WhatComesNextIsAskedAsTheMenuOpens) {
    onboard();
    launch({});
    scheduler->advance(3600);
    EXPECT_EQ(engine->outlookAsked, 0);

    engine->said.hold = GateVerdict::fullScreen;
    ASSERT_NE(entry("outlook"), nullptr);
    EXPECT_EQ(engine->outlookAsked, 1);
    EXPECT_EQ(entry("outlook")->text().toStdString(), "Holding back: full screen");

    engine->said.hold = GateVerdict::inCall;
    engine->said.camera = true;
    EXPECT_EQ(entry("outlook")->text().toStdString(), "Quiet: camera in use");
    engine->said = Outlook{};
    EXPECT_EQ(entry("outlook"), nullptr);
}

// The menu's Pause entries and the desktop actions' "--pause" write the same
// setting, and the menu reads it back as its status line and "Resume".
TEST_F(AppDelegateTest, PauseFromTheMenuOrAnotherLaunchIsStoredAndShown) {
    onboard();
    launch({});
    EXPECT_EQ(entry("pausedUntil"), nullptr);
    EXPECT_EQ(entry("pause.resume"), nullptr);
    entry("pause.30")->trigger();
    EXPECT_EQ(delegate->menuState().pausedUntil, 1000.0 + 30 * 60);
    ASSERT_NE(entry("pausedUntil"), nullptr);
    // Written as the settings' time fields write times.
    const QTime until = QDateTime::fromSecsSinceEpoch(1000 + 30 * 60).time();
    EXPECT_EQ(entry("pausedUntil")->text(),
              "Paused until " + timeOfDayText(until.hour() * 60 + until.minute()));
    entry("pause.resume")->trigger();
    EXPECT_EQ(store->read("pausedUntil"), std::nullopt);
    EXPECT_EQ(entry("pausedUntil"), nullptr);

    delegate->handOver(AppOptions::parse({"--pause", "60"}).options);
    EXPECT_EQ(delegate->menuState().pausedUntil, 1000.0 + 60 * 60);
    delegate->handOver(AppOptions::parse({"--pause", "off"}).options);
    EXPECT_EQ(delegate->menuState().pausedUntil, std::nullopt);
    delegate->handOver(AppOptions::parse({"--pause", "tomorrow"}).options);
    EXPECT_TRUE(delegate->menuState().pausedUntil.has_value());
}

// A moment's answers lead her menu while it is out, and the menu is drawn
// anew as they come and go, for a tray host that shows what it last read.
TEST_F(AppDelegateTest, AnswersOnShowLeadTheMenuAndPickTheAnswer) {
    onboard();
    launch({});
    EXPECT_EQ(entry("answer.0"), nullptr);
    engine->offered = {"Drank", "In 10 min"};
    engine->answersChanged();
    auto* menu = delegate->tray().menu();
    ASSERT_NE(menu->findChild<QAction*>("answer.1"), nullptr);
    EXPECT_EQ(menu->actions().front()->objectName(), "answer.0");
    EXPECT_EQ(menu->findChild<QAction*>("answer.1")->text(), "In 10 min");
    menu->findChild<QAction*>("answer.1")->trigger();
    EXPECT_EQ(engine->answered, std::vector<std::size_t>{1});
    engine->offered.clear();
    engine->answersChanged();
    EXPECT_EQ(menu->findChild<QAction*>("answer.0"), nullptr);
}

// None is taken until the user names keys in General; pressing them brings
// the keyboard to her bubble.
TEST_F(AppDelegateTest, BubbleShortcutFollowsItsSetting) {
    onboard();
    launch({});
    EXPECT_EQ(shortcut->binds, std::vector<std::string>{""});
    delegate->prefs().bubbleShortcut.set("Ctrl+Alt+Z");
    delegate->prefs().minGap.set(30);  // other settings leave the keys alone
    EXPECT_EQ(shortcut->binds, (std::vector<std::string>{"", "Ctrl+Alt+Z"}));
    ASSERT_TRUE(shortcut->onActivated);
    shortcut->onActivated();
    EXPECT_EQ(engine->keyboardAsked, 1);
    delegate->prefs().bubbleShortcut.set("");
    EXPECT_EQ(shortcut->binds.back(), "");
}

TEST_F(AppDelegateTest, PreviewSubmenuReachesTheEngine) {
    onboard();
    launch({});
    emit delegate->tray().menu()->aboutToShow();
    auto* water = delegate->tray().menu()->findChild<QAction*>("preview.water");
    ASSERT_NE(water, nullptr);
    water->trigger();
    ASSERT_EQ(engine->previews.size(), 1u);
    EXPECT_EQ(engine->previews[0], ReminderKind::water);
}

TEST_F(AppDelegateTest, SettingsOpensOneWindowAndBringsItBack) {
    entry("settings")->trigger();
    QWidget* settings = nullptr;
    for (auto* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == "settings" && window->isVisible()) settings = window;
    }
    ASSERT_NE(settings, nullptr);
    settings->close();
    entry("settings")->trigger();
    EXPECT_TRUE(settings->isVisible());
}

// "Your week" in her menu, "--diary" at launch and from a later launch all
// open the one diary window, over what the engine remembers.
struct DiaryRouteCase {
    const char* name;
    std::vector<std::string> launchArguments;
    std::vector<std::string> handedOver;
    bool fromMenu;
};

class AppDelegateDiaryTest : public AppDelegateTest,
                             public ::testing::WithParamInterface<DiaryRouteCase> {};

TEST_P(AppDelegateDiaryTest, OpensHerDiaryOverTheEnginesMemory) {
    onboard();
    const auto& c = GetParam();
    launch(c.launchArguments);
    Clock clock(*scheduler);
    engine->remembered.days[clock.dayKey(scheduler->now() - 86400)].activeSeconds = 7200;
    engine->remembered.days[clock.dayKey(scheduler->now())].waterAcks = 3;
    if (!c.handedOver.empty()) delegate->handOver(AppOptions::parse(c.handedOver).options);
    if (c.fromMenu) entry("diary")->trigger();
    auto* diary = delegate->diaryWindow();
    ASSERT_NE(diary, nullptr);
    EXPECT_TRUE(diary->isVisible());
    EXPECT_EQ(diary->windowTitle(), "Your week");
    diary->refresh();
    EXPECT_EQ(diary->diary().activeSeconds, 7200);
    EXPECT_EQ(diary->diary().waterAcks, 3);
    EXPECT_FALSE(diary->findChild<QLabel*>("portrait")->pixmap().isNull());

    diary->close();
    entry("diary")->trigger();
    EXPECT_EQ(delegate->diaryWindow(), diary);
    EXPECT_TRUE(diary->isVisible());
    diary->close();
}

INSTANTIATE_TEST_SUITE_P(Routes, AppDelegateDiaryTest,
                         ::testing::Values(DiaryRouteCase{"Menu", {}, {}, true},
                                           DiaryRouteCase{"AtLaunch", {"--diary"}, {}, false},
                                           DiaryRouteCase{"HandedOver", {}, {"--diary"}, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(AppDelegateTest, HerDiaryBeforeTheEngineIsEmptyNotBroken) {
    AppServices services;
    services.store = std::make_unique<MemoryStore>();
    services.scheduler = std::make_unique<VirtualScheduler>(1000);
    services.loginItem = std::make_unique<MemoryLoginItem>();
    AppDelegate bare(std::move(services));
    bare.openDiary();
    ASSERT_NE(bare.diaryWindow(), nullptr);
    EXPECT_EQ(bare.diaryWindow()->diary().activeSeconds, 0);
    EXPECT_EQ(bare.diaryWindow()->diary().days.size(), 7u);
    bare.diaryWindow()->close();
}

TEST_F(AppDelegateTest, AboutFromTheMenuOpensOneWindow) {
    entry("about")->trigger();
    QWidget* about = delegate->aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), "About Zuzi");
    about->close();
    entry("about")->trigger();
    EXPECT_EQ(delegate->aboutWindow(), about);
    EXPECT_TRUE(about->isVisible());
    about->close();
}

// Ctrl+, in the welcome window opens the settings, as the menu says.
TEST_F(AppDelegateTest, HerWindowsServeTheMenusShortcuts) {
    onboard();
    launch({});
    delegate->openWelcome();
    auto* welcome = delegate->welcome();
    ASSERT_TRUE(QTest::qWaitForWindowActive(welcome));
    QTest::keyClick(welcome, Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_TRUE(settingsWindow() && settingsWindow()->isVisible());
}

// The picture at the top of the welcome window is the Appearance setting's
// character, also when the setting changes while the window is kept.
TEST_F(AppDelegateTest, WelcomePictureFollowsTheAppearance) {
    onboard();
    launch({});
    const auto shown = [this] {
        return delegate->welcome()->findChild<QLabel*>("portrait")->pixmap().toImage();
    };
    const auto expected = [this](Appearance appearance) {
        const Instant now = scheduler->now();
        Clock clock(*scheduler);
        auto sheet =
            testing::projectSprites(appearance, SpriteChoice::season(clock.monthDay(now), {}));
        return QPixmap::fromImage(sheet.image(Face::mood(Mood::love)))
            .scaledToHeight(WelcomeWindow::kPortraitHeight, Qt::SmoothTransformation)
            .toImage();
    };
    delegate->openWelcome();
    EXPECT_EQ(shown(), expected(Appearance::zuzi));
    delegate->prefs().appearance.set(Appearance::mom);
    EXPECT_EQ(shown(), expected(Appearance::mom));
    EXPECT_NE(shown(), expected(Appearance::zuzi));
}

TEST(AppDelegateUpdateTest, ANewerReleaseIsOfferedAtTheTopWithoutReopeningTheMenu) {
    AppServices services;
    auto scheduler = std::make_unique<VirtualScheduler>(1000);
    auto& clock = *scheduler;
    auto http = std::make_unique<CannedHttpClient>(clock);
    http->answer(CannedHttpClient::ok(R"({"version":"99.0","url":"https://example.org/r"})"), 1);
    services.scheduler = std::move(scheduler);
    services.store = std::make_unique<MemoryStore>();
    services.loginItem = std::make_unique<MemoryLoginItem>();
    services.http = std::move(http);
    AppDelegate delegate(std::move(services));
    auto& menu = *delegate.tray().menu();
    EXPECT_EQ(menu.findChild<QAction*>("update"), nullptr);

    clock.advance(1);
    auto* update = menu.findChild<QAction*>("update");
    ASSERT_NE(update, nullptr);
    EXPECT_EQ(update->text(), QString::fromUtf8("Update to Zuzi 99.0…"));
    EXPECT_EQ(menu.actions().first(), update);
}

}  // namespace
}  // namespace pelliwig
