#include "desktop/app/WelcomeWindow.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>

#include "fakes/MemoryLoginItem.h"
#include "fakes/MemoryStore.h"

namespace pelliwig {
namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "WelcomeWindowTest";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

class WelcomeWindowTest : public ::testing::Test {
protected:
    void SetUp() override { application(); }

    WelcomeWindow& open(WelcomeWindow::Reach reach = WelcomeWindow::Reach::tray) {
        window = std::make_unique<WelcomeWindow>(prefs, loginItem, QPixmap(), reach,
                                                 [this] { ++meetings; });
        return *window;
    }

    template <typename T>
    T* child(const char* name) {
        auto* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void meetHer(bool launchAtLogin) {
        child<QCheckBox>("launchAtLogin")->setChecked(launchAtLogin);
        child<QAbstractButton>("meetHer")->click();
    }

    std::optional<std::string> stored(const char* key) { return store.read(key); }

    MemoryStore store;
    Prefs prefs{store};
    MemoryLoginItem loginItem;
    std::unique_ptr<WelcomeWindow> window;
    int meetings = 0;
};

TEST_F(WelcomeWindowTest, ShowsItsTexts) {
    open();
    EXPECT_EQ(window->windowTitle(), "Welcome to Zuzi");
    EXPECT_EQ(child<QLabel>("title")->text(), "Someone's waiting at the top of your screen.");
    EXPECT_EQ(child<QLabel>("paragraph")->text(),
              "Zuzi peeks out at the top of your screen with short, sassy nudges: water, food, "
              "breaks, bedtime, and the occasional sweet nothing. No sound, no account, nothing "
              "leaves your computer.");
    EXPECT_EQ(child<QAbstractButton>("meetHer")->text(), "Meet her");
    EXPECT_EQ(child<QAbstractButton>("language.english")->text(), "English");
    EXPECT_EQ(child<QAbstractButton>("language.hinglish")->text(), "Hinglish");
    EXPECT_EQ(child<QLabel>("languageLabel")->text(), "She talks in");
    EXPECT_EQ(child<QLabel>("launchAtLoginLabel")->text(), "Launch at login");
    for (auto* label : window->findChildren<QLabel*>()) {
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
    }
}

struct AreaCase {
    std::string name;
    QRect area;  // a screen's work area, in the window's own pixels
    bool fullPortrait;
};

class WelcomeFitTest : public WelcomeWindowTest, public ::testing::WithParamInterface<AreaCase> {};

// At 200 % a 1920x1080 screen is 960x540 to the window, less a top bar; the
// window then fits with its title bar, "Meet her" and the caption in view.
TEST_P(WelcomeFitTest, FitsTheWorkArea) {
    QPixmap portrait(300, 300);
    portrait.fill(Qt::red);
    window = std::make_unique<WelcomeWindow>(prefs, loginItem, portrait,
                                             WelcomeWindow::Reach::notchOnly, [] {});
    window->fitInto(GetParam().area);
    constexpr int kTitleBar = 40;
    EXPECT_LE(window->height() + kTitleBar, GetParam().area.height());
    EXPECT_LE(window->width(), GetParam().area.width());
    for (const char* name : {"meetHer", "caption", "title", "paragraph"}) {
        auto* part = child<QWidget>(name);
        const QRect where(part->mapTo(window.get(), QPoint(0, 0)), part->size());
        EXPECT_TRUE(window->rect().contains(where)) << name;
    }
    const int portraitHeight = child<QLabel>("portrait")->height();
    if (GetParam().fullPortrait) {
        EXPECT_EQ(portraitHeight, WelcomeWindow::kPortraitHeight);
    } else {
        EXPECT_LT(portraitHeight, WelcomeWindow::kPortraitHeight);
        EXPECT_GE(portraitHeight, WelcomeWindow::kPortraitHeight / 3);
    }
    // Fitted to a roomy screen again, she is drawn full size.
    window->fitInto(QRect(0, 0, 1920, 1050));
    EXPECT_EQ(child<QLabel>("portrait")->height(), WelcomeWindow::kPortraitHeight);
}

INSTANTIATE_TEST_SUITE_P(Screens, WelcomeFitTest,
                         ::testing::Values(AreaCase{"FullHd", QRect(0, 0, 1920, 1050), true},
                                           AreaCase{"FullHdAt200", QRect(0, 32, 960, 508), false}),
                         [](const auto& row) { return row.param.name; });

TEST_F(WelcomeWindowTest, CaptionSaysWhereToFindHer) {
    open(WelcomeWindow::Reach::tray);
    EXPECT_EQ(child<QLabel>("caption")->text(), "She lives behind the heart in your tray.");
    open(WelcomeWindow::Reach::notchOnly);
    EXPECT_EQ(child<QLabel>("caption")->text(),
              "Your desktop has no tray: rest the pointer on the top edge of her spot until she "
              "peeks out, then right-click her for her menu. Starting Zuzi again opens her "
              "settings.");
}

TEST_F(WelcomeWindowTest, LaunchAtLoginStartsOn) {
    open();
    EXPECT_TRUE(child<QCheckBox>("launchAtLogin")->isChecked());
}

TEST_F(WelcomeWindowTest, MeetHerWithTheToggleOnRegistersAndFinishesOnboarding) {
    open();
    meetHer(true);
    EXPECT_TRUE(loginItem.registered);
    EXPECT_EQ(loginItem.changeRequests, 1);
    EXPECT_EQ(stored("hasOnboarded"), R"({"value":true})");
    EXPECT_EQ(meetings, 1);
}

TEST_F(WelcomeWindowTest, MeetHerWithTheToggleOffLeavesTheLoginItemAlone) {
    loginItem.registered = true;  // registered earlier: nothing is unregistered
    open();
    meetHer(false);
    EXPECT_TRUE(loginItem.registered);
    EXPECT_EQ(loginItem.changeRequests, 0);
    EXPECT_EQ(stored("hasOnboarded"), R"({"value":true})");
    EXPECT_EQ(meetings, 1);
}

TEST_F(WelcomeWindowTest, RefusedRegistrationStillFinishesOnboarding) {
    loginItem.refuses = true;
    open();
    meetHer(true);
    EXPECT_FALSE(loginItem.registered);
    EXPECT_TRUE(prefs.hasOnboarded.get());
    EXPECT_EQ(meetings, 1);
}

TEST_F(WelcomeWindowTest, PickingALanguageWritesItAtOnceButNotOnboarding) {
    open();
    // Hinglish is the default: English is the change.
    child<QAbstractButton>("language.english")->click();
    EXPECT_EQ(stored("language"), R"({"value":"english"})");
    EXPECT_TRUE(child<QAbstractButton>("language.english")->isChecked());
    EXPECT_FALSE(child<QAbstractButton>("language.hinglish")->isChecked());
    child<QAbstractButton>("language.hinglish")->click();
    EXPECT_EQ(stored("language"), R"({"value":"hinglish"})");
    window->close();
    EXPECT_EQ(stored("hasOnboarded"), std::nullopt);
    EXPECT_EQ(meetings, 0);
}

TEST_F(WelcomeWindowTest, PickerShowsTheCurrentLanguage) {
    prefs.language.set(Language::hinglish);
    open();
    EXPECT_TRUE(child<QAbstractButton>("language.hinglish")->isChecked());
    // Changed elsewhere (the settings window) while open.
    prefs.language.set(Language::english);
    EXPECT_TRUE(child<QAbstractButton>("language.english")->isChecked());
    EXPECT_FALSE(child<QAbstractButton>("language.hinglish")->isChecked());
}

TEST_F(WelcomeWindowTest, ShowAndRaiseShowsTheSameWindowAgainAfterClosing) {
    open();
    window->showAndRaise();
    EXPECT_TRUE(window->isVisible());
    window->close();
    EXPECT_FALSE(window->isVisible());
    window->showAndRaise();
    EXPECT_TRUE(window->isVisible());
    EXPECT_GE(window->width(), WelcomeWindow::kWidth);
}

}  // namespace
}  // namespace pelliwig
