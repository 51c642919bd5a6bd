#include "desktop/notch/Bubble.h"

#include <algorithm>
#include <cmath>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextOption>
#include <QTransform>

#include "core/notch/NotchModel.h"
#include "desktop/notch/BubbleButton.h"
#include "desktop/notch/NotchShape.h"
#include "desktop/support/EmojiText.h"
#include "desktop/support/Photo.h"
#include "desktop/support/Theme.h"

namespace pelliwig {

namespace {

using namespace BubbleMetrics;

// Lines break between words, and inside a word only when it is wider than
// the bubble (a pasted address), which would otherwise run out of it.
QTextOption lineWrapping() {
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

// Measured the way it is drawn, so both wrap alike.
double wrappedHeight(const QString& text, double width) {
    return EmojiText::height(text, Theme::lineFont(), width, lineWrapping());
}
// Answer labels are small; their click targets reach a little further.
constexpr int kAnswerHitSlop = 4;

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QRectF qt(const Rect& r) {
    return {r.x, r.y, r.width, r.height};
}

// Three box blurs approximate a Gaussian; the radius of each pass is a third
// of the shadow's blur radius, as the shadow of the design is that soft.
void boxBlur(QImage& alpha, int radius) {
    const int w = alpha.width(), h = alpha.height();
    std::vector<int> line(std::max(w, h));
    auto pass = [&](bool horizontal) {
        const int outer = horizontal ? h : w, inner = horizontal ? w : h;
        for (int o = 0; o < outer; ++o) {
            auto at = [&](int i) -> uchar& {
                return horizontal ? alpha.scanLine(o)[i] : alpha.scanLine(i)[o];
            };
            for (int i = 0; i < inner; ++i) line[i] = at(i);
            int sum = 0;
            for (int i = -radius; i <= radius; ++i) sum += line[std::clamp(i, 0, inner - 1)];
            for (int i = 0; i < inner; ++i) {
                at(i) = uchar(sum / (2 * radius + 1));
                sum += line[std::min(i + radius + 1, inner - 1)] - line[std::max(i - radius, 0)];
            }
        }
    };
    for (int i = 0; i < 3; ++i) {
        pass(true);
        pass(false);
    }
}

QImage shadowOf(const QPainterPath& outline, QSize size, double dpr) {
    QImage alpha(size, QImage::Format_Alpha8);
    alpha.fill(0);
    {
        QPainter p(&alpha);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(dpr, dpr);
        p.fillPath(outline, QColor(0, 0, 0, 255));
    }
    boxBlur(alpha, std::max(1, int(std::lround(kShadowBlur * dpr / 3))));
    QImage shadow(size, QImage::Format_ARGB32_Premultiplied);
    const double strength = Theme::bubbleShadow().alphaF();
    for (int y = 0; y < size.height(); ++y) {
        const uchar* in = alpha.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(shadow.scanLine(y));
        for (int x = 0; x < size.width(); ++x) out[x] = qRgba(0, 0, 0, int(in[x] * strength));
    }
    shadow.setDevicePixelRatio(dpr);
    return shadow;
}

// The bubble as a screen reader sees it: an alert whose name is her line.
class BubbleAccessible final : public QAccessibleWidget {
public:
    explicit BubbleAccessible(QWidget* bubble)
        : QAccessibleWidget(bubble, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text t) const override {
        const auto* bubble = static_cast<const Bubble*>(widget());
        if (t == QAccessible::Name) return QString::fromStdString(bubble->moment().line);
        if (t == QAccessible::Description) return QStringLiteral("Zuzi");
        return QAccessibleWidget::text(t);
    }
};

// The photo is painted into the bubble; this stand-in gives it a place and a
// description for a screen reader.
class BubblePhoto final : public QWidget {
public:
    BubblePhoto(const QString& description, QWidget* parent) : QWidget(parent) {
        setObjectName("photo");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setAccessibleName(QStringLiteral("Photo"));
        setAccessibleDescription(description);
    }

protected:
    void paintEvent(QPaintEvent*) override {}
};

QAccessibleInterface* bubbleAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("pelliwig::Bubble") && object && object->isWidgetType()) {
        return new BubbleAccessible(static_cast<QWidget*>(object));
    }
    if (object && object->isWidgetType() && object->objectName() == QLatin1String("photo") &&
        dynamic_cast<BubblePhoto*>(object)) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    }
    return nullptr;
}

void drawCloseGlyph(QPainter& p, const QRectF& frame) {
    const double half = Theme::kCloseGlyphSize / 2;
    const QPointF c = frame.center();
    QPen pen(Theme::closeTint(), Theme::kCloseGlyphStroke, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(c + QPointF(-half, -half), c + QPointF(half, half));
    p.drawLine(c + QPointF(-half, half), c + QPointF(half, -half));
}

}  // namespace

Bubble::Bubble(NotchModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    static const bool installed = [] {
        QAccessible::installFactory(bubbleAccessible);
        return true;
    }();
    (void)installed;
    setObjectName("bubble");
    setAttribute(Qt::WA_NoSystemBackground);
}

QString Bubble::photoDescription(const std::string& file) {
    return QStringLiteral("A photo from your folder: %1")
        .arg(QFileInfo(QString::fromStdString(file)).fileName());
}

bool Bubble::takeKeyboard() {
    // The answers come after the close button in the bubble; they go first.
    for (BubbleButton* button : buttons_) {
        if (button->objectName() == QLatin1String("answerButton")) {
            button->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    if (buttons_.empty()) return false;
    buttons_.front()->setFocus(Qt::TabFocusReason);
    return true;
}

void Bubble::announce() {
    if (!isVisible()) return;  // showing it announces it
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void Bubble::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (model_.onExpire) model_.onExpire();
        return;
    }
    QWidget::keyPressEvent(event);
}

BubbleLayout Bubble::measure(const BubbleContent& content) {
    BubbleMeasure m;
    m.lineWidth = [](std::string_view text) {
        return EmojiText::width(qt(text), Theme::lineFont());
    };
    m.wrappedHeight = [&](std::string_view text, double width) {
        return wrappedHeight(qt(text), width);
    };
    m.labelSize = [](std::string_view label) {
        const QSizeF size = EmojiText::size(qt(label), Theme::buttonFont());
        return Size{std::ceil(size.width()), std::ceil(size.height())};
    };
    return BubbleMetrics::layout(content, m);
}

void Bubble::setContent(const Moment& moment, const std::vector<Answer>& answers) {
    if (hasContent_ && moment == moment_ && answers == answers_) return;
    moment_ = moment;
    answers_ = answers;
    hasContent_ = true;
    rebuild();
}

void Bubble::setShadowed(bool shadowed) {
    if (shadowed == shadowed_) return;
    shadowed_ = shadowed;
    if (hasContent_) rebuild();
}

void Bubble::setMirrored(bool mirrored) {
    if (mirrored == mirrored_) return;
    mirrored_ = mirrored;
    if (hasContent_) rebuild();
}

// In the rounded rectangle's coordinates; mirrored about the bubble's middle.
QPainterPath Bubble::tailPath() const {
    const QPainterPath tail = BubbleTail::path(qt(layout_.tail));
    if (!mirrored_) return tail;
    return QTransform().translate(layout_.bubble.width, 0).scale(-1, 1).map(tail);
}

void Bubble::redraw() {
    if (hasContent_) rebuild();
}

void Bubble::setOpacity(double opacity) {
    opacity = std::clamp(opacity, 0.0, 1.0);
    if (opacity == opacity_) return;
    opacity_ = opacity;
    update();
}

QPainterPath Bubble::outline() const {
    const QRectF body = qt(layout_.bubble).translated(kMargin, kMargin);
    QPainterPath path = ContinuousRoundedRect{kCornerRadius}.path(body);
    path.addPath(tailPath().translated(kMargin, kMargin));
    // Both pieces turn the same way, so with winding fill their overlap is
    // filled; merging them into one outline loses slivers where they cross.
    path.setFillRule(Qt::WindingFill);
    return path;
}

void Bubble::rebuild() {
    BubbleContent content;
    content.line = moment_.line;
    content.style = moment_.style;
    content.hasImage = moment_.image.has_value();
    QImage photo;
    if (moment_.image) {
        const double dpr = devicePixelRatioF();
        photo = Photo::loadFilling(*moment_.image,
                                   (QSizeF(kPhotoSize.width, kPhotoSize.height) * dpr).toSize());
        photo.setDevicePixelRatio(dpr);
    }
    content.showsPhoto = !photo.isNull();
    for (const Answer& answer : answers_) content.answerLabels.push_back(answer.label);
    layout_ = measure(content);
    resize(int(std::ceil(layout_.bubble.width)) + 2 * kMargin,
           int(std::ceil(layout_.bubble.height)) + kMargin + kBottomMargin);
    picture_ = render(photo);
    rebuildButtons();
    rebuildPhoto(content.showsPhoto);
    update();
    announce();
}

void Bubble::rebuildPhoto(bool shown) {
    delete photo_;
    photo_ = nullptr;
    if (!shown || !layout_.photo || !moment_.image) return;
    photo_ = new BubblePhoto(photoDescription(*moment_.image), this);
    photo_->setGeometry(qt(*layout_.photo).translated(kMargin, kMargin).toAlignedRect());
    photo_->show();
}

QImage Bubble::render(const QImage& photo) const {
    const double dpr = devicePixelRatioF();
    QImage image((QSizeF(size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (shadowed_) {
        const QImage shadow = shadowOf(outline(), image.size(), dpr);
        QPainter p(&image);
        p.drawImage(QPointF(0, kShadowOffsetY), shadow);
    }
    image.setDevicePixelRatio(dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(kMargin, kMargin);
    const QRectF body = qt(layout_.bubble);
    const QPainterPath rounded = ContinuousRoundedRect{kCornerRadius}.path(body);
    p.fillPath(rounded, Theme::bubbleBackground());
    // The border lies inside the edge, so the bubble is no bigger for it.
    const double half = kBorderWidth / 2;
    p.strokePath(
        ContinuousRoundedRect{kCornerRadius - half}.path(body.adjusted(half, half, -half, -half)),
        QPen(Theme::bubbleBorder(), kBorderWidth));
    p.fillPath(tailPath(), Theme::bubbleBackground());
    if (layout_.photo && !photo.isNull()) {
        p.save();
        p.setClipPath(ContinuousRoundedRect{kPhotoCornerRadius}.path(qt(*layout_.photo)));
        p.drawImage(qt(*layout_.photo).topLeft(), photo);
        p.restore();
    }
    p.setPen(Theme::bubbleText());
    EmojiText::draw(p, qt(layout_.text), QString::fromStdString(moment_.line), Theme::lineFont(),
                    lineWrapping());
    if (layout_.close) drawCloseGlyph(p, qt(*layout_.close));
    p.setPen(Theme::buttonText());
    for (std::size_t i = 0; i < layout_.answers.size() && i < answers_.size(); ++i) {
        EmojiText::drawLine(p, qt(layout_.answers[i]), QString::fromStdString(answers_[i].label),
                            Theme::buttonFont(), Qt::AlignCenter);
    }
    return image;
}

// Buttons are replaced, never reused: the click that changes the content may
// still be on its way through the old button, so they go later.
void Bubble::rebuildButtons() {
    for (BubbleButton* button : buttons_) {
        button->hide();
        button->deleteLater();
    }
    buttons_.clear();
    if (layout_.close) {
        auto* close = new BubbleButton("closeButton", tr("Close"), this);
        close->setGeometry(qt(*layout_.close).translated(kMargin, kMargin).toAlignedRect());
        connect(close, &QAbstractButton::clicked, this, [this] {
            if (model_.onDismiss) model_.onDismiss();
        });
        buttons_.push_back(close);
    }
    for (std::size_t i = 0; i < layout_.answers.size() && i < answers_.size(); ++i) {
        auto* button =
            new BubbleButton("answerButton", QString::fromStdString(answers_[i].label), this);
        const QRectF frame = qt(layout_.answers[i]).translated(kMargin, kMargin);
        button->setGeometry(
            frame.adjusted(-kAnswerHitSlop, -kAnswerHitSlop, kAnswerHitSlop, kAnswerHitSlop)
                .toAlignedRect());
        connect(button, &QAbstractButton::clicked, this, [this, answer = answers_[i]] {
            // Copies: the handler may replace this bubble's moment.
            const Moment moment = moment_;
            if (model_.onAnswer) model_.onAnswer(moment, answer);
        });
        buttons_.push_back(button);
    }
    // Tab goes through the answers first, the close button last.
    QWidget* previous = nullptr;
    for (BubbleButton* button : buttons_) {
        if (button->objectName() != QLatin1String("answerButton")) continue;
        if (previous) setTabOrder(previous, button);
        previous = button;
    }
    if (previous && layout_.close) setTabOrder(previous, buttons_.front());
    for (BubbleButton* button : buttons_) button->show();
}

void Bubble::paintEvent(QPaintEvent* event) {
    if (opacity_ <= 0 || picture_.isNull()) return;
    QPainter p(this);
    p.setClipRegion(event->region());
    p.setOpacity(opacity_);
    p.drawImage(QPointF(0, 0), picture_);
}

// A press inside the bubble stays with it: where it overlaps her box the
// click would otherwise fall through and close the moment. The transparent
// margin around it passes presses on to whatever is drawn below.
void Bubble::mousePressEvent(QMouseEvent* event) {
    pressedInside_ = outline().contains(event->position());
    event->setAccepted(pressedInside_);
}

// The release follows its press, so a press passed on is released below too.
void Bubble::mouseReleaseEvent(QMouseEvent* event) {
    event->setAccepted(pressedInside_);
    pressedInside_ = false;
}

}  // namespace pelliwig
