#include "linux/x11/X11IdleTime.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/XvfbServer.h"

namespace pelliwig {
namespace {

using testing::findProgram;
using testing::waitUntil;
using namespace std::chrono_literals;

class X11IdleTimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server_.ok()) GTEST_SKIP() << server_.why();
        if (findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
        connection_ = std::make_shared<XcbConnection>(server_.display());
        ASSERT_TRUE(connection_->ok());
    }

    // Waits until the server has seen no input for `seconds`.
    bool idleFor(double seconds) {
        return waitUntil([&] { return idle().seconds() >= seconds; }, 3s);
    }

    X11IdleTime idle() const { return X11IdleTime(connection_); }

    testing::XvfbServer server_;
    std::shared_ptr<XcbConnection> connection_;
};

TEST_F(X11IdleTimeTest, GrowsWhileNothingHappens) {
    const double first = idle().seconds();
    EXPECT_TRUE(idleFor(first + 0.15));
}

class X11IdleTimeInputTest : public X11IdleTimeTest,
                             public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(X11IdleTimeInputTest, DropsAfterInput) {
    ASSERT_TRUE(idleFor(0.3));
    ASSERT_TRUE(server_.xdotool(GetParam()));
    EXPECT_TRUE(waitUntil([&] { return idle().seconds() < 0.3; }, 1s))
        << "still idle for " << idle().seconds() << " s";
}

INSTANTIATE_TEST_SUITE_P(Input, X11IdleTimeInputTest,
                         ::testing::Values(std::vector<std::string>{"key", "shift"},
                                           std::vector<std::string>{"mousemove", "40", "60"},
                                           std::vector<std::string>{"click", "1"}));

TEST_F(X11IdleTimeTest, ReadsNothingOnceTheServerIsGone) {
    ASSERT_TRUE(idleFor(0.05));
    server_.kill();
    EXPECT_EQ(idle().seconds(), 0);
    EXPECT_FALSE(connection_->ok());
}

}  // namespace
}  // namespace pelliwig
