#include "core/notch/NotchController.h"

#include <utility>

namespace pelliwig {

NotchController::NotchController(Scheduler& scheduler, Screens& screens, NotchSurface& surface,
                                 PlacementSource placement)
    : scheduler_(scheduler),
      screens_(screens),
      surface_(surface),
      placement_(std::move(placement)) {
    // The model is ours, so the view's close request can never outlive us.
    model_.onDismiss = [this] { dismiss(); };
    model_.onExpire = [this] { timeOut(); };
    rebuild();
    screensChanged_ = screens_.onChange([this] { rebuild(); });
}

Rect NotchController::panelFrame(const Rect& notchRect, bool opensLeft) {
    const double left = opensLeft ? notchRect.minX() - kPanelExtraWidth : notchRect.minX();
    return {left, notchRect.minY(), notchRect.width + kPanelExtraWidth,
            notchRect.height + kPanelExtraHeight};
}

std::optional<NotchGeometry> NotchController::measure() const {
    return NotchGeometry::current(screens_, placement_ ? placement_() : NotchPlacement{});
}

void NotchController::refreshPlacement() {
    auto geometry = measure();
    if (geometry && geometry != geometry_) rebuild();
}

// A screen that went away keeps the last good geometry, with the surface
// hidden, rather than leaving her nowhere.
void NotchController::rebuild() {
    if (hasPanel_) surface_.orderOut();
    auto geometry = measure();
    if (!geometry) return;
    geometry_ = std::move(geometry);
    surface_.build(*geometry_, panelFrame(geometry_->notchRect, geometry_->opensLeft), model_);
    hasPanel_ = true;
    if (model_.isShown()) surface_.orderFront();
}

void NotchController::present(const Moment& moment, std::optional<double> seconds) {
    hideWork_.cancel();
    // A dismissal still under way belongs to what was on screen before; left
    // pending, its steps would cut short a later dismissal of this moment.
    dismissSteps_.clear();
    refreshPlacement();
    model_.setMoment(moment);
    if (hasPanel_) surface_.orderFront();
    model_.setShown(true, ThemeAnimation::showSpring);
    model_.setBubbleShown(true, ThemeAnimation::showSpring);
    if (seconds) hideWork_ = scheduler_.after(*seconds, [this] { timeOut(); });
}

void NotchController::timeOut() {
    if (!model_.moment() || !model_.isShown()) return;
    // A copy, since the handler may change what the model holds.
    const Moment moment = *model_.moment();
    if (moment.style == MomentStyle::normal) timedOut(moment);
    dismiss();
}

void NotchController::swap(const Moment& moment, std::optional<double> hideAfter) {
    hideWork_.cancel();
    model_.setMoment(moment, ThemeAnimation::showSpring);
    if (hideAfter) hideWork_ = scheduler_.after(*hideAfter, [this] { dismiss(); });
}

void NotchController::dismiss() {
    hideWork_.cancel();
    model_.setBubbleShown(false, ThemeAnimation::bubbleOut);
    std::erase_if(dismissSteps_, [](const TaskHandle& step) { return !step.active(); });
    dismissSteps_.push_back(
        scheduler_.after(kHideCharacterDelay, [this] { hideCharacterIfBubbleGone(); }));
    dismissSteps_.push_back(scheduler_.after(kClearDelay, [this] { clearIfFullyHidden(); }));
}

// The flag checks are what let a quick re-presentation survive the steps of an
// earlier dismissal.
void NotchController::hideCharacterIfBubbleGone() {
    if (!model_.isBubbleShown()) model_.setShown(false, ThemeAnimation::hideAnimation);
}

void NotchController::clearIfFullyHidden() {
    if (model_.isShown() || model_.isBubbleShown()) return;
    if (hasPanel_) surface_.orderOut();
    model_.setMoment(std::nullopt);
}

std::optional<Rect> NotchController::hotRect() const {
    if (!geometry_) return std::nullopt;
    const Rect& notch = geometry_->notchRect;
    const auto& moment = model_.moment();
    const bool bubbleOut = model_.isShown() && moment && moment->style != MomentStyle::peek;
    Rect rect = panelFrame(notch, geometry_->opensLeft);
    if (!bubbleOut) {
        rect.x = notch.minX();
        rect.width = notch.width;
    }
    return rect;
}

}  // namespace pelliwig
