#include "core/notch/BubbleMetrics.h"

#include <map>

#include <gtest/gtest.h>

namespace pelliwig {
namespace {

using namespace BubbleMetrics;

// Lines whose measured widths the tests choose outright.
std::function<double(std::string_view)> widths(std::map<std::string, double> table) {
    return [table](std::string_view text) { return table.at(std::string(text)); };
}

BubbleContent content(std::string line, bool answers = false, bool image = false) {
    BubbleContent c;
    c.line = std::move(line);
    c.hasImage = image;
    c.showsPhoto = image;
    if (answers) c.answerLabels = {"Drank", "In 10 min"};
    return c;
}

struct WidthCase {
    const char* name;
    double measured;
    bool answers;
    bool image;
    double expected;
};

class TextWidth : public testing::TestWithParam<WidthCase> {};

TEST_P(TextWidth, FollowsTheBalancingRule) {
    const auto& c = GetParam();
    const auto measure = widths({{"line", c.measured}});
    EXPECT_DOUBLE_EQ(textWidth(content("line", c.answers, c.image), measure), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TextWidth,
    testing::Values(WidthCase{"ShortLineGetsCeilingPlusTwo", 119.3, false, false, 122},
                    WidthCase{"AnswersWidenToTwoHundred", 119.3, true, false, 200},
                    WidthCase{"WideLineKeepsItsWidthUnderAnswers", 250, true, false, 252},
                    WidthCase{"JustUnderTheLimitIsNotBalanced", 280, false, false, 282},
                    WidthCase{"ExactlyAtTheLimitIsNotBalanced", 298, false, false, 300},
                    WidthCase{"JustOverTheLimitSplitsInTwo", 299, false, false, 179},
                    WidthCase{"ThreeLinesBalance", 650, false, false, 246},
                    WidthCase{"TwoLinesBalance", 400, false, false, 229},
                    WidthCase{"PhotoFixesTheWidth", 20, false, true, 220},
                    WidthCase{"PhotoWithAnswersIsStill220", 20, true, true, 220}),
    [](const auto& row) { return row.param.name; });

TEST(BubbleMetricsTest, ReactionsHaveNoCloseSlot) {
    EXPECT_DOUBLE_EQ(stackWidth(122, MomentStyle::normal), 146);
    EXPECT_DOUBLE_EQ(stackWidth(122, MomentStyle::reaction), 122);
    EXPECT_DOUBLE_EQ(stackWidth(122, MomentStyle::sticky), 146);
}

BubbleMeasure fixedMeasure(double lineWidth, double lineHeight) {
    BubbleMeasure m;
    m.lineWidth = [=](std::string_view) { return lineWidth; };
    m.wrappedHeight = [=](std::string_view, double) { return lineHeight; };
    m.labelSize = [](std::string_view label) { return Size{double(label.size()) * 7, 15}; };
    return m;
}

TEST(BubbleMetricsTest, LaysOutLineCloseButtonAndAnswers) {
    const auto layout = BubbleMetrics::layout(content("line", true), fixedMeasure(100, 18));
    // Text width 200 (answers), stack 224, padded 14 each side.
    EXPECT_EQ(layout.bubble, (Rect{0, 0, 252, 12 + 18 + 10 + 15 + 12}));
    EXPECT_EQ(layout.text, (Rect{14, 12, 200, 18}));
    ASSERT_TRUE(layout.close);
    EXPECT_EQ(*layout.close, (Rect{14 + 200 + 8, 10, 16, 16}));
    ASSERT_EQ(layout.answers.size(), 2u);
    EXPECT_EQ(layout.answers[0], (Rect{14, 40, 35, 15}));
    EXPECT_EQ(layout.answers[1], (Rect{14 + 35 + 18, 40, 63, 15}));
    EXPECT_FALSE(layout.photo);
    EXPECT_EQ(layout.tail, (Rect{12, -10, 22, 14}));
}

TEST(BubbleMetricsTest, ShortTextRowIsAsTallAsTheCloseButton) {
    const auto layout = BubbleMetrics::layout(content("hi"), fixedMeasure(10, 12));
    EXPECT_DOUBLE_EQ(layout.bubble.height, 12 + 16 + 12);
}

TEST(BubbleMetricsTest, ReactionRowIsTheTextAlone) {
    auto reaction = content("yay");
    reaction.style = MomentStyle::reaction;
    const auto layout = BubbleMetrics::layout(reaction, fixedMeasure(100, 12));
    EXPECT_FALSE(layout.close);
    EXPECT_DOUBLE_EQ(layout.bubble.width, 102 + 28);
    EXPECT_DOUBLE_EQ(layout.bubble.height, 12 + 12 + 12);
}

TEST(BubbleMetricsTest, PhotoSitsAboveTheLine) {
    const auto layout = BubbleMetrics::layout(content("look", false, true), fixedMeasure(30, 18));
    ASSERT_TRUE(layout.photo);
    EXPECT_EQ(*layout.photo, (Rect{14, 12, 220, 165}));
    EXPECT_DOUBLE_EQ(layout.text.y, 12 + 165 + 10);
    EXPECT_DOUBLE_EQ(layout.bubble.width, 220 + 24 + 28);
}

TEST(BubbleMetricsTest, UnreadablePhotoKeepsTheWidthButNotTheSlot) {
    auto c = content("look", false, true);
    c.showsPhoto = false;
    const auto layout = BubbleMetrics::layout(c, fixedMeasure(30, 18));
    EXPECT_FALSE(layout.photo);
    EXPECT_DOUBLE_EQ(layout.text.y, 12);
    EXPECT_DOUBLE_EQ(layout.text.width, 220);
}

TEST(BubbleMetricsTest, WrappedHeightIsAskedAtTheTextWidth) {
    auto m = fixedMeasure(650, 0);
    double askedWidth = 0;
    m.wrappedHeight = [&](std::string_view, double width) {
        askedWidth = width;
        return 54.0;
    };
    const auto layout = BubbleMetrics::layout(content("long"), m);
    EXPECT_DOUBLE_EQ(askedWidth, 246);
    EXPECT_DOUBLE_EQ(layout.text.height, 54);
}

TEST(BubbleMetricsTest, OriginHangsOffTheNotchEdge) {
    const Point p = origin({200, 27});
    EXPECT_DOUBLE_EQ(p.x, 170);
    EXPECT_DOUBLE_EQ(p.y, 27 + 62.63999999999999);
}

}  // namespace
}  // namespace pelliwig
