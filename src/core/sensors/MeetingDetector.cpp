#include "core/sensors/MeetingDetector.h"

#include <algorithm>

namespace pelliwig {

bool MeetingDetector::cameraRunning() const {
    const auto cameras = devices_.cameras();
    // A camera that did not answer counts as idle.
    return std::ranges::any_of(cameras,
                               [](const auto& running) { return running.value_or(false); });
}

bool MeetingDetector::microphoneRunning() const {
    return devices_.defaultInputRunning().value_or(false);
}

}  // namespace pelliwig
