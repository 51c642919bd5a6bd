#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/MediaDevices.h"

namespace pelliwig {

// Cameras and microphones as the kernel shows them under /proc: a camera is
// in use while some process holds a video device node open, the microphone
// while a capture stream of a sound card is running. Asked on every engine
// tick, so both scans stop at the first hit and allocate nothing per file.
class ProcMediaDevices final : public MediaDevices {
public:
    ProcMediaDevices() : ProcMediaDevices("/proc") {}
    // Reads a folder laid out like /proc; for tests.
    explicit ProcMediaDevices(const std::filesystem::path& procRoot);

    // One answer standing for every camera: /proc tells that a video node is
    // open, not which camera it belongs to. Empty when the process list
    // cannot be read. Only processes this user may inspect are seen.
    std::vector<std::optional<bool>> cameras() const override;

    // Whether any sound card's capture stream is running: which device is the
    // default input is the sound server's business, and it opens the card only
    // while someone records. Nothing when no capture stream exists or the
    // sound cards cannot be read.
    std::optional<bool> defaultInputRunning() const override;

    // The scans themselves, as the two queries use them.
    std::optional<bool> anyVideoDeviceOpen() const;
    std::optional<bool> anyCaptureRunning() const;

private:
    std::string procRoot_;
    std::string asoundRoot_;
};

}  // namespace pelliwig
