#include "core/notch/BubbleMetrics.h"

#include <algorithm>
#include <cmath>

namespace pelliwig::BubbleMetrics {

double textWidth(const BubbleContent& content,
                 const std::function<double(std::string_view)>& lineWidth) {
    double width = kPhotoTextWidth;
    if (!content.hasImage) {
        width = std::ceil(lineWidth(content.line)) + 2;
        if (width > kMaxTextWidth) {
            const double lines = std::ceil(width / kMaxTextWidth);
            width = std::min(std::ceil(width / lines) + kBalanceSlack, kMaxTextWidth);
        }
    }
    if (!content.answerLabels.empty()) width = std::max(width, kAnswersMinWidth);
    return width;
}

double stackWidth(double textWidth, MomentStyle style) {
    return style == MomentStyle::reaction ? textWidth : textWidth + kCloseSlot;
}

namespace {

// The answers sit in one row from the leading edge, each as large as its label
// and centred on the row's middle.
std::vector<Rect> answerRow(const BubbleContent& content, const BubbleMeasure& measure, double top,
                            double& height) {
    std::vector<Size> sizes;
    height = 0;
    for (const auto& label : content.answerLabels) {
        sizes.push_back(measure.labelSize(label));
        height = std::max(height, sizes.back().height);
    }
    std::vector<Rect> frames;
    double x = kPaddingHorizontal;
    for (const Size& size : sizes) {
        frames.push_back({x, top + (height - size.height) / 2, size.width, size.height});
        x += size.width + kAnswerSpacing;
    }
    return frames;
}

}  // namespace

BubbleLayout layout(const BubbleContent& content, const BubbleMeasure& measure) {
    BubbleLayout result;
    const double text = textWidth(content, measure.lineWidth);
    const double stack = stackWidth(text, content.style);
    double y = kPaddingVertical;
    if (content.showsPhoto) {
        result.photo = Rect{kPaddingHorizontal, y, kPhotoSize.width, kPhotoSize.height};
        y += kPhotoSize.height + kStackSpacing;
    }
    // The line takes what the close button leaves of the row, which is the
    // text width either way.
    const double textHeight = measure.wrappedHeight(content.line, text);
    result.text = {kPaddingHorizontal, y, text, textHeight};
    double rowHeight = textHeight;
    if (content.style != MomentStyle::reaction) {
        result.close =
            Rect{kPaddingHorizontal + text + kRowSpacing, y - kCloseLift, kCloseSize, kCloseSize};
        rowHeight = std::max(rowHeight, kCloseSize);
    }
    y += rowHeight;
    if (!content.answerLabels.empty()) {
        double answersHeight = 0;
        result.answers = answerRow(content, measure, y + kStackSpacing, answersHeight);
        y += kStackSpacing + answersHeight;
    }
    result.bubble = {0, 0, stack + 2 * kPaddingHorizontal, y + kPaddingVertical};
    result.tail = kTail;
    return result;
}

Point origin(Size notch) {
    return {notch.width - kLeftOfNotchEdge, notch.height + kBelowNotch};
}

}  // namespace pelliwig::BubbleMetrics
