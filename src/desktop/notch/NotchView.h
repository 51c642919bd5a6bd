#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QElapsedTimer>
#include <QPixmap>
#include <QRegion>
#include <QSizeF>
#include <QTimer>
#include <QWidget>

#include "core/content/Reminder.h"
#include "core/notch/Motion.h"
#include "core/notch/NotchModel.h"
#include "core/support/Signal.h"

namespace pelliwig {

class Bubble;
class SpriteSheet;

// Draws a NotchModel at the notch: the black box that grows down out of it
// with her sprite sliding in, "z z z" while she sleeps, and the speech bubble.
// Every change of the model is animated with the curve it was announced with.
// The view's origin is the notch's top-left corner.
class NotchView final : public QWidget {
    Q_OBJECT

public:
    // The answers offered with a moment, in the user's language.
    using AnswersFor = std::function<std::vector<Answer>(const Moment&)>;
    // Seconds on a steady clock; animations are computed from it.
    using AnimationClock = std::function<double()>;

    static constexpr double kBoxGrowth = 108;
    static constexpr double kBoxRadius = 14;
    static constexpr double kSpriteHeight = 112;
    static constexpr double kSpriteDrop = 8;
    static constexpr double kBubbleDelay = 0.18;
    static constexpr int kFrameMilliseconds = 16;

    NotchView(NotchModel& model, QSizeF notch, SpriteSheet& sprites, AnswersFor answers,
              QWidget* parent = nullptr);
    ~NotchView() override;

    // Replaces the steady clock, for tests and benchmarks that step time.
    void setAnimationClock(AnimationClock clock);
    // Brings every animated value up to the clock's time and repaints.
    void advance();
    bool animating() const;

    // Her bubble opens to her left: she sits at the right of the view, the
    // panel's width less the notch's in from its left edge.
    void setOpensLeft(bool opensLeft);
    bool opensLeft() const { return notchLeft_ > 0; }

    // Without a compositor see-through pixels cannot be shown: the bubble then
    // has no shadow and appears and goes without fading.
    void setTranslucent(bool translucent);

    // Asked at each change: while it says so she comes and goes at once,
    // without sliding, springing or fading.
    using MotionReduced = std::function<bool()>;
    void setMotionReduced(MotionReduced reduced);

    // Where something is drawn now: the box and, while out, the bubble with
    // its tail; grown by `shadow` around the bubble for its shadow.
    QRegion paintedRegion(int shadow = 0) const;

    // How tall the window must be for everything to fit: the grown box, and
    // the bubble of the current moment with its shadow where it comes to rest.
    // A photo bubble reaches further down than the usual window.
    int neededHeight() const;

    QSizeF notchSize() const { return notch_; }
    Bubble* bubble() const { return bubble_; }

signals:
    // The drawn area changed; the panel reshapes its window to it.
    void paintedRegionChanged();
    // The pointer is over her at this point of the screen, or came there.
    void pointerAt(QPointF global);
    // The pointer left her window.
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void onChange(const NotchModel::Change& change);
    void followMoment();
    void followBubble(ThemeAnimation animation);
    // The animation a change runs with: none while motion is reduced.
    ThemeAnimation moving(ThemeAnimation animation) const;
    void startFrames();
    double boxHeight() const;
    // Where the bubble's rounded rectangle goes, in the view.
    QPointF bubbleOrigin() const;
    QPainterPath boxPath() const;
    void refreshSprite();

    NotchModel& model_;
    QSizeF notch_;
    double notchLeft_ = 0;  // where the notch starts in the view
    SpriteSheet& sprites_;
    AnswersFor answers_;
    AnimationClock clock_;
    MotionReduced motionReduced_;
    QElapsedTimer steady_;
    QTimer frames_;
    Connection modelChanged_;

    // 0 in the notch, 1 out; drives the box's height and the sprite's drop.
    Motion out_;
    Motion bubbleOpacity_;
    Motion bubbleOffset_;
    bool bubbleWanted_ = false;
    bool translucent_ = true;
    double now_ = 0;
    double shownFraction_ = 0;

    Bubble* bubble_;
    QPixmap sprite_;
    std::optional<Face> spriteFace_;
    qint64 spriteKey_ = 0;
    bool pressedInBox_ = false;
};

}  // namespace pelliwig
