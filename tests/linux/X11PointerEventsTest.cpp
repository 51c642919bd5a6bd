#include "linux/x11/X11PointerEvents.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/VirtualScheduler.h"
#include "support/XvfbServer.h"

namespace pelliwig {
namespace {

using testing::waitUntil;
using namespace std::chrono_literals;

// Positions are coalesced by the scheduler's clock, which here is virtual:
// the X server is real, but the interval only ends when the test says so.
class X11PointerEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server_.ok()) GTEST_SKIP() << server_.why();
        if (testing::findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
        events_ = std::make_unique<X11PointerEvents>(scheduler_, server_.display());
        ASSERT_GE(events_->fd(), 0);
        connection_ = events_->onMove([this](Point p) { positions_.push_back(p); });
    }

    // What the shell does when the socket is readable.
    void pump() {
        pollfd watch{events_->fd(), POLLIN, 0};
        if (::poll(&watch, 1, 5) > 0) events_->processEvents();
    }

    bool delivered(Point p) {
        return waitUntil([&] {
            pump();
            return !positions_.empty() && positions_.back() == p;
        });
    }

    // Moves the pointer to `p` as a mouse would. xdotool's absolute move
    // warps the pointer, which is no input and makes no raw motion, so it
    // only takes the pointer next to `p`; the last step is a relative move
    // through the XTest device.
    bool move(Point p) {
        const int x = static_cast<int>(p.x);
        const int step = x > 0 ? 1 : -1;
        return server_.xdotool({"mousemove", std::to_string(x - step),
                                std::to_string(static_cast<int>(p.y)), "mousemove_relative", "--",
                                std::to_string(step), "0"});
    }

    // Where the server has the pointer, asked on a connection of the test's own.
    Point pointer() const {
        XcbConnection x(server_.display());
        const auto reply = x.reply(xcb_query_pointer_reply, xcb_query_pointer(x.get(), x.root()));
        return reply ? Point{double(reply->root_x), double(reply->root_y)} : Point{-1, -1};
    }

    testing::XvfbServer server_;
    VirtualScheduler scheduler_{1000};
    std::unique_ptr<X11PointerEvents> events_;
    Connection connection_;
    std::vector<Point> positions_;
};

// Where the pointer came to rest before each test's last step.
const std::vector<Point> kFirstOnly{{10, 10}};

class X11PointerPositionTest : public X11PointerEventsTest,
                               public ::testing::WithParamInterface<Point> {};

TEST_P(X11PointerPositionTest, DeliversWhereThePointerWent) {
    ASSERT_TRUE(move(GetParam()));
    EXPECT_TRUE(delivered(GetParam()));
    EXPECT_EQ(positions_.size(), 1u);
}

// Root coordinates with y growing downward, corners included.
INSTANTIATE_TEST_SUITE_P(Positions, X11PointerPositionTest,
                         ::testing::Values(Point{100, 200}, Point{0, 0},
                                           Point{testing::XvfbServer::kWidth - 1,
                                                 testing::XvfbServer::kHeight - 1},
                                           Point{640, 3}));

TEST_F(X11PointerEventsTest, CoalescesMovesWithinAnIntervalIntoTheLastPosition) {
    ASSERT_TRUE(move({10, 10}));
    ASSERT_TRUE(delivered({10, 10}));

    ASSERT_TRUE(server_.xdotool({"mousemove_relative", "10", "10", "mousemove_relative", "20", "30",
                                 "mousemove_relative", "20", "20"}));
    ASSERT_TRUE(waitUntil([&] {
        pump();
        return pointer() == Point{60, 70} && scheduler_.pending() == 1;
    }));
    EXPECT_EQ(positions_, kFirstOnly) << "delivered within the interval";

    scheduler_.advance(X11PointerEvents::kMinInterval);
    const std::vector<Point> expected{{10, 10}, {60, 70}};
    EXPECT_EQ(positions_, expected);
}

TEST_F(X11PointerEventsTest, DeliversAtOnceAfterAQuietInterval) {
    ASSERT_TRUE(move({10, 10}));
    ASSERT_TRUE(delivered({10, 10}));
    scheduler_.advance(X11PointerEvents::kMinInterval);
    ASSERT_TRUE(move({300, 200}));
    EXPECT_TRUE(delivered({300, 200}));
    EXPECT_EQ(scheduler_.pending(), 0u);
}

TEST_F(X11PointerEventsTest, StopsWhenTheConnectionIsDropped) {
    ASSERT_TRUE(move({10, 10}));
    ASSERT_TRUE(delivered({10, 10}));
    connection_.disconnect();
    scheduler_.advance(1);
    ASSERT_TRUE(move({400, 400}));
    ASSERT_TRUE(waitUntil([&] { return pointer() == Point{400, 400}; }));
    for (int i = 0; i < 10; ++i) pump();
    scheduler_.advance(1);
    EXPECT_EQ(positions_, kFirstOnly);
}

TEST_F(X11PointerEventsTest, NothingOnceTheServerIsGone) {
    ASSERT_TRUE(move({10, 10}));
    ASSERT_TRUE(delivered({10, 10}));
    server_.kill();
    events_->processEvents();
    scheduler_.advance(1);
    EXPECT_EQ(events_->fd(), -1);
    EXPECT_EQ(positions_, kFirstOnly);
}

}  // namespace
}  // namespace pelliwig
