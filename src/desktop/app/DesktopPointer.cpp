#include "desktop/app/DesktopPointer.h"

#include <utility>

namespace pelliwig {

DesktopPointer::DesktopPointer(PointerEvents& screenWide, bool followsEverywhere,
                               FromDevice fromDevice)
    : followsEverywhere_(followsEverywhere),
      fromDevice_(std::move(fromDevice)),
      screenWideSource_(screenWide) {
    screenWide_ = screenWide.onMove([this](Point device) { seenAtDevice(device); });
}

Connection DesktopPointer::onMove(std::function<void(Point)> callback) {
    return moved_.connect(std::move(callback));
}

Connection DesktopPointer::onLeft(std::function<void()> callback) {
    return left_.connect(std::move(callback));
}

void DesktopPointer::askWhere() {
    if (followsEverywhere_) {
        screenWideSource_.askWhere();
    } else if (ask_) {
        ask_();
    }
}

void DesktopPointer::seenAt(Point position) {
    last_ = position;
    moved_(position);
}

void DesktopPointer::seenAtDevice(Point device) {
    if (auto position = fromDevice_(device)) seenAt(*position);
}

// XWayland keeps the pointer where it last saw it over an X window when the
// compositor did not tell it the pointer went (a jump straight onto a
// Wayland window): the same place again is no news, and stays unanswered.
void DesktopPointer::answerOverHerWindows(Point device) {
    const auto position = fromDevice_(device);
    if (!position) return;
    if (!followsEverywhere_ && position == last_) return;
    seenAt(*position);
}

void DesktopPointer::leftHerWindows() {
    if (!followsEverywhere_) left_();
}

}  // namespace pelliwig
