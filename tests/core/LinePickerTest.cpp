#include "core/engine/LinePicker.h"

#include <gtest/gtest.h>

#include "core/content/Placeholders.h"
#include "fakes/MemoryStore.h"
#include "fakes/ScriptedRandom.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

// Local times in Europe/Berlin.
constexpr double kDay = 86400;
constexpr Instant kWednesday = 1741770000;  // 2025-03-12 10:00, where every test starts
constexpr Instant kSaturday = kWednesday + 3 * kDay;
constexpr Instant kMonday = kWednesday + 5 * kDay;
constexpr Instant kTuesday = kWednesday + 6 * kDay;

using K = ReminderKind;
using S = MomentStyle;
using Table = LineBank::LanguageTable;
constexpr auto en = Language::english;

class LinePickerTest : public testing::Test {
protected:
    void SetUp() override { prefs.language.set(en); }

    // What the picker said must be sentence `i` of the table in English.
    static std::string sentence(const Table& table, std::size_t i) { return table.at(en).at(i); }

    // Passes when `key` already remembers index 0 of `table`: a draw of 0 under
    // that key moves on to index 1.
    void expectKeyRemembersFirst(const Table& table, std::string_view key) {
        random.push(0.0);
        EXPECT_EQ(lines.pick(table, en, key), sentence(table, 1)) << "key " << key;
    }

    void ignore(K kind, int times) { memory.state.kinds[rawString(kind)].ignoredStreak = times; }
    // 40 minutes of social apps today make jealousy 60.
    void makeJealous(double socialMinutes = 40) {
        memory.state.days[clock.dayKey(clock.now())].socialSeconds = socialMinutes * 60;
    }

    VirtualScheduler scheduler{kWednesday};
    Clock clock{scheduler};
    MemoryStore store;
    Prefs prefs{store};
    Memory memory{store, clock};
    ScriptedRandom random;
    LineBank lines{random};
    LinePicker picker{prefs, memory, lines, random, clock};
    const LineBank::Tables& t = LineBank::tables();
};

// --- pickLine: tables chosen by style and kind -------------------------------

struct FixedCase {
    std::string name;
    K kind;
    S style;
    const Table* table;
    std::string key;
};

void PrintTo(const FixedCase& c, std::ostream* os) {
    *os << c.name;
}

class FixedTableTest : public LinePickerTest, public testing::WithParamInterface<FixedCase> {};

TEST_P(FixedTableTest, UsesItsTableAndKey) {
    const auto& c = GetParam();
    ignore(c.kind, 5);  // sulking must not win over these rules
    random.push(0.0);
    EXPECT_EQ(picker.pickLine(c.kind, c.style), sentence(*c.table, 0));
    expectKeyRemembersFirst(*c.table, c.key);
}

const LineBank::Tables& tables() {
    return LineBank::tables();
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FixedTableTest,
    testing::Values(FixedCase{"stickyBedtime", K::bedtime, S::sticky, &tables().grumpyBedtime,
                              "grumpy"},
                    FixedCase{"coldWater", K::water, S::cold, &tables().coldMorning, "cold"},
                    FixedCase{"coldBedtime", K::bedtime, S::cold, &tables().coldMorning, "cold"},
                    FixedCase{"coldSurprise", K::surprise, S::cold, &tables().coldMorning, "cold"},
                    FixedCase{"meeting", K::meeting, S::normal, &tables().meetingAfter, "meeting"},
                    FixedCase{"photo", K::photo, S::normal, &tables().photo, "photo"},
                    FixedCase{"hover", K::hover, S::normal, &tables().hover, "hover"}),
    [](const auto& row) { return row.param.name; });

TEST_F(LinePickerTest, ThreeIgnoresInARowBringTheKindsIgnoredLine) {
    ignore(K::water, 3);
    EXPECT_EQ(picker.pickLine(K::water, S::normal), sentence(t.ignored.at(K::water), 0));
}

TEST_F(LinePickerTest, AKindWithoutItsOwnIgnoredLineSulksGenerically) {
    ignore(K::calendar, 4);
    random.push(0.0);
    EXPECT_EQ(picker.pickLine(K::calendar, S::normal), sentence(t.ignoredGeneric, 0));
    expectKeyRemembersFirst(t.ignoredGeneric, "ignoredGeneric");
}

TEST_F(LinePickerTest, TwoIgnoresOrAnAcknowledgementKeepTheRegularLine) {
    ignore(K::water, 2);
    random.push(0.0);
    EXPECT_EQ(picker.pickLine(K::water, S::normal), t.english.at(K::water)[0]);

    ignore(K::water, 3);
    memory.recordAck(K::water);
    random.push(0.0);
    EXPECT_EQ(picker.pickLine(K::water, S::normal), t.english.at(K::water)[1]);
}

TEST_F(LinePickerTest, KindsThatAskNothingNeverSulkNorTurnJealous) {
    makeJealous(100);
    for (K kind : {K::focus, K::charger, K::surprise}) {
        ignore(kind, 9);
        random.push(0.0);
        const auto regular = t.english.find(kind);
        const std::string expected =
            regular == t.english.end() ? "Hey. Don't forget." : regular->second[0];
        EXPECT_EQ(picker.pickLine(kind, S::normal), expected) << rawString(kind);
    }
}

TEST_F(LinePickerTest, JealousyOpensTheRegularLineOnHalfTheDraws) {
    makeJealous();
    ASSERT_EQ(memory.jealousy(), 60);
    for (double u : {0.49, 0.0, 0.0}) random.push(u);
    EXPECT_EQ(picker.pickLine(K::meal, S::normal),
              sentence(t.jealousOpen, 0) + " " + t.english.at(K::meal)[0]);
    expectKeyRemembersFirst(t.jealousOpen, "jealous");

    for (double u : {0.5, 0.0}) random.push(u);
    EXPECT_EQ(picker.pickLine(K::call, S::normal), t.english.at(K::call)[0]);
}

TEST_F(LinePickerTest, BelowSixtyJealousyDrawsNothing) {
    makeJealous(39.9);
    random.push(0.0);
    EXPECT_EQ(picker.pickLine(K::water, S::normal), t.english.at(K::water)[0]);
    EXPECT_EQ(random.remaining(), 0u);
}

TEST_F(LinePickerTest, SavageRoastsOnHeads) {
    prefs.roastLevel.set(RoastLevel::savage);
    for (double u : {0.4, 0.0}) random.push(u);  // heads, then the roast's index
    EXPECT_EQ(picker.pickLine(K::water, S::normal), sentence(t.roast.at(K::water), 0));
    expectKeyRemembersFirst(t.roast.at(K::water), "roast|water");

    for (double u : {0.5, 0.0}) random.push(u);  // tails: on to the regular line
    EXPECT_EQ(picker.pickLine(K::water, S::normal), t.english.at(K::water)[0]);
}

TEST_F(LinePickerTest, NoCoinIsTossedWithoutSavageOrARoastForTheKind) {
    prefs.roastLevel.set(RoastLevel::playful);
    random.push(0.0);
    EXPECT_EQ(picker.pickLine(K::water, S::normal), t.english.at(K::water)[0]);
    prefs.roastLevel.set(RoastLevel::savage);
    EXPECT_EQ(picker.pickLine(K::custom, S::normal), t.english.at(K::custom)[0]);
    EXPECT_EQ(random.remaining(), 0u);
}

TEST_F(LinePickerTest, SulkingComesBeforeJealousyAndJealousyBeforeRoasting) {
    prefs.roastLevel.set(RoastLevel::savage);
    makeJealous(100);
    ignore(K::water, 3);
    EXPECT_EQ(picker.pickLine(K::water, S::normal), sentence(t.ignored.at(K::water), 0));
    EXPECT_EQ(random.remaining(), 0u);

    ignore(K::water, 0);
    for (double u : {0.0, 0.0, 0.0}) random.push(u);  // jealous draw, opener, regular line
    EXPECT_EQ(picker.pickLine(K::water, S::normal),
              sentence(t.jealousOpen, 0) + " " + t.english.at(K::water)[0]);
}

// --- pickLine: the morning hello --------------------------------------------

TEST_F(LinePickerTest, MorningBedtimeStreakBeatsMonday) {
    scheduler.advanceTo(kMonday);
    memory.state.bedtimeStreak = 7;
    memory.state.waterStreak = 14;
    random.push(0.0);
    EXPECT_EQ(picker.pickLine(K::morning, S::normal),
              "7 nights of sleeping on time! Who even are you? 😍🌙");
    expectKeyRemembersFirst(t.bedtimeStreak, "bstreak");
}

TEST_F(LinePickerTest, MorningWaterStreakWhenBedtimeIsNoMilestone) {
    memory.state.bedtimeStreak = 8;
    memory.state.waterStreak = 14;
    random.push(0.0);
    EXPECT_EQ(picker.pickLine(K::morning, S::normal),
              "14 days of proper hydration! Your skin says thanks 💧✨");
    expectKeyRemembersFirst(t.waterStreak, "wstreak");
}

TEST_F(LinePickerTest, MorningWithoutMilestoneFollowsTheWeekday) {
    memory.state.bedtimeStreak = 6;
    scheduler.advanceTo(kSaturday);
    random.push(0.0);
    EXPECT_EQ(picker.pickLine(K::morning, S::normal), sentence(t.weekendMorning, 0));
    expectKeyRemembersFirst(t.weekendMorning, "weekend");

    scheduler.advanceTo(kMonday);
    random.push(0.0);
    EXPECT_EQ(picker.pickLine(K::morning, S::normal), sentence(t.mondayMorning, 0));
    expectKeyRemembersFirst(t.mondayMorning, "monday");

    scheduler.advanceTo(kTuesday);
    random.push(0.0);
    EXPECT_EQ(picker.pickLine(K::morning, S::normal), t.english.at(K::morning)[0]);
}

TEST_F(LinePickerTest, SavageRoastComesBeforeTheMorningStreak) {
    prefs.roastLevel.set(RoastLevel::savage);
    memory.state.bedtimeStreak = 7;
    for (double u : {0.0, 0.0}) random.push(u);
    EXPECT_EQ(picker.pickLine(K::morning, S::normal), sentence(t.roast.at(K::morning), 0));
}

TEST_F(LinePickerTest, StreakLineOnlyAtMilestones) {
    for (int streak : {3, 5, 7, 14, 30}) {
        memory.state.bedtimeStreak = streak;
        const auto line = picker.streakLine();
        ASSERT_TRUE(line.has_value()) << streak;
        EXPECT_NE(line->find(std::to_string(streak)), std::string::npos);
    }
    for (int streak : {0, 1, 4, 15, 31}) {
        memory.state.bedtimeStreak = streak;
        memory.state.waterStreak = streak;
        EXPECT_FALSE(picker.streakLine().has_value()) << streak;
    }
}

TEST_F(LinePickerTest, EveryPickIsInTheChosenLanguage) {
    prefs.language.set(Language::hinglish);
    random.push(0.0);
    EXPECT_EQ(picker.pickLine(K::hover, S::normal), t.hover.at(Language::hinglish)[0]);
    random.push(0.0);
    EXPECT_EQ(picker.pickLine(K::water, S::normal), t.hinglish.at(K::water)[0]);
}

// --- resolve ------------------------------------------------------------------

class UnchangedLineTest : public LinePickerTest, public testing::WithParamInterface<std::string> {};

TEST_P(UnchangedLineTest, ComesBackAsGiven) {
    prefs.countdowns.set({Countdown::startingAt(kWednesday)});
    EXPECT_EQ(picker.resolve(GetParam()), GetParam());
}

INSTANTIATE_TEST_SUITE_P(NotATokenWeKnow, UnchangedLineTest,
                         testing::Values("", "{", "}", "Plain words", "Say {surprise} now",
                                         "{surprise} now", "now {surprise}", "{}", "{:}", "{::}",
                                         "{Surprise}", "{ surprise}", "{unknown}", "{unknown:arg}",
                                         "{countdown}", "{countdown:}",
                                         "{countdown:E621E1F8-C36C-495A-93FC-0C247A3E6E5F}",
                                         "{:app:x}"));

TEST_F(LinePickerTest, SurpriseWithoutTaughtTextComesFromTheTable) {
    random.push(0.0);
    EXPECT_EQ(picker.resolve("{surprise}"), sentence(t.surprise, 0));
    expectKeyRemembersFirst(t.surprise, "surprise");

    prefs.taughtLines.set({TaughtLine{Uuid::random(), ""}});
    random.push(0.0);
    random.push(0.0);  // would choose the taught line if a draw were made for it
    EXPECT_EQ(picker.resolve("{surprise}"), sentence(t.surprise, 0));
    EXPECT_EQ(random.remaining(), 1u);
}

TEST_F(LinePickerTest, SurpriseSaysATaughtLineThreeTimesInTen) {
    prefs.taughtLines.set({TaughtLine{Uuid::random(), ""}, TaughtLine{Uuid::random(), "first"},
                           TaughtLine{Uuid::random(), "Miss you {n} {app}"}});
    for (double u : {0.29, 0.5}) random.push(u);  // taught; the second non-empty one
    EXPECT_EQ(picker.resolve("{surprise}"), "Miss you {n} {app}");
    for (double u : {0.3, 0.0}) random.push(u);
    EXPECT_EQ(picker.resolve("{surprise}"), sentence(t.surprise, 0));
}

TEST_F(LinePickerTest, FridayToken) {
    random.push(0.0);
    EXPECT_EQ(picker.resolve("{friday}"), sentence(t.fridayEvening, 0));
    expectKeyRemembersFirst(t.fridayEvening, "friday");
}

TEST_F(LinePickerTest, BigDayTokensFillTheLabelOrItsDefault) {
    prefs.bigDayLabel.set("The exam");
    random.push(0.0);
    EXPECT_EQ(picker.resolve("{deadline}"), "The exam is coming. You've got this, I promise 💪");
    expectKeyRemembersFirst(t.deadlineSupport, "deadline");

    prefs.bigDayLabel.set("");
    random.push(0.0);
    EXPECT_EQ(picker.resolve("{bigday}"),
              "The big day is today! Go be brilliant, I'm cheering from up here 📣💖");
    expectKeyRemembersFirst(t.bigDayDone, "bigday");

    prefs.language.set(Language::hinglish);
    random.push(0.0);
    EXPECT_EQ(picker.resolve("{deadline}"), "Bada din aa raha hai. Tum kar loge, promise 💪");
}

TEST_F(LinePickerTest, ReportTokenBuildsTheScorecardAndMarksTheWeek) {
    EXPECT_EQ(picker.resolve("{report}").rfind("This week: 0h at the computer", 0), 0u);
    EXPECT_EQ(memory.state.reportedWeek, clock.weekKey(kWednesday));
}

struct AppCase {
    std::string line;
    LineBank::AppCategory category;
    std::string app;
};

class AppTokenTest : public LinePickerTest, public testing::WithParamInterface<AppCase> {};

TEST_P(AppTokenTest, UsesTheCategoryOfTheNamedApp) {
    const auto& c = GetParam();
    random.push(0.0);
    const auto expected =
        fillPlaceholders(sentence(t.appTimeByCategory.at(c.category), 0), {{"app", c.app}});
    EXPECT_EQ(picker.resolve(c.line), expected);
    expectKeyRemembersFirst(t.appTimeByCategory.at(c.category), "app");
}

using C = LineBank::AppCategory;

INSTANTIATE_TEST_SUITE_P(Apps, AppTokenTest,
                         testing::Values(AppCase{"{app:Xcode}", C::work, "Xcode"},
                                         AppCase{"{app:Instagram}", C::social, "Instagram"},
                                         AppCase{"{app:Firefox}", C::browsing, "Firefox"},
                                         AppCase{"{app:Amazon}", C::other, "Amazon"},
                                         AppCase{"{app:Mystery: The Game}", C::other,
                                                 "Mystery: The Game"},
                                         AppCase{"{app}", C::other, "that app"},
                                         AppCase{"{app:}", C::other, "that app"}));

TEST_F(LinePickerTest, DateTokenFillsItsArgumentAndNothingElse) {
    random.push(0.0);
    EXPECT_EQ(picker.resolve("{date:Mom's birthday}"),
              "Today is Mom's birthday. I remembered, obviously 💝");
    expectKeyRemembersFirst(t.specialDate, "date");
    random.push(0.0);
    EXPECT_EQ(picker.resolve("{date}"), "Today is . I remembered, obviously 💝");
    random.push(0.0);
    EXPECT_EQ(picker.resolve("{date:{surprise}}"), "Happy {surprise}! Make it a soft day 🌸");
}

class CountdownTokenTest : public LinePickerTest {
protected:
    std::string resolveDaysAhead(double days, std::string label = "Goa") {
        Countdown other = Countdown::startingAt(kWednesday);
        Countdown countdown{Uuid::random(), std::move(label), kWednesday + days * kDay};
        prefs.countdowns.set({other, countdown});
        random.push(0.0);
        return picker.resolve("{countdown:" + countdown.id.text() + "}");
    }
};

TEST_F(CountdownTokenTest, ChoosesItsTableByTheDaysLeft) {
    EXPECT_EQ(resolveDaysAhead(3), "Goa: 3 days 😏");
    expectKeyRemembersFirst(t.countdown, "countdown");
    EXPECT_EQ(resolveDaysAhead(1), "Goa is tomorrow! Are you ready? 😍");
    EXPECT_EQ(resolveDaysAhead(0), "Goa is today! 🎉");
    EXPECT_EQ(resolveDaysAhead(-2), "Goa: -2 days 😏");
}

TEST_F(CountdownTokenTest, ALabelIsShownAsTyped) {
    EXPECT_EQ(resolveDaysAhead(3, "{n} {label}"), "{n} {label}: 3 days 😏");
}

TEST_F(CountdownTokenTest, MatchesTheIdExactly) {
    Countdown countdown{Uuid::random(), "Goa", kWednesday};
    prefs.countdowns.set({countdown});
    std::string lower = countdown.id.text();
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const std::string line = "{countdown:" + lower + "}";
    EXPECT_EQ(picker.resolve(line), line);
}

// --- helpers ------------------------------------------------------------------

TEST(AppCategoryTest, MapsEveryBucket) {
    const std::map<AppBucket, C> expected{
        {AppBucket::coding, C::work},       {AppBucket::design, C::work},
        {AppBucket::writing, C::work},      {AppBucket::mail, C::work},
        {AppBucket::meetings, C::work},     {AppBucket::social, C::social},
        {AppBucket::dating, C::social},     {AppBucket::video, C::social},
        {AppBucket::games, C::social},      {AppBucket::shopping, C::other},
        {AppBucket::browsing, C::browsing}, {AppBucket::other, C::other}};
    ASSERT_EQ(expected.size(), caseCount<AppBucket>());
    for (const auto& [bucket, category] : expected) {
        EXPECT_EQ(appCategoryOf(bucket), category) << rawString(bucket);
    }
}

TEST(FillPlaceholdersTest, ReplacesEveryOccurrenceInOnePass) {
    EXPECT_EQ(fillPlaceholders("{n} and {n}", {{"n", "3"}}), "3 and 3");
    EXPECT_EQ(fillPlaceholders("{a}{b}", {{"a", "{b}"}, {"b", "x"}}), "{b}x");
    EXPECT_EQ(fillPlaceholders("{{n}} {x} {n", {{"n", "3"}}), "{3} {x} {n");
    EXPECT_EQ(fillPlaceholders("no braces", {{"n", "3"}}), "no braces");
    EXPECT_EQ(fillPlaceholders("} {n}", {{"n", ""}}), "} ");
}

}  // namespace
}  // namespace pelliwig
