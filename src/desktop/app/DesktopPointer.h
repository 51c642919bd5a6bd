#pragma once

#include <functional>
#include <optional>

#include "core/platform/PointerEvents.h"

namespace pelliwig {

// The pointer as her hover logic sees it, in device-independent pixels, from
// every source there is: the X server's view of the whole screen where it
// gives one (in device pixels, so converted), and her own windows, which see
// it wherever the desktop lets a program see the pointer at all. Only where
// nothing follows it across the screen does leaving her windows count as
// leaving (onLeft).
class DesktopPointer final : public PointerEvents {
public:
    // Device pixels to device-independent pixels; none between screens.
    using FromDevice = std::function<std::optional<Point>(Point device)>;

    // `screenWide` delivers device pixels; `followsEverywhere` says whether
    // it works on this session.
    DesktopPointer(PointerEvents& screenWide, bool followsEverywhere, FromDevice fromDevice);

    Connection onMove(std::function<void(Point)> callback) override;
    Connection onLeft(std::function<void()> callback) override;
    // Asks the screen-wide source where it follows the pointer, else her
    // windows.
    void askWhere() override;

    // How her windows find out where the pointer is when asked; they answer
    // through seenAtDevice() or leftHerWindows().
    void askWith(std::function<void()> ask) { ask_ = std::move(ask); }

    // From her own windows.
    void seenAt(Point position);
    void seenAtDevice(Point device);
    void leftHerWindows();
    // The display server's answer, when asked, that the pointer is over one
    // of her windows at `device`.
    void answerOverHerWindows(Point device);

private:
    bool followsEverywhere_;
    FromDevice fromDevice_;
    PointerEvents& screenWideSource_;
    std::function<void()> ask_;
    std::optional<Point> last_;
    Signal<Point> moved_;
    Signal<> left_;
    Connection screenWide_;
};

}  // namespace pelliwig
