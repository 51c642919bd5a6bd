// The real panel on a private X server with openbox and no compositor: where
// it goes, what the window manager sees of it, what it shows through its
// shape, and that a focused full-screen window keeps the keyboard while she
// comes out and is clicked.

#include "desktop/notch/NotchPanel.h"

#include <xcb/xcb.h>
#include <xcb/xcb_icccm.h>

#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

#include "core/content/LineBank.h"
#include "core/notch/NotchController.h"
#include "desktop/notch/Bubble.h"
#include "desktop/support/Assets.h"
#include "desktop/support/QtScheduler.h"
#include "desktop/support/QtScreens.h"
#include "desktop/support/SpriteSheet.h"
#include "fakes/SeededRandom.h"
#include "linux/XcbConnection.h"
#include "support/XvfbServer.h"

namespace pelliwig {
namespace {

using testing::XvfbServer;

// Started before the application, which then draws on it; a test skips when
// either could not be had.
struct PanelDisplay {
    PanelDisplay() {
        if (!server.ok()) return;
        wm = std::make_unique<testing::OpenboxSession>(server);
        qputenv("DISPLAY", QByteArray::fromStdString(server.display()));
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    std::string whyNot() const {
        if (!server.ok()) return server.why();
        if (!wm->ok()) return wm->why();
        if (testing::findProgram("xdotool").empty()) return "xdotool is not installed";
        return {};
    }
    XvfbServer server;
    std::unique_ptr<testing::OpenboxSession> wm;
};

const PanelDisplay kDisplay;

class QtApplication : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "pelliwig-test";
        static char* argv[] = {name, nullptr};
        if (kDisplay.whyNot().empty() && !QApplication::instance())
            new QApplication(argc, argv);  // lives until the process ends
    }
};

const auto* const kApp = ::testing::AddGlobalTestEnvironment(new QtApplication);

constexpr uint32_t kDesktopColour = 0x3366cc;

// Another application's window, full screen and focused, painted one colour.
class FullScreenWindow {
public:
    explicit FullScreenWindow(XcbConnection& x) : x_(x), id_(xcb_generate_id(x.get())) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x.get())).data;
        const uint32_t values[] = {kDesktopColour};
        xcb_create_window(x.get(), XCB_COPY_FROM_PARENT, id_, x.root(), 0, 0,
                          screen->width_in_pixels, screen->height_in_pixels, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                          values);
        const xcb_atom_t fullScreen = x.atom("_NET_WM_STATE_FULLSCREEN");
        xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, id_, x.atom("_NET_WM_STATE"),
                            XCB_ATOM_ATOM, 32, 1, &fullScreen);
        const char wmClass[] = "editor\0Editor";
        xcb_icccm_set_wm_class(x.get(), id_, sizeof wmClass, wmClass);
        xcb_map_window(x.get(), id_);
        xcb_flush(x.get());
    }
    ~FullScreenWindow() {
        xcb_destroy_window(x_.get(), id_);
        xcb_flush(x_.get());
    }
    xcb_window_t id() const { return id_; }

private:
    XcbConnection& x_;
    xcb_window_t id_;
};

class NotchPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string why = kDisplay.whyNot(); !why.empty()) GTEST_SKIP() << why;
        x_ = std::make_unique<XcbConnection>(kDisplay.server.display());
        editor_ = std::make_unique<FullScreenWindow>(*x_);
        // Activated once openbox manages it; asked again until it has the
        // keyboard, since a request may land before the window is mapped.
        ASSERT_TRUE(QTest::qWaitFor([&] {
            kDisplay.server.xdotool({"windowactivate", "--sync", std::to_string(editor_->id())});
            return focusedWindow() == editor_->id();
        })) << "focus is on "
            << focusedWindow() << ", not " << editor_->id();
        sprites_ = std::make_unique<SpriteSheet>(
            [] {
                return SpriteSheet::Situation{Appearance::zuzi, std::nullopt, "2025-6-1"};
            },
            [](const QString& name) { return Assets::url(name); });
        panel_ = std::make_unique<NotchPanel>(
            *sprites_, [this](const Moment& m) { return bank_.answers(m, Language::english); });
        notch_ = std::make_unique<NotchController>(scheduler_, screens_, *panel_);
    }

    void TearDown() override {
        notch_.reset();  // before the surface it draws on
        panel_.reset();
    }

    xcb_window_t focusedWindow() {
        auto* reply = xcb_get_input_focus_reply(x_->get(), xcb_get_input_focus(x_->get()), nullptr);
        const xcb_window_t focus = reply ? reply->focus : XCB_NONE;
        free(reply);
        return focus;
    }

    xcb_window_t panelWindow() const { return xcb_window_t(panel_->view()->winId()); }

    // The screen's pixel, as a person would see it.
    uint32_t pixel(int x, int y) {
        auto* reply =
            xcb_get_image_reply(x_->get(),
                                xcb_get_image(x_->get(), XCB_IMAGE_FORMAT_Z_PIXMAP, x_->root(),
                                              int16_t(x), int16_t(y), 1, 1, ~0u),
                                nullptr);
        uint32_t value = 0;
        if (reply && xcb_get_image_data_length(reply) >= 4)
            value = *reinterpret_cast<const uint32_t*>(xcb_get_image_data(reply)) & 0xffffff;
        free(reply);
        return value;
    }

    // Part of the screen as a picture, kept in gallery/ beside the test
    // program for a person to look at.
    void saveScreen(const QRect& area, const QString& name) {
        auto* reply = xcb_get_image_reply(
            x_->get(),
            xcb_get_image(x_->get(), XCB_IMAGE_FORMAT_Z_PIXMAP, x_->root(), int16_t(area.x()),
                          int16_t(area.y()), uint16_t(area.width()), uint16_t(area.height()), ~0u),
            nullptr);
        ASSERT_NE(reply, nullptr);
        ASSERT_EQ(xcb_get_image_data_length(reply), area.width() * area.height() * 4);
        const QImage screen(xcb_get_image_data(reply), area.width(), area.height(),
                            QImage::Format_RGB32);
        const QDir dir(QDir(QCoreApplication::applicationDirPath()).filePath("gallery"));
        dir.mkpath(".");
        EXPECT_TRUE(screen.copy().save(dir.filePath(name)));
        free(reply);
    }

    // Windows in stacking order, bottom first.
    std::vector<xcb_window_t> stacking() {
        auto* tree =
            xcb_query_tree_reply(x_->get(), xcb_query_tree(x_->get(), x_->root()), nullptr);
        std::vector<xcb_window_t> children;
        if (tree) {
            const xcb_window_t* first = xcb_query_tree_children(tree);
            children.assign(first, first + xcb_query_tree_children_length(tree));
        }
        free(tree);
        return children;
    }

    // The top-level window (a child of the root) holding `window`.
    xcb_window_t topLevelOf(xcb_window_t window) {
        for (;;) {
            auto* tree =
                xcb_query_tree_reply(x_->get(), xcb_query_tree(x_->get(), window), nullptr);
            const xcb_window_t parent = tree ? tree->parent : XCB_NONE;
            free(tree);
            if (parent == XCB_NONE || parent == x_->root()) return window;
            window = parent;
        }
    }

    bool presentAndSettle(const Moment& moment) {
        notch_->present(moment);
        return QTest::qWaitFor([&] {
            return panel_->view()->isVisible() && !panel_->view()->animating() &&
                   pixel(kOnBox.x(), kOnBox.y()) == 0;
        });
    }

    // The notch substitute is 200 wide at the top centre of the 1280 wide
    // screen; openbox reserves no top panel, so it is 32 tall.
    static constexpr int kNotchLeft = (XvfbServer::kWidth - 200) / 2;
    // A point on the box beside her.
    static constexpr QPoint kOnBox{kNotchLeft + 14, 90};

    std::unique_ptr<XcbConnection> x_;
    std::unique_ptr<FullScreenWindow> editor_;
    SeededRandom random_;
    LineBank bank_{random_};
    QtScheduler scheduler_;
    QtScreens screens_;
    std::unique_ptr<SpriteSheet> sprites_;
    std::unique_ptr<NotchPanel> panel_;
    std::unique_ptr<NotchController> notch_;
};

Moment water() {
    Moment m;
    m.kind = ReminderKind::water;
    m.line = "Water break! Refill that brain.";
    return m;
}

TEST_F(NotchPanelTest, ShowsAtTheTopCentreAboveAFocusedFullScreenWindow) {
    ASSERT_TRUE(presentAndSettle(water()));
    const QRect frame = panel_->view()->geometry();
    EXPECT_EQ(frame.topLeft(), QPoint(kNotchLeft, 0));
    EXPECT_EQ(frame.size(), QSize(200 + 338, 32 + 272));
    const auto order = stacking();
    const auto panelAt = std::find(order.begin(), order.end(), panelWindow());
    const auto editorAt = std::find(order.begin(), order.end(), topLevelOf(editor_->id()));
    ASSERT_NE(panelAt, order.end());
    ASSERT_NE(editorAt, order.end());
    EXPECT_GT(panelAt, editorAt);
    EXPECT_EQ(focusedWindow(), editor_->id());
}

// A full-screen window raised while she is out does not cover her.
TEST_F(NotchPanelTest, StaysAboveAWindowRaisedWhileShown) {
    ASSERT_TRUE(presentAndSettle(water()));
    ASSERT_TRUE(kDisplay.server.xdotool({"windowraise", std::to_string(editor_->id())}));
    ASSERT_TRUE(
        kDisplay.server.xdotool({"windowactivate", "--sync", std::to_string(editor_->id())}));
    const auto order = stacking();  // after openbox has made it active
    const auto panelAt = std::find(order.begin(), order.end(), panelWindow());
    const auto editorAt = std::find(order.begin(), order.end(), topLevelOf(editor_->id()));
    EXPECT_GT(panelAt, editorAt);
    EXPECT_EQ(pixel(kOnBox.x(), kOnBox.y()), 0u);
}

// Unmanaged: no frame, never focused by the window manager, on every
// workspace, in no task bar or window list; and it asks for no input.
TEST_F(NotchPanelTest, WindowManagerLeavesItAlone) {
    ASSERT_TRUE(presentAndSettle(water()));
    auto* attributes = xcb_get_window_attributes_reply(
        x_->get(), xcb_get_window_attributes(x_->get(), panelWindow()), nullptr);
    ASSERT_NE(attributes, nullptr);
    EXPECT_TRUE(attributes->override_redirect);
    free(attributes);
    xcb_icccm_wm_hints_t hints{};
    ASSERT_TRUE(xcb_icccm_get_wm_hints_reply(
        x_->get(), xcb_icccm_get_wm_hints(x_->get(), panelWindow()), &hints, nullptr));
    EXPECT_TRUE(hints.flags & XCB_ICCCM_WM_HINT_INPUT);
    EXPECT_FALSE(hints.input);
    auto* clients = xcb_get_property_reply(
        x_->get(),
        xcb_get_property(x_->get(), 0, x_->root(), x_->atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 0,
                         1024),
        nullptr);
    ASSERT_NE(clients, nullptr);
    const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(clients));
    const int count = xcb_get_property_value_length(clients) / 4;
    EXPECT_EQ(std::count(ids, ids + count, panelWindow()), 0);
    EXPECT_EQ(std::count(ids, ids + count, editor_->id()), 1);
    free(clients);
}

// Without a compositor see-through pixels would show black: the window's
// shape keeps only the box and the bubble, and the window below shows
// everywhere else.
TEST_F(NotchPanelTest, ShapeShowsOnlyWhatIsDrawn) {
    ASSERT_TRUE(presentAndSettle(water()));
    const QRect frame = panel_->view()->geometry();
    const QRect bubble = panel_->view()->bubble()->geometry().translated(frame.topLeft());
    EXPECT_EQ(pixel(kNotchLeft + 186, 60), 0u);  // the box's other side
    EXPECT_EQ(pixel(bubble.left() + 60, bubble.top() + 20), 0xffffffu);
    EXPECT_EQ(pixel(frame.right() - 4, frame.bottom() - 4), kDesktopColour);
    EXPECT_EQ(pixel(frame.left() + 4, frame.bottom() - 4), kDesktopColour);
    EXPECT_EQ(pixel(bubble.left() + 2, bubble.bottom() - 2), kDesktopColour);  // shadow room
    // Where the tail's edge crosses the bubble's top edge, the shape has no gap.
    const QPoint tailBase = bubble.topLeft() + QPoint(Bubble::kMargin, Bubble::kMargin);
    for (int dx = 24; dx <= 36; ++dx)
        EXPECT_EQ(pixel(tailBase.x() + dx, tailBase.y() + 2), 0xffffffu) << dx;
    saveScreen(frame.adjusted(-40, 0, 40, 20), "panel-x11.png");
}

// The first click acts although the application is never active, and the
// keyboard stays with the focused window.
TEST_F(NotchPanelTest, ClicksActWithoutTakingFocus) {
    std::vector<Answer> answered;
    notch_->model().onAnswer = [&](const Moment&, const Answer& a) { answered.push_back(a); };
    ASSERT_TRUE(presentAndSettle(water()));
    const auto buttons = panel_->view()->findChildren<QWidget*>("answerButton");
    ASSERT_EQ(buttons.size(), 2);
    const QPoint answer = buttons[0]->mapToGlobal(buttons[0]->rect().center());
    ASSERT_TRUE(kDisplay.server.xdotool({"mousemove", "--sync", std::to_string(answer.x()),
                                         std::to_string(answer.y()), "click", "1"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !answered.empty(); }));
    EXPECT_EQ(answered.size(), 1u);
    EXPECT_EQ(focusedWindow(), editor_->id());
    ASSERT_TRUE(kDisplay.server.xdotool({"mousemove", "--sync", std::to_string(kOnBox.x()),
                                         std::to_string(kOnBox.y()), "click", "1"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notch_->model().isBubbleShown(); }));
    EXPECT_EQ(focusedWindow(), editor_->id());
    // Dismissed all the way: the window is gone and the screen is the editor's.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel_->view()->isVisible(); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return pixel(kOnBox.x(), 10) == kDesktopColour; }));
}

// A photo bubble is taller than the usual window, which grows to hold it.
TEST_F(NotchPanelTest, GrowsForAPhotoBubble) {
    QImage photo(400, 300, QImage::Format_RGB32);
    photo.fill(QColor(0x20, 0x80, 0x40));
    const QString path = QDir::temp().filePath("pelliwig-panel-photo.png");
    ASSERT_TRUE(photo.save(path));
    Moment m = water();
    m.kind = ReminderKind::photo;
    m.image = path.toStdString();
    ASSERT_TRUE(presentAndSettle(m));
    const QRect frame = panel_->view()->geometry();
    const QRect bubble = panel_->view()->bubble()->geometry();
    EXPECT_GT(frame.height(), 32 + 272);
    EXPECT_LE(bubble.bottom(), frame.height());
    EXPECT_EQ(pixel(frame.left() + bubble.left() + 60, frame.top() + bubble.top() + 60), 0x208040u);
    saveScreen(frame.adjusted(-40, 0, 40, 20), "panel-x11-photo.png");
    QFile::remove(path);
}

}  // namespace
}  // namespace pelliwig
