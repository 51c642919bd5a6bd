#include "core/sensors/MeetingDetector.h"

#include <gtest/gtest.h>

#include "fakes/ScriptedMediaDevices.h"

namespace pelliwig {
namespace {

TEST(MeetingDetector, CameraRunsWhenAnyAnsweringCameraRuns) {
    struct Case {
        std::vector<std::optional<bool>> cameras;
        bool running;
    };
    const Case cases[] = {
        {{}, false},
        {{std::nullopt, std::nullopt}, false},  // none answered
        {{false, false}, false},
        {{std::nullopt, true}, true},  // a silent first camera does not hide the second
        {{false, true}, true},
    };
    for (const auto& c : cases) {
        ScriptedMediaDevices devices;
        devices.cameraStates = c.cameras;
        EXPECT_EQ(MeetingDetector(devices).cameraRunning(), c.running) << c.cameras.size();
    }
}

TEST(MeetingDetector, AsksTheMicrophoneOnlyWhenNoCameraRuns) {
    ScriptedMediaDevices devices;
    const MeetingDetector detector(devices);
    devices.cameraStates = {true};
    devices.microphone = true;
    EXPECT_TRUE(detector.inCall());
    EXPECT_EQ(devices.microphoneQueries, 0);

    devices.cameraStates = {false};
    EXPECT_TRUE(detector.inCall());
    EXPECT_EQ(devices.microphoneQueries, 1);

    devices.microphone = false;
    EXPECT_FALSE(detector.inCall());
    devices.microphone = std::nullopt;  // no default input device
    EXPECT_FALSE(detector.inCall());
}

}  // namespace
}  // namespace pelliwig
