#include <gtest/gtest.h>

#include "core/content/AppBucket.h"
#include "core/content/Reminder.h"
#include "core/settings/UserRecords.h"

namespace pelliwig {
namespace {

TEST(VocabularyTest, RawValuesAreExactCaseNames) {
    const std::vector<std::string_view> expected{
        "battery",     "charger",  "bedtime",  "breaks",   "water",    "meal",
        "call",        "focus",    "morning",  "calendar", "appTime",  "birthday",
        "anniversary", "custom",   "surprise", "meeting",  "report",   "countdown",
        "date",        "deadline", "hover",    "photo",    "appSwitch"};
    const auto kinds = allCases<ReminderKind>();
    ASSERT_EQ(kinds.size(), expected.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(rawValue(kinds[i]), expected[i]);
        EXPECT_EQ(fromRawValue<ReminderKind>(expected[i]), kinds[i]);
        EXPECT_EQ(Codec<ReminderKind>::decode(Codec<ReminderKind>::encode(kinds[i])), kinds[i]);
    }
    for (const char* wrong : {"Battery", "BATTERY", "apptime", " water", ""}) {
        EXPECT_FALSE(fromRawValue<ReminderKind>(wrong)) << wrong;
    }
    EXPECT_EQ(title(ReminderKind::meal), "Have you eaten?");
    EXPECT_EQ(title(ReminderKind::appSwitch), "Notices what you open");
}

TEST(VocabularyTest, DefaultEnabledLeavesOutCalendarAndPhoto) {
    const auto& kinds = defaultEnabledKinds();
    EXPECT_EQ(kinds.size(), 21u);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), ReminderKind::calendar), 0);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), ReminderKind::photo), 0);
    EXPECT_TRUE(std::is_sorted(kinds.begin(), kinds.end()));
}

TEST(VocabularyTest, ResolvedFace) {
    const struct {
        Moment moment;
        Face face;
    } cases[] = {
        {{.kind = ReminderKind::battery, .style = MomentStyle::reaction}, Face::mood(Mood::love)},
        {{.kind = ReminderKind::battery,
          .style = MomentStyle::reaction,
          .face = Face::pose(Pose::yawn)},
         Face::pose(Pose::yawn)},
        {{.kind = ReminderKind::calendar, .style = MomentStyle::normal}, Face::mood(Mood::shocked)},
        {{.kind = ReminderKind::water, .style = MomentStyle::sticky}, Face::mood(Mood::pouty)},
    };
    for (const auto& c : cases) EXPECT_EQ(c.moment.resolvedFace(), c.face) << describe(c.face);
    EXPECT_EQ(describe(Face::pose(Pose::lookDown)), "pose:lookDown");
}

TEST(VocabularyTest, MomentsDifferingOnlyInZzzDiffer) {
    Moment a{.kind = ReminderKind::hover, .line = "hi", .style = MomentStyle::peek};
    Moment b = a;
    EXPECT_EQ(a, b);
    b.zzz = true;
    EXPECT_NE(a, b);
}

TEST(AppBucketTest, NamesGoToTheFirstMatchingBucket) {
    const struct {
        const char* name;
        AppBucket bucket;
    } cases[] = {
        {"Xcode", AppBucket::coding},
        {"Visual Studio Code", AppBucket::coding},
        {"Google Chrome", AppBucket::browsing},
        {"Microsoft Word", AppBucket::writing},
        {"Messages", AppBucket::social},
        {"X", AppBucket::social},
        {"x", AppBucket::social},
        {"Finder", AppBucket::other},
        {"Archive Utility", AppBucket::browsing},  // contains "arc"
        {"Notes", AppBucket::writing},
        {"Calendar", AppBucket::other},
        {"Google Meet on Instagram", AppBucket::meetings},
        {"Tinder Messages", AppBucket::dating},
        {"INSTAGRAM", AppBucket::social},
        {"Straße NETFLIX", AppBucket::video},
        {"ÉPIC STEAM ÆØÅ", AppBucket::games},  // non-ASCII letters lower-cased, not mangled
        {"ÆØÅ", AppBucket::other},
        {"", AppBucket::other},
    };
    for (const auto& c : cases) EXPECT_EQ(appBucketOf(c.name), c.bucket) << c.name;
}

TEST(AppBucketTest, WatchedAndGroups) {
    const auto& watched = watchedBuckets();
    EXPECT_EQ(watched.size(), 10u);
    EXPECT_EQ(std::count(watched.begin(), watched.end(), AppBucket::browsing), 0);
    EXPECT_EQ(std::count(watched.begin(), watched.end(), AppBucket::other), 0);
    EXPECT_EQ(title(AppBucket::shopping), "Shopping & delivery");
    EXPECT_TRUE(isLeisure(AppBucket::shopping));
    EXPECT_FALSE(isSocialTime(AppBucket::shopping));
    EXPECT_TRUE(isSocialTime(AppBucket::dating));
    EXPECT_FALSE(isLeisure(AppBucket::coding));
}

}  // namespace
}  // namespace pelliwig
