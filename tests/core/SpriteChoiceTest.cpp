#include "core/notch/SpriteChoice.h"

#include <gtest/gtest.h>

namespace pelliwig {
namespace {

using SpriteChoice::Cell;

struct CellCase {
    int ordinal;
    int width;
    int height;
    Cell expected;
};

class SheetCell : public testing::TestWithParam<CellCase> {};

TEST_P(SheetCell, RoundsOriginsAndFloorsSizes) {
    const auto& c = GetParam();
    EXPECT_EQ(SpriteChoice::cell(c.ordinal, c.width, c.height), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, SheetCell,
    testing::Values(CellCase{0, 1000, 500, {0, 0, 250, 250}},
                    CellCase{7, 1000, 500, {750, 250, 250, 250}},
                    CellCase{0, 1001, 501, {0, 0, 250, 250}},
                    CellCase{1, 1001, 501, {250, 0, 250, 250}},
                    CellCase{2, 1001, 501, {501, 0, 250, 250}},  // 500.5 rounds up
                    CellCase{3, 1001, 501, {751, 0, 250, 250}},
                    CellCase{4, 1001, 501, {0, 251, 250, 250}},  // 250.5 rounds up
                    CellCase{6, 1024, 512, {512, 256, 256, 256}}));

SpecialDate special(std::string label, MonthDay day) {
    SpecialDate date;
    date.label = std::move(label);
    date.monthDay = day;
    return date;
}

TEST(SpriteChoiceTest, Seasons) {
    const std::vector<SpecialDate> dates{
        special("Happy DIWALI", {11, 1}), special("diwali in the snow", {1, 5}),
        special("Diwali and hearts", {2, 14}), special("Birthday", {3, 3})};
    EXPECT_EQ(SpriteChoice::season({12, 31}, dates), "winter");
    EXPECT_EQ(SpriteChoice::season({1, 5}, dates), "winter");
    EXPECT_EQ(SpriteChoice::season({2, 14}, dates), "valentine");
    EXPECT_EQ(SpriteChoice::season({11, 1}, dates), "diwali");
    EXPECT_EQ(SpriteChoice::season({11, 2}, dates), std::nullopt);
    EXPECT_EQ(SpriteChoice::season({3, 3}, dates), std::nullopt);
    EXPECT_EQ(SpriteChoice::season({2, 13}, {}), std::nullopt);
}

TEST(SpriteChoiceTest, PoseFallbacks) {
    EXPECT_EQ(SpriteChoice::fallbackMood(Pose::lookLeft), Mood::happy);
    EXPECT_EQ(SpriteChoice::fallbackMood(Pose::yawn), Mood::sleepy);
    EXPECT_EQ(SpriteChoice::fallbackMood(Pose::nails), Mood::smug);
    EXPECT_EQ(SpriteChoice::fallbackMood(Pose::cold), Mood::annoyed);
}

TEST(SpriteChoiceTest, SheetNamesAndKey) {
    EXPECT_EQ(SpriteChoice::moodSheet(Appearance::mom), "portraits/mom.png");
    EXPECT_EQ(SpriteChoice::seasonalMoodSheet(Appearance::zuzi, "winter"),
              "portraits/zuzi-winter.png");
    EXPECT_EQ(SpriteChoice::poseSheet(Appearance::zuzi), "portraits/zuzi-extra.png");
    EXPECT_EQ(SpriteChoice::reloadKey(Appearance::mom, std::nullopt, "2025-3-7"), "mom|-|2025-3-7");
    EXPECT_EQ(SpriteChoice::reloadKey(Appearance::zuzi, "winter", "2025-12-31"),
              "zuzi|winter|2025-12-31");
}

}  // namespace
}  // namespace pelliwig
