#pragma once

#include <functional>
#include <optional>
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

    // Answers a question with `answer` if the test gave one, else with the
    // last position, as a platform that can always tell does.
    void askWhere() override {
        ++questions_;
        if (answer) {
            answer();
        } else if (last_) {
            moved_(*last_);
        }
    }

    std::function<void()> answer;
    int questions() const { return questions_; }

    void moveTo(Point p) {
        last_ = p;
        moved_(p);
    }
    // The pointer went off every window that reports it.
    void leave() { left_(); }
    void moveTo(double x, double y) { moveTo(Point{x, y}); }
    bool hasListeners() const { return !moved_.empty(); }

private:
    Signal<Point> moved_;
    Signal<> left_;
    int questions_ = 0;
    std::optional<Point> last_;
};

}  // namespace pelliwig
