#include "linux/x11/X11FrontApp.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <xcb/xcb_icccm.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "support/XvfbServer.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using testing::waitUntil;
using namespace std::chrono_literals;

// A title no one may read: if it ever shows up as the application's name,
// the source read the window's title.
constexpr char kTitle[] = "Salaries 2026 - confidential.ods";

// A top-level window of our own with a given WM_CLASS and a title that must
// never be reported.
class TestWindow {
public:
    TestWindow(XcbConnection& x, const std::string& instance, const std::string& className)
        : x_(x), id_(xcb_generate_id(x.get())) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x.get())).data;
        xcb_create_window(x.get(), XCB_COPY_FROM_PARENT, id_, x.root(), 10, 10, 200, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        if (!className.empty()) {
            const std::string wmClass = instance + '\0' + className + '\0';
            xcb_icccm_set_wm_class(x.get(), id_, wmClass.size(), wmClass.data());
        }
        xcb_icccm_set_wm_name(x.get(), id_, XCB_ATOM_STRING, 8, sizeof kTitle - 1, kTitle);
        xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, id_, x.atom("_NET_WM_NAME"),
                            x.atom("UTF8_STRING"), 8, sizeof kTitle - 1, kTitle);
        xcb_map_window(x.get(), id_);
        xcb_flush(x.get());
    }
    ~TestWindow() {
        xcb_destroy_window(x_.get(), id_);
        xcb_flush(x_.get());
    }
    std::string id() const { return std::to_string(id_); }

private:
    XcbConnection& x_;
    xcb_window_t id_;
};

class X11FrontAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server_.ok()) GTEST_SKIP() << server_.why();
        if (testing::findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
        client_ = std::make_unique<XcbConnection>(server_.display());
        connection_ = std::make_shared<XcbConnection>(server_.display());
        fs::remove_all(data_);
        fs::create_directories(data_);
        writeEntry("notes.desktop", "Name=Notes Deluxe\nStartupWMClass=NotesDX\n");
        writeEntry("sketchpad.desktop", "Name=Sketch Pad\n");
    }
    void TearDown() override { fs::remove_all(data_.parent_path()); }

    void startWindowManager() {
        wm_ = std::make_unique<testing::OpenboxSession>(server_);
        if (!wm_->ok()) GTEST_SKIP() << wm_->why();
    }

    void writeEntry(const std::string& file, const std::string& keys) {
        std::ofstream(data_ / file) << "[Desktop Entry]\nType=Application\nExec=true\n" << keys;
    }

    X11FrontApp frontApp() const {
        return X11FrontApp(connection_,
                           std::make_unique<DesktopEntryIndex>(std::vector<fs::path>{data_}));
    }

    // Activates `window` through the window manager, as a click on it would.
    bool activates(const TestWindow& window, const std::optional<std::string>& expected) {
        const X11FrontApp app = frontApp();
        return waitUntil([&] {
            return server_.xdotool({"windowactivate", window.id()}) && app.name() == expected;
        });
    }

    testing::XvfbServer server_;
    std::unique_ptr<testing::OpenboxSession> wm_;
    std::unique_ptr<XcbConnection> client_;  // the test's own X client, owning the windows
    std::shared_ptr<XcbConnection> connection_;
    fs::path data_ =
        fs::temp_directory_path() / ("front-app-" + std::to_string(::getpid())) / "applications";
};

struct WindowCase {
    const char* instance;
    const char* className;
    const char* expected;
};

class X11FrontAppNameTest : public X11FrontAppTest,
                            public ::testing::WithParamInterface<WindowCase> {};

TEST_P(X11FrontAppNameTest, NamesTheActiveWindowsApplication) {
    startWindowManager();
    TestWindow window(*client_, GetParam().instance, GetParam().className);
    EXPECT_TRUE(activates(window, GetParam().expected))
        << "got " << frontApp().name().value_or("none");
}

INSTANTIATE_TEST_SUITE_P(Windows, X11FrontAppNameTest,
                         ::testing::Values(WindowCase{"notes-dx", "NotesDx", "Notes Deluxe"},
                                           WindowCase{"sketchpad", "Sketchpad-bin", "Sketch Pad"},
                                           WindowCase{"unlisted", "Unlisted", "Unlisted"}));

TEST_F(X11FrontAppTest, FollowsTheFocusFromWindowToWindow) {
    startWindowManager();
    TestWindow notes(*client_, "notes-dx", "NotesDx");
    TestWindow sketch(*client_, "sketchpad", "Sketchpad");
    EXPECT_TRUE(activates(notes, "Notes Deluxe"));
    EXPECT_TRUE(activates(sketch, "Sketch Pad"));
    EXPECT_TRUE(activates(notes, "Notes Deluxe"));
}

TEST_F(X11FrontAppTest, NoneForAWindowWithoutAClass) {
    startWindowManager();
    TestWindow named(*client_, "notes-dx", "NotesDx");
    TestWindow classless(*client_, "", "");
    ASSERT_TRUE(activates(named, "Notes Deluxe"));
    EXPECT_TRUE(activates(classless, std::nullopt));
}

TEST_F(X11FrontAppTest, NoneWhenNothingHasFocus) {
    startWindowManager();
    EXPECT_EQ(frontApp().name(), std::nullopt);
}

TEST_F(X11FrontAppTest, NoneWithoutAWindowManager) {
    TestWindow window(*client_, "notes-dx", "NotesDx");
    EXPECT_EQ(frontApp().name(), std::nullopt);
}

TEST_F(X11FrontAppTest, NoneOnceTheServerIsGone) {
    startWindowManager();
    TestWindow window(*client_, "notes-dx", "NotesDx");
    ASSERT_TRUE(activates(window, "Notes Deluxe"));
    server_.kill();
    EXPECT_EQ(frontApp().name(), std::nullopt);
}

}  // namespace
}  // namespace pelliwig
