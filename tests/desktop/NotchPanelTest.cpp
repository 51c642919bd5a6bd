// The real panel on a private X server with openbox, without a compositor
// and with one: where it goes, what the window manager sees of it, what it
// shows through its shape or its see-through pixels, and that a focused
// full-screen window keeps the keyboard while she comes out and is clicked.

#include "desktop/notch/NotchPanel.h"

#include <xcb/xcb.h>
#include <xcb/xcb_icccm.h>

#include <algorithm>
#include <cstdlib>
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
#include "linux/x11/X11Desktop.h"
#include "linux/x11/XcbConnection.h"
#include "support/QtApplication.h"
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

const auto* const kApp = ::testing::AddGlobalTestEnvironment(
    new testing::QtApplication([] { return kDisplay.whyNot().empty(); }));

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

Moment water() {
    Moment m;
    m.kind = ReminderKind::water;
    m.line = "Water break! Refill that brain.";
    return m;
}

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
        if (!editor_) return;
        // The next test's editor may get the same id; mapped before openbox
        // has let this one go, it may be taken for it and not made full screen.
        const xcb_window_t editor = editor_->id();
        editor_.reset();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            const auto managed = managedWindows();
            return std::find(managed.begin(), managed.end(), editor) == managed.end();
        }));
    }

    // The windows openbox manages, from _NET_CLIENT_LIST.
    std::vector<xcb_window_t> managedWindows() {
        auto clients =
            x_->reply(xcb_get_property_reply,
                      xcb_get_property(x_->get(), 0, x_->root(), x_->atom("_NET_CLIENT_LIST"),
                                       XCB_ATOM_WINDOW, 0, 1024));
        if (!clients) return {};
        const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(clients.get()));
        return {ids, ids + xcb_get_property_value_length(clients.get()) / 4};
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

    // Clicks an answer, then the box: the answer counts once, the keyboard
    // stays with the editor throughout, and once she is gone the screen is
    // the editor's again where the box and the bubble were.
    void answerThenDismiss() {
        std::vector<Answer> answered;
        notch_->model().onAnswer = [&](const Moment&, const Answer& a) { answered.push_back(a); };
        ASSERT_TRUE(presentAndSettle(water()));
        const QRect bubble = bubbleBody();
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
        ASSERT_TRUE(QTest::qWaitFor([&] { return !panel_->view()->isVisible(); }));
        for (const QPoint& at : {QPoint(kOnBox.x(), 10), kOnBox, bubble.center()}) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return pixel(at.x(), at.y()) == kDesktopColour; }))
                << at.x() << "," << at.y() << ": " << std::hex << pixel(at.x(), at.y());
        }
    }

    // The bubble's rounded rectangle on the screen, without its tail.
    QRect bubbleBody() const {
        const Bubble& bubble = *panel_->view()->bubble();
        const QPoint at = bubble.mapToGlobal(QPoint(Bubble::kMargin, Bubble::kMargin));
        return QRect(at,
                     QSize(int(bubble.layout().bubble.width), int(bubble.layout().bubble.height)));
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
    const auto managed = managedWindows();
    EXPECT_EQ(std::count(managed.begin(), managed.end(), panelWindow()), 0);
    EXPECT_EQ(std::count(managed.begin(), managed.end(), editor_->id()), 1);
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
    answerThenDismiss();
}

// What the keyboard does once she was asked to take it, and where it goes
// after: back to the editor that had it.
struct KeysCase {
    std::string name;
    std::vector<std::string> keys;  // as xdotool names them
    std::vector<std::string> answered;
    int timedOut;
};

class NotchPanelKeyboardTest : public NotchPanelTest,
                               public ::testing::WithParamInterface<KeysCase> {};

TEST_P(NotchPanelKeyboardTest, AnswersFromTheKeyboardWhenAskedAndGivesItBack) {
    std::vector<std::string> answered;
    int timedOut = 0;
    notch_->model().onAnswer = [&](const Moment&, const Answer& a) {
        answered.push_back(a.label);
        notch_->dismiss();
    };
    const Connection watch = notch_->timedOut.connect([&](const Moment&) { ++timedOut; });
    notch_->present(water(), 60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel_->view()->bubble()->isVisible(); }));
    // Unasked, she never has it.
    EXPECT_EQ(focusedWindow(), editor_->id());
    EXPECT_FALSE(panel_->hasKeyboard());

    ASSERT_TRUE(panel_->takeKeyboard());
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedWindow() == panelWindow(); }))
        << "focus is on " << focusedWindow();
    for (const auto& key : GetParam().keys) {
        ASSERT_TRUE(kDisplay.server.xdotool({"key", "--clearmodifiers", key}));
        QTest::qWait(0);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return answered.size() == GetParam().answered.size() && timedOut == GetParam().timedOut;
    })) << answered.size()
        << " answers, " << timedOut << " time-outs";
    EXPECT_EQ(answered, GetParam().answered);
    EXPECT_TRUE(QTest::qWaitFor([&] { return focusedWindow() == editor_->id(); }))
        << "focus is on " << focusedWindow();
    EXPECT_FALSE(panel_->hasKeyboard());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, NotchPanelKeyboardTest,
    ::testing::Values(KeysCase{"ReturnPicksTheFirst", {"Return"}, {"Drank \U0001F4A7"}, 0},
                      KeysCase{"RightThenReturn", {"Right", "Return"}, {"In 10 min"}, 0},
                      KeysCase{"TabThenSpace", {"Tab", "space"}, {"In 10 min"}, 0},
                      KeysCase{
                          "BackAndForth", {"Right", "Left", "Return"}, {"Drank \U0001F4A7"}, 0},
                      KeysCase{"EscapeLetsItGo", {"Escape"}, {}, 1}),
    [](const auto& row) { return row.param.name; });

TEST_F(NotchPanelTest, NoBubbleNoKeyboard) {
    EXPECT_FALSE(panel_->takeKeyboard());
    Moment peek = water();
    peek.style = MomentStyle::peek;
    ASSERT_TRUE(presentAndSettle(peek));
    EXPECT_FALSE(panel_->takeKeyboard());
    EXPECT_EQ(focusedWindow(), editor_->id());
}

// Frame by frame on the screen: asked to keep still, she is all out and her
// bubble all there at the first frame; otherwise she slides and springs.
class NotchPanelMotionTest : public NotchPanelTest, public ::testing::WithParamInterface<bool> {};

TEST_P(NotchPanelMotionTest, ReducedMotionShowsHerAtOnce) {
    const bool still = GetParam();
    panel_->setMotionReduced([still] { return still; });
    double now = 0;
    auto* view = panel_->view();
    view->setAnimationClock([&now] { return now; });
    notch_->present(water());
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }));
    view->advance();
    QTest::qWait(50);  // the first frame reaches the screen
    EXPECT_EQ(view->animating(), !still);
    EXPECT_EQ(view->bubble()->isVisible(), still);
    // The box beside her is black at once only when she keeps still.
    const bool boxOut = QTest::qWaitFor([&] { return pixel(kOnBox.x(), kOnBox.y()) == 0; }, 300);
    EXPECT_EQ(boxOut, still);
    now = 2;  // long after every curve has settled
    view->advance();
    EXPECT_FALSE(view->animating());
    EXPECT_TRUE(QTest::qWaitFor([&] { return pixel(kOnBox.x(), kOnBox.y()) == 0; }));
    EXPECT_TRUE(view->bubble()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Motion, NotchPanelMotionTest, ::testing::Bool(),
                         [](const auto& row) { return row.param ? "Still" : "Moving"; });

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

// The xcompmgr compositing manager on the test's X server, in its plain mode
// (no shadows or fades of its own), which draws the composited screen into
// the root window, where a screen grab reads it. ok() once it owns the
// compositing manager's selection.
class CompositorSession {
public:
    explicit CompositorSession(XcbConnection& x) : x_(x) {
        const std::string xcompmgr = testing::findProgram("xcompmgr");
        if (xcompmgr.empty()) {
            why_ = "xcompmgr is not installed";
            return;
        }
        auto cm = testing::ChildProcess::start({xcompmgr, "-n"}, kDisplay.server.env());
        if (!cm || !QTest::qWaitFor([&] { return !cm->running() || running(); })) {
            why_ = "xcompmgr did not take over the screen";
            return;
        }
        if (!cm->running()) {
            why_ = "xcompmgr exited at start";
            return;
        }
        cm_ = std::move(*cm);
    }

    bool ok() const { return cm_.pid() > 0; }
    const std::string& why() const { return why_; }

    // Ends it; true once the server has let its selection go.
    bool stop() {
        cm_.stop();
        return QTest::qWaitFor([&] { return !running(); });
    }

private:
    // A compositing manager owns _NET_WM_CM_S<screen>; the test's is screen 0.
    bool running() {
        auto owner = x_.reply(xcb_get_selection_owner_reply,
                              xcb_get_selection_owner(x_.get(), x_.atom("_NET_WM_CM_S0")));
        return owner && owner->owner != XCB_NONE;
    }

    XcbConnection& x_;
    testing::ChildProcess cm_;
    std::string why_;
};

// The same panel with a compositor started before she comes out, as on most
// desktops: the window keeps its see-through pixels, which show what is below.
class NotchPanelCompositorTest : public NotchPanelTest {
protected:
    void SetUp() override {
        NotchPanelTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        compositor_ = std::make_unique<CompositorSession>(*x_);
        if (!compositor_->ok()) {
            GTEST_SKIP() << compositor_->why();
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return pixel(kOnBox.x(), 10) == kDesktopColour; }))
            << "the compositor shows " << std::hex << pixel(kOnBox.x(), 10) << ", not the editor";
    }

    void TearDown() override {
        NotchPanelTest::TearDown();
        // The other tests run without one.
        if (compositor_ && compositor_->ok()) {
            EXPECT_TRUE(compositor_->stop());
        }
    }

    // The desktop's colour, give or take a faint shadow.
    static bool showsDesktop(uint32_t rgb) {
        for (int shift : {0, 8, 16}) {
            const int got = int(rgb >> shift & 0xff), want = int(kDesktopColour >> shift & 0xff);
            if (std::abs(got - want) > 8) return false;
        }
        return true;
    }

    std::unique_ptr<CompositorSession> compositor_;
};

TEST_F(NotchPanelCompositorTest, DesktopShowsThroughWhereNothingIsDrawn) {
    EXPECT_TRUE(X11Desktop::compositing());
    ASSERT_TRUE(presentAndSettle(water()));
    const QRect frame = panel_->view()->geometry();
    EXPECT_EQ(frame.topLeft(), QPoint(kNotchLeft, 0));
    // The shape keeps room for the bubble's shadow rather than only what is drawn.
    EXPECT_EQ(panel_->view()->mask(), panel_->view()->paintedRegion(NotchPanel::kShadowRoom));
    const QRect body = bubbleBody();
    EXPECT_EQ(pixel(kNotchLeft + 186, 60), 0u);
    EXPECT_EQ(pixel(body.left() + 60, body.top() + 20), 0xffffffu);
    struct Place {
        const char* what;
        QPoint at;
    };
    const Place seeThrough[] = {
        {"the bubble's rounded top-right corner", body.topRight() + QPoint(-1, 1)},
        {"the shadow's room above the bubble", body.topRight() + QPoint(8, -8)},
        {"the shadow's room above it, beside the box", body.topLeft() + QPoint(40, -16)},
        {"below the box", QPoint(kNotchLeft + 100, frame.bottom() - 4)},
    };
    for (const Place& place : seeThrough) {
        const uint32_t rgb = pixel(place.at.x(), place.at.y());
        EXPECT_TRUE(showsDesktop(rgb)) << place.what << ": " << std::hex << rgb;
    }
    // The bubble's soft shadow below it: the desktop a little darker.
    const uint32_t shadow = pixel(body.center().x(), body.bottom() + 4);
    EXPECT_LT(shadow & 0xff, kDesktopColour & 0xff) << std::hex << shadow;
    EXPECT_GT(shadow & 0xff, (kDesktopColour & 0xff) * 3 / 4) << std::hex << shadow;
    saveScreen(frame.adjusted(-40, 0, 40, 20), "panel-composited.png");
}

// As without a compositor; and no frame of her is left on the screen after.
TEST_F(NotchPanelCompositorTest, ClicksActWithoutTakingFocus) {
    answerThenDismiss();
}

// Asked each time she comes out: once the compositor has gone, the shape is
// again only what is drawn, and nothing around the bubble shows black.
TEST_F(NotchPanelCompositorTest, FollowsTheCompositorGoingAway) {
    ASSERT_TRUE(presentAndSettle(water()));
    const QRect body = bubbleBody();
    const QPoint below(body.center().x(), body.bottom() + 4);
    EXPECT_NE(pixel(below.x(), below.y()), kDesktopColour);  // shadow
    notch_->dismiss();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel_->view()->isVisible(); }));
    ASSERT_TRUE(compositor_->stop());
    EXPECT_FALSE(X11Desktop::compositing());
    ASSERT_TRUE(presentAndSettle(water()));
    EXPECT_EQ(panel_->view()->mask(), panel_->view()->paintedRegion());
    EXPECT_EQ(pixel(below.x(), below.y()), kDesktopColour);
    EXPECT_EQ(pixel(body.left() + 60, body.top() + 20), 0xffffffu);
}

}  // namespace
}  // namespace pelliwig
