#include "linux/wayland/SwayIpc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/WaylandCompositor.h"

namespace pelliwig {
namespace {

using Output = SwayIpc::Output;

// Replies as sway gives them, cut to the fields that count.
constexpr const char* kOutputs = R"([
  {"name": "HEADLESS-1", "active": true, "focused": false, "current_workspace": "1",
   "rect": {"x": 0, "y": 0, "width": 1280, "height": 800}},
  {"name": "HEADLESS-2", "active": true, "focused": true, "current_workspace": "2",
   "rect": {"x": 1280, "y": 0, "width": 640, "height": 400}},
  {"name": "HDMI-A-1", "active": false, "current_workspace": null,
   "rect": {"x": 0, "y": 0, "width": 0, "height": 0}}
])";
constexpr const char* kWorkspaces = R"([
  {"name": "1", "output": "HEADLESS-1", "rect": {"x": 0, "y": 26, "width": 1280, "height": 774}},
  {"name": "2", "output": "HEADLESS-2", "rect": {"x": 1280, "y": 0, "width": 640, "height": 400}},
  {"name": "3", "output": "HEADLESS-1", "rect": {"x": 0, "y": 0, "width": 1280, "height": 800}}
])";

TEST(SwayIpcTest, ReadsEachOutputsFreeAreaFromItsVisibleWorkspace) {
    struct Case {
        const char* name;
        std::string outputs, workspaces;
        std::vector<Output> expected;
    };
    const Case cases[] = {
        {"a bar on the first output, the focus on the second",
         kOutputs,
         kWorkspaces,
         {{"HEADLESS-1", {0, 0, 1280, 800}, {0, 26, 1280, 774}, false},
          {"HEADLESS-2", {1280, 0, 640, 400}, {1280, 0, 640, 400}, true}}},
        {"no workspaces: the whole output is free",
         kOutputs,
         "[]",
         {{"HEADLESS-1", {0, 0, 1280, 800}, {0, 0, 1280, 800}, false},
          {"HEADLESS-2", {1280, 0, 640, 400}, {1280, 0, 640, 400}, true}}},
        {"not sway's replies", "{\"error\": 1}", kWorkspaces, {}},
        {"not JSON at all", "i3-ipc\x01", "", {}},
        {"an output without a rect is left out",
         R"([{"name": "X", "active": true, "rect": {"x": "0"}}])",
         "[]",
         {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SwayIpc::parse(c.outputs, c.workspaces), c.expected) << c.name;
    }
}

// The real socket: sway answers, a socket nobody listens on does not.
TEST(SwayIpcTest, AsksSwayItself) {
    EXPECT_FALSE(SwayIpc("/nonexistent/sway-ipc.sock").answers());
    EXPECT_TRUE(SwayIpc("/nonexistent/sway-ipc.sock").outputs().empty());
    testing::WaylandCompositor sway(testing::WaylandCompositor::Kind::sway);
    if (!sway.ok()) GTEST_SKIP() << "sway: " << sway.why();
    std::string socket;
    for (const auto& var : sway.env()) {
        if (var.starts_with("SWAYSOCK=")) socket = var.substr(9);
    }
    const SwayIpc ipc(socket);
    ASSERT_TRUE(ipc.answers());
    const auto outputs = ipc.outputs();
    ASSERT_EQ(outputs.size(), 1u);
    EXPECT_EQ(outputs[0].name, "HEADLESS-1");
    EXPECT_EQ(outputs[0].rect, (Rect{0, 0, 1280, 800}));
    EXPECT_TRUE(outputs[0].focused);
}

}  // namespace
}  // namespace pelliwig
