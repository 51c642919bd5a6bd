#pragma once

#include <optional>
#include <vector>

namespace pelliwig {

// Cameras and microphones, asked only whether some application uses them.
class MediaDevices {
public:
    virtual ~MediaDevices() = default;

    // Per camera, whether any application is capturing from it; nothing for a
    // camera that could not be asked.
    virtual std::vector<std::optional<bool>> cameras() const = 0;

    // Whether any application is recording from the default input device;
    // nothing when there is no default input or it could not be asked.
    virtual std::optional<bool> defaultInputRunning() const = 0;
};

}  // namespace pelliwig
