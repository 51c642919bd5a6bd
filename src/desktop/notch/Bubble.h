#pragma once

#include <vector>

#include <QImage>
#include <QWidget>

#include "core/content/Reminder.h"
#include "core/notch/BubbleMetrics.h"

namespace pelliwig {

class NotchModel;
class BubbleButton;

// The speech bubble of one moment: the line, an optional photo, the close
// button and the answers, drawn once into a picture that the animation then
// only moves and fades. Clicks go to the model's callbacks.
//
// To a screen reader it is an alert whose name is her line, announced each
// time she says something new (the reaction to an answer too), holding her
// answers as push buttons, the close button and the photo. From the
// keyboard (once asked to take it, see takeKeyboard) Tab and the arrows move
// between the buttons, Return or Space picks one and Escape lets the moment
// go as its time running out would.
class Bubble final : public QWidget {
    Q_OBJECT

public:
    // Room around the rounded rectangle for the tail above it and the shadow.
    static constexpr int kMargin = 12;
    static constexpr int kBottomMargin = 18;

    Bubble(NotchModel& model, QWidget* parent);

    // Shows `moment` with its answers; redraws only when either changed.
    void setContent(const Moment& moment, const std::vector<Answer>& answers);
    const Moment& moment() const { return moment_; }

    // With a compositor the bubble casts a soft shadow; without one nothing
    // see-through can be shown, so it has none.
    void setShadowed(bool shadowed);
    void setOpacity(double opacity);
    // Draws its picture again, at the window's current scale.
    void redraw();
    // With the character to its right (she sits at the top right), the tail
    // pokes out of its top-right corner instead of its top-left.
    void setMirrored(bool mirrored);

    // The rounded rectangle with its tail, in this widget's coordinates.
    QPainterPath outline() const;
    const BubbleLayout& layout() const { return layout_; }

    // Lays out a moment with the bubble's fonts.
    static BubbleLayout measure(const BubbleContent& content);

    // Gives the first answer (or, with none, the close button) the keyboard
    // focus within the bubble's window. False when there is no button.
    bool takeKeyboard();

    // What a screen reader says of the photo.
    static QString photoDescription(const std::string& file);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rebuild();
    void rebuildButtons();
    void rebuildPhoto(bool shown);
    // Tells a screen reader that she says something new.
    void announce();
    QPainterPath tailPath() const;
    QImage render(const QImage& photo) const;

    NotchModel& model_;
    Moment moment_;
    std::vector<Answer> answers_;
    bool hasContent_ = false;
    bool shadowed_ = true;
    bool mirrored_ = false;
    double opacity_ = 1;
    BubbleLayout layout_;
    QImage picture_;
    std::vector<BubbleButton*> buttons_;
    QWidget* photo_ = nullptr;
    bool pressedInside_ = false;
};

}  // namespace pelliwig
