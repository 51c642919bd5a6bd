#pragma once

#include <utility>

#include "core/platform/PointerEvents.h"

namespace pelliwig {

// Pointer positions sent by the test with moveTo().
class ScriptedPointerEvents final : public PointerEvents {
public:
    Connection onMove(std::function<void(Point)> callback) override {
        return moved_.connect(std::move(callback));
    }

    Connection onLeft(std::function<void()> callback) override {
        return left_.connect(std::move(callback));
    }

    void moveTo(Point p) { moved_(p); }
    // The pointer went off every window that reports it.
    void leave() { left_(); }
    void moveTo(double x, double y) { moveTo(Point{x, y}); }
    bool hasListeners() const { return !moved_.empty(); }

private:
    Signal<Point> moved_;
    Signal<> left_;
};

}  // namespace pelliwig
