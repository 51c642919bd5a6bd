#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/content/Reminder.h"
#include "core/support/Geometry.h"

namespace pelliwig {

// What the toolkit measures for the bubble, in points, with the fonts that
// draw it.
struct BubbleMeasure {
    // Width of the text on one line in the line font.
    std::function<double(std::string_view)> lineWidth;
    // Height of the text in the line font when wrapped at the given width.
    std::function<double(std::string_view, double)> wrappedHeight;
    // Size of an answer label in the button font.
    std::function<Size(std::string_view)> labelSize;
};

// What a bubble shows, as far as its size is concerned.
struct BubbleContent {
    std::string line;
    MomentStyle style = MomentStyle::normal;
    bool hasImage = false;    // the moment names a picture, readable or not
    bool showsPhoto = false;  // the picture loaded, so its slot is drawn
    std::vector<std::string> answerLabels;
};

// Where each part of the bubble goes, relative to the top-left corner of its
// rounded rectangle. The tail pokes out above that corner.
struct BubbleLayout {
    Rect bubble;
    std::optional<Rect> photo;
    Rect text;
    std::optional<Rect> close;  // the button's frame, already lifted
    std::vector<Rect> answers;
    Rect tail;

    bool operator==(const BubbleLayout&) const = default;
};

// The speech bubble's size rules, kept apart from any toolkit so they can be
// checked against exact numbers.
namespace BubbleMetrics {

inline constexpr double kMaxTextWidth = 300;
inline constexpr double kPhotoTextWidth = 220;
inline constexpr Size kPhotoSize{220, 165};
inline constexpr double kPhotoCornerRadius = 12;
inline constexpr double kAnswersMinWidth = 200;
// Slack added to a balanced width so the last word of each line still fits.
inline constexpr double kBalanceSlack = 28;
// The close button (an 8-point glyph with 4 of padding all round) and the
// gap before it: what a bubble without one is narrower by.
inline constexpr double kCloseSlot = 24;
inline constexpr double kCloseSize = 16;
inline constexpr double kCloseLift = 2;
inline constexpr double kStackSpacing = 10;
inline constexpr double kRowSpacing = 8;
inline constexpr double kAnswerSpacing = 18;
inline constexpr double kPaddingVertical = 12;
inline constexpr double kPaddingHorizontal = 14;
inline constexpr double kCornerRadius = 18;
inline constexpr double kBorderWidth = 0.5;
inline constexpr Rect kTail{12, -10, 22, 14};
inline constexpr double kShadowBlur = 12;
inline constexpr double kShadowOffsetY = 6;
// Where the bubble sits against the character box: 30 left of the notch's
// right edge, a little over half-way down the box's growth.
inline constexpr double kLeftOfNotchEdge = 30;
inline constexpr double kBelowNotch = 108 * 0.58;
// How far the bubble travels while fading in (downwards) and out (upwards).
inline constexpr double kEntranceDrop = 8;
inline constexpr double kExitRise = 6;

// The width given to the line. A long line wraps to as many lines as it needs
// at most 300 wide, but evenly, rather than filling the first line and leaving
// a short last one; answers need at least 200; a photo fixes it at 220.
double textWidth(const BubbleContent& content,
                 const std::function<double(std::string_view)>& lineWidth);

// The content column: the line plus, except on reactions, the close button.
double stackWidth(double textWidth, MomentStyle style);

// Every part's frame for the content.
BubbleLayout layout(const BubbleContent& content, const BubbleMeasure& measure);

// The rounded rectangle's top-left corner in the notch view, for a notch of
// the given size.
Point origin(Size notch);

}  // namespace BubbleMetrics

}  // namespace pelliwig
