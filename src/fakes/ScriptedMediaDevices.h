#pragma once

#include "core/platform/MediaDevices.h"

namespace pelliwig {

// Camera and microphone states set by the test; counts the questions asked.
class ScriptedMediaDevices final : public MediaDevices {
public:
    std::vector<std::optional<bool>> cameras() const override {
        ++cameraQueries;
        return cameraStates;
    }
    std::optional<bool> defaultInputRunning() const override {
        ++microphoneQueries;
        return microphone;
    }

    std::vector<std::optional<bool>> cameraStates;
    std::optional<bool> microphone;
    mutable int cameraQueries = 0;
    mutable int microphoneQueries = 0;
};

}  // namespace pelliwig
