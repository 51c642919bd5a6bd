#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/notch/NotchGeometry.h"
#include "core/platform/NotchSurface.h"

namespace pelliwig {

// A notch surface that remembers what it was told: every call in order, the
// window it holds now and whether that window is in front.
class RecordingSurface final : public NotchSurface {
public:
    void build(const NotchGeometry& built, const Rect& builtFrame, NotchModel& shown) override {
        calls.push_back("build");
        geometry = built;
        frame = builtFrame;
        model = &shown;
        front = false;
        ++builds;
    }
    void orderFront() override {
        calls.push_back("orderFront");
        front = true;
    }
    void orderOut() override {
        calls.push_back("orderOut");
        front = false;
    }

    std::vector<std::string> calls;
    std::optional<NotchGeometry> geometry;  // of the current window
    std::optional<Rect> frame;              // of the current window
    NotchModel* model = nullptr;
    bool front = false;
    int builds = 0;
};

}  // namespace pelliwig
