#include "desktop/notch/NotchView.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "core/notch/BubbleMetrics.h"
#include "core/notch/NotchController.h"
#include "desktop/notch/Bubble.h"
#include "desktop/notch/NotchShape.h"
#include "desktop/support/SpriteSheet.h"
#include "desktop/support/Theme.h"

namespace pelliwig {

namespace {

// Where the sprite's bottom sits against the box's: 8 below it while she is
// out (the box edge hides her waist), 120 above it while she is in.
double spriteShift(double out) {
    const double in = -(NotchView::kSpriteHeight + NotchView::kSpriteDrop);
    return in + (NotchView::kSpriteDrop - in) * out;
}

bool hasBubble(const NotchModel& model) {
    return model.isShown() && model.isBubbleShown() && model.moment() &&
           model.moment()->style != MomentStyle::peek;
}

// A spring counts as settled within a hundredth of its target; from then on
// the target itself is shown, or the bubble would rest a shade see-through
// (which a compositor shows) and the box a fraction short.
double resting(const Motion& motion, double now) {
    return motion.settled(now) ? motion.target() : motion.value(now);
}

}  // namespace

NotchView::NotchView(NotchModel& model, QSizeF notch, SpriteSheet& sprites, AnswersFor answers,
                     QWidget* parent)
    : QWidget(parent),
      model_(model),
      notch_(notch),
      sprites_(sprites),
      answers_(std::move(answers)),
      bubble_(new Bubble(model, this)) {
    setObjectName("notchView");
    setAttribute(Qt::WA_NoSystemBackground);
    // Moves over her, the bubble included, are reported without a button held.
    setMouseTracking(true);
    steady_.start();
    clock_ = [this] { return steady_.nsecsElapsed() / 1e9; };
    frames_.setTimerType(Qt::PreciseTimer);
    frames_.setInterval(kFrameMilliseconds);
    connect(&frames_, &QTimer::timeout, this, &NotchView::advance);
    bubble_->hide();
    bubble_->setOpacity(0);
    // The view may be built while a moment is already out (after a screen
    // change): it starts in that state without animating.
    out_.set(model_.isShown() ? 1 : 0);
    followMoment();
    bubbleWanted_ = hasBubble(model_);
    bubbleOpacity_.set(bubbleWanted_ ? 1 : 0);
    modelChanged_ = model_.changed.connect([this](const NotchModel::Change& c) { onChange(c); });
    now_ = clock_();
    advance();
}

NotchView::~NotchView() = default;

void NotchView::setAnimationClock(AnimationClock clock) {
    clock_ = std::move(clock);
    now_ = clock_();
}

void NotchView::setOpensLeft(bool opensLeft) {
    notchLeft_ = opensLeft ? NotchController::kPanelExtraWidth : 0;
    bubble_->setMirrored(opensLeft);
    advance();
    update();
}

QPointF NotchView::bubbleOrigin() const {
    const Point origin = BubbleMetrics::origin({notch_.width(), notch_.height()});
    if (notchLeft_ <= 0) return {origin.x, origin.y};
    return {notchLeft_ + BubbleMetrics::kLeftOfNotchEdge - bubble_->layout().bubble.width,
            origin.y};
}

void NotchView::setTranslucent(bool translucent) {
    if (translucent == translucent_) return;
    translucent_ = translucent;
    bubble_->setShadowed(translucent);
    advance();
}

void NotchView::setMotionReduced(MotionReduced reduced) {
    motionReduced_ = std::move(reduced);
}

ThemeAnimation NotchView::moving(ThemeAnimation animation) const {
    return motionReduced_ && motionReduced_() ? ThemeAnimation::none : animation;
}

void NotchView::onChange(const NotchModel::Change& change) {
    now_ = clock_();
    const ThemeAnimation animation = moving(change.animation);
    switch (change.field) {
        case NotchModel::Field::moment:
            followMoment();
            break;
        case NotchModel::Field::isShown:
            out_.animateTo(model_.isShown() ? 1 : 0, animation, now_);
            break;
        case NotchModel::Field::isBubbleShown:
            break;
    }
    followBubble(animation);
    startFrames();
    advance();
}

void NotchView::followMoment() {
    const auto& moment = model_.moment();
    if (!moment) {
        spriteFace_.reset();
        sprite_ = {};
        return;
    }
    if (moment->style != MomentStyle::peek)
        bubble_->setContent(*moment, answers_ ? answers_(*moment) : std::vector<Answer>{});
    refreshSprite();
    emit paintedRegionChanged();  // the new bubble may need a taller window
}

// The bubble drops in a little after she comes out, and rises away with the
// animation that took it.
void NotchView::followBubble(ThemeAnimation animation) {
    const bool wanted = hasBubble(model_);
    if (wanted == bubbleWanted_) return;
    bubbleWanted_ = wanted;
    if (wanted) {
        const ThemeAnimation entrance = moving(ThemeAnimation::showSpring);
        const bool still = entrance == ThemeAnimation::none;
        if (bubbleOpacity_.value(now_) <= 0.01 && !still) {
            bubbleOffset_.set(-BubbleMetrics::kEntranceDrop);
        }
        // Kept still, the bubble is there with her, neither dropping in nor late.
        bubbleOpacity_.animateTo(1, entrance, now_, still ? 0 : kBubbleDelay);
        bubbleOffset_.animateTo(0, entrance, now_, still ? 0 : kBubbleDelay);
    } else {
        bubbleOpacity_.animateTo(0, animation, now_);
        bubbleOffset_.animateTo(-BubbleMetrics::kExitRise, animation, now_);
    }
    bubble_->setAttribute(Qt::WA_TransparentForMouseEvents, !wanted);
}

void NotchView::refreshSprite() {
    const Face face = model_.moment()->resolvedFace();
    const QImage image = sprites_.image(face);
    if (spriteFace_ == face && image.cacheKey() == spriteKey_) return;
    spriteFace_ = face;
    spriteKey_ = image.cacheKey();
    if (image.isNull()) {
        sprite_ = {};
        return;
    }
    const double dpr = devicePixelRatioF();
    sprite_ = QPixmap::fromImage(
        image.scaledToHeight(int(std::lround(kSpriteHeight * dpr)), Qt::SmoothTransformation));
    sprite_.setDevicePixelRatio(dpr);
}

void NotchView::startFrames() {
    if (!frames_.isActive()) frames_.start();
}

bool NotchView::animating() const {
    return !out_.settled(now_) || !bubbleOpacity_.settled(now_) || !bubbleOffset_.settled(now_);
}

void NotchView::advance() {
    now_ = clock_();
    const QRegion before = paintedRegion();
    shownFraction_ = resting(out_, now_);
    double opacity = std::clamp(resting(bubbleOpacity_, now_), 0.0, 1.0);
    if (!translucent_) opacity = opacity >= 0.5 ? 1 : 0;
    const QPointF origin = bubbleOrigin();
    const double offset = resting(bubbleOffset_, now_);
    bubble_->move(int(std::lround(origin.x())) - Bubble::kMargin,
                  int(std::lround(origin.y() + offset)) - Bubble::kMargin);
    bubble_->setOpacity(opacity);
    bubble_->setVisible(opacity > 0 && model_.moment().has_value());
    if (!animating()) frames_.stop();
    update(QRect(int(notchLeft_), 0, int(std::ceil(notch_.width())), height()));
    if (paintedRegion() != before) emit paintedRegionChanged();
}

int NotchView::neededHeight() const {
    const int box = int(std::ceil(notch_.height() + kBoxGrowth));
    if (!model_.moment() || model_.moment()->style == MomentStyle::peek) return box;
    return std::max(box,
                    int(std::lround(bubbleOrigin().y())) - Bubble::kMargin + bubble_->height());
}

double NotchView::boxHeight() const {
    return notch_.height() + kBoxGrowth * shownFraction_;
}

QPainterPath NotchView::boxPath() const {
    return NotchShape{kBoxRadius}.path(QRectF(notchLeft_, 0, notch_.width(), boxHeight()));
}

namespace {

// Each closed piece on its own and joined, so where the tail overlaps the
// rounded rectangle is not taken for a hole.
QRegion regionOf(const QPainterPath& path) {
    QRegion region;
    for (const QPolygonF& polygon : path.toFillPolygons())
        region += QRegion(polygon.toPolygon(), Qt::WindingFill);
    return region;
}

}  // namespace

QRegion NotchView::paintedRegion(int shadow) const {
    QRegion region = regionOf(boxPath());
    if (bubble_->isVisible()) {
        QRegion bubble = regionOf(bubble_->outline());
        if (shadow > 0)
            bubble = QRegion(bubble.boundingRect().adjusted(
                -shadow, -shadow, shadow, shadow + int(BubbleMetrics::kShadowOffsetY)));
        region += bubble.translated(bubble_->pos());
    }
    return region;
}

void NotchView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRectF(notchLeft_, 0, notch_.width(), height()), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QPainterPath box = boxPath();
    p.fillPath(box, Theme::notchBlack());
    p.setClipPath(box);
    const double height = boxHeight();
    if (!sprite_.isNull()) {
        const QSizeF size = sprite_.deviceIndependentSize();
        const double bottom = height + spriteShift(shownFraction_);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(
            QPointF(notchLeft_ + (notch_.width() - size.width()) / 2, bottom - size.height()),
            sprite_);
    }
    // The marks go as soon as she starts back in, not when the box has shrunk.
    if (model_.isShown() && model_.moment() && model_.moment()->zzz) {
        p.setFont(Theme::zzzFont());
        p.setPen(Theme::zzzTint());
        p.drawText(QRectF(notchLeft_, notch_.height() + 6, notch_.width() - 10, height),
                   Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, QStringLiteral("z z z"));
    }
}

void NotchView::mousePressEvent(QMouseEvent* event) {
    pressedInBox_ = event->button() == Qt::LeftButton && boxPath().contains(event->position());
    event->setAccepted(pressedInBox_);
}

// A click anywhere on the box closes the moment, a peek included.
void NotchView::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressedInBox_ && event->button() == Qt::LeftButton && boxPath().contains(event->position());
    pressedInBox_ = false;
    if (click && model_.onDismiss) model_.onDismiss();
}

void NotchView::mouseMoveEvent(QMouseEvent* event) {
    emit pointerAt(event->globalPosition());
    QWidget::mouseMoveEvent(event);
}

void NotchView::enterEvent(QEnterEvent* event) {
    emit pointerAt(event->globalPosition());
    QWidget::enterEvent(event);
}

// On another screen, of another scale, everything drawn at the old one's
// pixels is drawn again: the sprite, the bubble's picture, the whole window.
bool NotchView::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::ScreenChangeInternal) {
        spriteKey_ = 0;
        if (model_.moment()) refreshSprite();
        bubble_->redraw();
        update();
    }
    return handled;
}

void NotchView::leaveEvent(QEvent* event) {
    emit pointerLeft();
    QWidget::leaveEvent(event);
}

}  // namespace pelliwig
