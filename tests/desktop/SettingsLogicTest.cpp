#include <gtest/gtest.h>

#include "desktop/settings/HomePath.h"
#include "desktop/settings/RecordEdits.h"
#include "desktop/settings/ReminderDetail.h"

namespace pelliwig {
namespace {

struct HomeCase {
    const char* path;
    const char* home;
    const char* shown;
};

class AbbreviateHomeTest : public ::testing::TestWithParam<HomeCase> {};

TEST_P(AbbreviateHomeTest, WritesTheHomeFolderAsTilde) {
    const auto& c = GetParam();
    EXPECT_EQ(abbreviateHome(c.path, c.home), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, AbbreviateHomeTest,
    ::testing::Values(HomeCase{"/home/al/Pictures", "/home/al", "~/Pictures"},
                      HomeCase{"/home/al", "/home/al", "~"}, HomeCase{"/home/al/", "/home/al", "~"},
                      HomeCase{"/home/al/Pictures", "/home/al/", "~/Pictures"},
                      HomeCase{"/home/alice/Pictures", "/home/al", "/home/alice/Pictures"},
                      HomeCase{"/media/photos", "/home/al", "/media/photos"},
                      HomeCase{"/srv/x", "/", "/srv/x"}, HomeCase{"/srv/x", "", "/srv/x"},
                      HomeCase{"relative/home/al", "/home/al", "relative/home/al"}));

struct Item {
    Uuid id = Uuid::random();
    std::string label;
    bool operator==(const Item&) const = default;
};

TEST(RecordEditsTest, EditByIdTouchesOnlyThatRecord) {
    std::vector<Item> items{{.label = "a"}, {.label = "b"}, {.label = "c"}};
    const auto before = items;
    EXPECT_TRUE(editById(items, before[1].id, [](Item& i) { i.label = "B"; }));
    EXPECT_EQ(items[0], before[0]);
    EXPECT_EQ(items[1].label, "B");
    EXPECT_EQ(items[1].id, before[1].id);
    EXPECT_EQ(items[2], before[2]);
}

TEST(RecordEditsTest, EditOfAGoneRecordReportsNothingChanged) {
    std::vector<Item> items{{.label = "a"}};
    EXPECT_FALSE(editById(items, Uuid::random(), [](Item& i) { i.label = "x"; }));
    EXPECT_EQ(items[0].label, "a");
}

TEST(RecordEditsTest, RemoveByIdTakesEveryCopyAndKeepsTheOrder) {
    const Item a{.label = "a"}, b{.label = "b"}, c{.label = "c"};
    std::vector<Item> items{a, b, c, b};
    EXPECT_TRUE(removeById(items, b.id));
    EXPECT_EQ(items, (std::vector<Item>{a, c}));
    EXPECT_FALSE(removeById(items, b.id));
}

TEST(RecordEditsTest, MembershipSwitchedOnMovesTheEntryLastOnce) {
    const std::vector<int> list{1, 2, 3, 2};
    EXPECT_EQ(withMembership(list, 2, true), (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(withMembership(list, 2, false), (std::vector<int>{1, 3}));
    EXPECT_EQ(withMembership(list, 9, false), (std::vector<int>{1, 2, 3, 2}));
    EXPECT_EQ(withMembership(list, 9, true), (std::vector<int>{1, 2, 3, 2, 9}));
}

TEST(ReminderDetailTest, TheTabListsNineteenKindsWithoutTheRecordKinds) {
    const auto& kinds = remindersTabKinds();
    EXPECT_EQ(kinds.size(), 19u);
    for (const auto hidden : {ReminderKind::custom, ReminderKind::countdown, ReminderKind::date,
                              ReminderKind::deadline}) {
        EXPECT_EQ(std::ranges::count(kinds, hidden), 0) << rawValue(hidden);
    }
    EXPECT_TRUE(std::ranges::is_sorted(kinds));
}

TEST(ReminderDetailTest, KindsWithNothingToSetHaveNoDetail) {
    for (const auto kind : remindersTabKinds()) {
        const bool none = kind == ReminderKind::charger || kind == ReminderKind::birthday ||
                          kind == ReminderKind::anniversary;
        EXPECT_EQ(std::holds_alternative<std::monostate>(reminderDetail(kind)), none)
            << rawValue(kind);
    }
}

}  // namespace
}  // namespace pelliwig
