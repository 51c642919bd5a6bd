#pragma once

#include "core/platform/MediaDevices.h"

namespace pelliwig {

// Whether the user is in a call: some application is using the camera or,
// failing that, the microphone. Keeps no state; the engine asks every tick.
class MeetingDetector {
public:
    explicit MeetingDetector(const MediaDevices& devices) : devices_(devices) {}

    // True at the first camera that answers that it is running.
    bool cameraRunning() const;
    // True when the default input device answers that it is running.
    bool microphoneRunning() const;
    // Camera first; the microphone is not asked while the camera runs.
    bool inCall() const { return cameraRunning() || microphoneRunning(); }

private:
    const MediaDevices& devices_;
};

}  // namespace pelliwig
