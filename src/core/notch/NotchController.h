#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "core/content/Reminder.h"
#include "core/notch/NotchGeometry.h"
#include "core/notch/NotchModel.h"
#include "core/platform/NotchSurface.h"
#include "core/platform/Scheduler.h"
#include "core/platform/Screens.h"
#include "core/support/Geometry.h"
#include "core/support/Signal.h"

namespace pelliwig {

// Decides when she is out of the notch: presents, swaps and dismisses moments
// on the model, runs the automatic hide, and keeps the surface on the current
// notch across screen changes. Its delayed work dies with it.
class NotchController {
public:
    // The staggered dismissal: the bubble goes first, she follows once it is
    // gone, and the moment is cleared after she is back in.
    static constexpr double kHideCharacterDelay = 0.18;
    static constexpr double kClearDelay = 0.7;

    // How far the surface reaches beyond the notch: the character box grows
    // 108 below it, and the bubble (from 30 left of the notch's right edge,
    // 344 wide) with its shadow needs the rest.
    static constexpr double kPanelExtraHeight = 108 + 140 + 24;
    static constexpr double kPanelExtraWidth = -30 + 344 + 24;

    // Where the user wants her; read at every measurement of the notch.
    using PlacementSource = std::function<NotchPlacement()>;

    NotchController(Scheduler& scheduler, Screens& screens, NotchSurface& surface,
                    PlacementSource placement = {});
    NotchController(const NotchController&) = delete;
    NotchController& operator=(const NotchController&) = delete;

    NotchModel& model() { return model_; }
    const NotchModel& model() const { return model_; }

    // The notch the surface was last built for; none until a screen is found.
    const std::optional<NotchGeometry>& geometry() const { return geometry_; }

    // Shows a moment, hiding it after `seconds` if given; otherwise it stays
    // until replaced or dismissed.
    void present(const Moment& moment, std::optional<double> seconds = std::nullopt);

    // Exchanges the moment of the presentation in place; a swapped moment
    // never counts as timed out.
    void swap(const Moment& moment, std::optional<double> hideAfter = std::nullopt);

    // Takes the moment away: bubble, then character, then the moment itself.
    void dismiss();

    // Measures the notch again and moves the surface there if it changed:
    // after the user changed where she sits, or before she comes out on
    // the screen that has the pointer.
    void refreshPlacement();

    // The area that counts as inside the presentation for the pointer: the
    // surface's height, as wide as the surface while a bubble-bearing moment is
    // out, otherwise only as wide as the notch.
    std::optional<Rect> hotRect() const;

    // The surface's frame for a notch: from the notch's top-left corner,
    // extending right and down; for one that opens left, from its top-right
    // corner, extending left and down.
    static Rect panelFrame(const Rect& notchRect, bool opensLeft = false);

    // Told when a normal moment ran out its time unanswered, before it is
    // taken away.
    Signal<const Moment&> timedOut;

private:
    std::optional<NotchGeometry> measure() const;
    void rebuild();
    void timeOut();
    void hideCharacterIfBubbleGone();
    void clearIfFullyHidden();

    Scheduler& scheduler_;
    Screens& screens_;
    NotchSurface& surface_;
    PlacementSource placement_;
    NotchModel model_;
    std::optional<NotchGeometry> geometry_;
    bool hasPanel_ = false;
    TaskHandle hideWork_;
    std::vector<TaskHandle> dismissSteps_;
    Connection screensChanged_;
};

}  // namespace pelliwig
