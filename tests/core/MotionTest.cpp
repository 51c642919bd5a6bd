#include "core/notch/Motion.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace pelliwig {
namespace {

TEST(MotionTest, InstantJumps) {
    Motion m(0);
    m.animateTo(10, ThemeAnimation::none, 5);
    EXPECT_DOUBLE_EQ(m.value(5), 10);
    EXPECT_TRUE(m.settled(5));
}

TEST(MotionTest, ShowSpringOvershootsOnceAndSettles) {
    Motion m(0);
    m.animateTo(100, ThemeAnimation::showSpring, 0);
    double peak = 0;
    for (double t = 0; t < 0.6; t += 1.0 / 240) peak = std::max(peak, m.value(t));
    // A damping fraction of 0.78 overshoots by e^(-πζ/√(1-ζ²)), about 2 %.
    EXPECT_NEAR(peak, 100 + 100 * 0.0198, 0.3);
    EXPECT_FALSE(m.settled(0.3));
    EXPECT_TRUE(m.settled(1.2));
    EXPECT_NEAR(m.value(1.2), 100, 0.01);
}

TEST(MotionTest, SpringHalfWayAfterAboutAFifthOfASecond) {
    Motion m(0);
    m.animateTo(1, ThemeAnimation::showSpring, 0);
    EXPECT_LT(m.value(0.08), 0.5);
    EXPECT_GT(m.value(0.2), 0.5);
}

TEST(MotionTest, DelayHoldsTheStartValue) {
    Motion m(-8);
    m.animateTo(0, ThemeAnimation::showSpring, 1.0, 0.18);
    EXPECT_DOUBLE_EQ(m.value(1.1), -8);
    EXPECT_FALSE(m.settled(1.1));
    EXPECT_GT(m.value(1.3), -8);
}

TEST(MotionTest, RedirectedSpringKeepsItsSpeed) {
    Motion m(0);
    m.animateTo(100, ThemeAnimation::showSpring, 0);
    const double speed = m.velocity(0.1);
    ASSERT_GT(speed, 100);
    m.animateTo(0, ThemeAnimation::showSpring, 0.1);
    EXPECT_NEAR(m.velocity(0.1), speed, speed * 0.01);
    EXPECT_GT(m.value(0.12), m.value(0.1));  // still moving up for a moment
}

struct EaseCase {
    ThemeAnimation animation;
    double at;
    double expected;
};

class EasedMotion : public testing::TestWithParam<EaseCase> {};

TEST_P(EasedMotion, FollowsItsBezier) {
    Motion m(0);
    m.animateTo(1, GetParam().animation, 0);
    EXPECT_NEAR(m.value(GetParam().at), GetParam().expected, 0.01);
}

// Reference values of the cubic curves (0.42, 0, 1, 1) and (0.42, 0, 0.58, 1).
INSTANTIATE_TEST_SUITE_P(Curves, EasedMotion,
                         testing::Values(EaseCase{ThemeAnimation::bubbleOut, 0, 0},
                                         EaseCase{ThemeAnimation::bubbleOut, 0.09, 0.315},
                                         EaseCase{ThemeAnimation::bubbleOut, 0.18, 1},
                                         EaseCase{ThemeAnimation::hideAnimation, 0.21, 0.5},
                                         EaseCase{ThemeAnimation::hideAnimation, 0.105, 0.129},
                                         EaseCase{ThemeAnimation::hideAnimation, 0.5, 1}));

TEST(MotionTest, EasedCurveStartsFromWhereTheValueIs) {
    Motion m(0);
    m.animateTo(100, ThemeAnimation::hideAnimation, 0);
    const double midway = m.value(0.21);
    m.animateTo(0, ThemeAnimation::bubbleOut, 0.21);
    EXPECT_DOUBLE_EQ(m.value(0.21), midway);
    EXPECT_TRUE(m.settled(0.39));
    EXPECT_DOUBLE_EQ(m.value(0.39), 0);
}

}  // namespace
}  // namespace pelliwig
