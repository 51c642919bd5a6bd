#include "linux/x11/X11FullScreen.h"

#include <gtest/gtest.h>
#include <xcb/xcb_icccm.h>

#include <memory>
#include <string>

#include "support/XvfbServer.h"

namespace pelliwig {
namespace {

using testing::waitUntil;

// A plain top-level window of the test's own.
class TestWindow {
public:
    explicit TestWindow(XcbConnection& x) : x_(x), id_(xcb_generate_id(x.get())) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x.get())).data;
        xcb_create_window(x.get(), XCB_COPY_FROM_PARENT, id_, x.root(), 10, 10, 300, 200, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        const char wmClass[] = "film\0Film";
        xcb_icccm_set_wm_class(x.get(), id_, sizeof wmClass, wmClass);
        xcb_map_window(x.get(), id_);
        xcb_flush(x.get());
    }
    ~TestWindow() {
        xcb_destroy_window(x_.get(), id_);
        xcb_flush(x_.get());
    }

    // Asks the window manager to put the window in or out of full screen,
    // as an application's own full-screen button does.
    void setFullScreen(bool on) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id_;
        message.type = x_.atom("_NET_WM_STATE");
        message.data.data32[0] = on ? 1 : 0;  // _NET_WM_STATE_ADD or _REMOVE
        message.data.data32[1] = x_.atom("_NET_WM_STATE_FULLSCREEN");
        message.data.data32[3] = 1;  // from a normal application
        xcb_send_event(x_.get(), 0, x_.root(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(x_.get());
    }
    std::string id() const { return std::to_string(id_); }

private:
    XcbConnection& x_;
    xcb_window_t id_;
};

// A real X server and window manager: a window goes full screen and back,
// and the focus moves away from a full-screen window and back to it.
TEST(X11FullScreenTest, FollowsTheFocusedWindowsFullScreenState) {
    testing::XvfbServer server;
    if (!server.ok()) GTEST_SKIP() << server.why();
    if (testing::findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
    testing::OpenboxSession wm(server);
    if (!wm.ok()) GTEST_SKIP() << wm.why();
    XcbConnection client(server.display());
    const X11FullScreen source(std::make_shared<XcbConnection>(server.display()));
    EXPECT_FALSE(source.focusedWindowIsFullScreen()) << "nothing has focus yet";

    TestWindow film(client);
    TestWindow notes(client);
    // Each request is repeated until it took: the window manager may not
    // have taken the windows on yet.
    const auto activate = [&](const TestWindow& window) {
        return waitUntil([&] {
            return server.xdotool({"windowactivate", window.id()}) &&
                   std::to_string(client.activeWindow()) == window.id();
        });
    };
    const auto fullScreen = [&](TestWindow& window, bool on) {
        return waitUntil([&] {
            window.setFullScreen(on);
            return source.focusedWindowIsFullScreen() == on;
        });
    };
    ASSERT_TRUE(activate(film));
    EXPECT_FALSE(source.focusedWindowIsFullScreen());
    EXPECT_TRUE(fullScreen(film, true));

    // Full screen but in the background: the user is elsewhere.
    ASSERT_TRUE(activate(notes));
    EXPECT_FALSE(source.focusedWindowIsFullScreen());
    ASSERT_TRUE(activate(film));
    EXPECT_TRUE(source.focusedWindowIsFullScreen());

    EXPECT_TRUE(fullScreen(film, false));
}

TEST(X11FullScreenTest, NeverWithoutAServer) {
    const X11FullScreen source(std::make_shared<XcbConnection>(":9999"));
    EXPECT_FALSE(source.focusedWindowIsFullScreen());
}

}  // namespace
}  // namespace pelliwig
