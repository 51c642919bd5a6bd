#pragma once

#include <functional>
#include <memory>

#include "core/platform/NotchSurface.h"
#include "desktop/notch/NotchView.h"

namespace pelliwig {

class PositionKeeper;
class SpriteSheet;

// The window at the notch, as the controller's surface. Each build makes a
// new borderless window holding a NotchView: above every other window
// (full-screen ones included), on every workspace, out of the task bar and
// window cycling, never focused, and transparent where nothing is drawn,
// with clicks there reaching the windows below.
class NotchPanel final : public NotchSurface {
public:
    // Whether see-through pixels can be shown; asked each time the panel
    // comes forward, since a compositor may come and go.
    using Compositing = std::function<bool()>;

    // Extra room the window's shape keeps around the bubble for its shadow.
    static constexpr int kShadowRoom = 12;

    NotchPanel(SpriteSheet& sprites, NotchView::AnswersFor answers);
    NotchPanel(SpriteSheet& sprites, NotchView::AnswersFor answers, Compositing compositing);
    ~NotchPanel() override;

    void build(const NotchGeometry& geometry, const Rect& frame, NotchModel& model) override;
    void orderFront() override;
    void orderOut() override;

    // Whether she is to keep still; handed to every view the panel builds.
    void setMotionReduced(NotchView::MotionReduced reduced);

    // Brings the keyboard to her bubble, when one is out: the first answer
    // takes the focus. Once the moment is answered, sent away or replaced,
    // the keyboard goes back to the window that had it. She never takes it
    // unless asked this way. False when no bubble is out.
    bool takeKeyboard();
    bool hasKeyboard() const { return keyboardFrom_ != 0; }

    // The current window; none before the first build.
    NotchView* view() const { return view_.get(); }

private:
    void reshape();
    void giveKeyboardBack();

    SpriteSheet& sprites_;
    NotchView::AnswersFor answers_;
    Compositing compositing_;
    NotchView::MotionReduced motionReduced_;
    bool translucent_ = true;
    const bool onScreenDisplay_;  // a managed window rather than an override-redirect one
    int frameHeight_ = 0;         // the window grows below it for a tall bubble
    std::unique_ptr<NotchView> view_;
    PositionKeeper* keeper_ = nullptr;  // owned by view_; only for a managed window
    NotchModel* model_ = nullptr;
    Connection modelChanged_;
    unsigned keyboardFrom_ = 0;  // the X window that had the keyboard before her
};

}  // namespace pelliwig
