#include "core/content/LineBank.h"

#include <gtest/gtest.h>

#include "fakes/ScriptedRandom.h"

namespace pelliwig {
namespace {

using Table = LineBank::LanguageTable;
using Tone = Answer::Tone;
constexpr auto en = Language::english;
constexpr auto hi = Language::hinglish;

const LineBank::Tables& tables() {
    return LineBank::tables();
}

class LineBankTest : public testing::Test {
protected:
    ScriptedRandom random;
    LineBank bank{random};
};

const Table kThree{{en, {"a", "b", "c"}}, {hi, {"x", "y", "z"}}};

TEST_F(LineBankTest, PickNeverRepeatsTheLastSentenceOfAKey) {
    // index(3) of 0.0 is 0, of 0.5 is 1, of 0.9 is 2.
    for (double u : {0.0, 0.0, 0.5, 0.9, 0.9}) random.push(u);
    EXPECT_EQ(bank.pick(kThree, en, "k"), "a");
    EXPECT_EQ(bank.pick(kThree, en, "k"), "b");  // drew 0 again: moved on
    EXPECT_EQ(bank.pick(kThree, en, "k"), "c");  // drew 1, the last one: moved on
    EXPECT_EQ(bank.pick(kThree, en, "k"), "a");  // drew 2, the last one: wrapped
    EXPECT_EQ(bank.pick(kThree, en, "k"), "c");
}

TEST_F(LineBankTest, PickKeepsASeparateMemoryPerKey) {
    for (double u : {0.0, 0.0, 0.0}) random.push(u);
    EXPECT_EQ(bank.pick(kThree, en, "one"), "a");
    EXPECT_EQ(bank.pick(kThree, hi, "two"), "x");
    EXPECT_EQ(bank.pick(kThree, hi, "one"), "y");  // the key, not the language, remembers
}

TEST_F(LineBankTest, PickAlternatesOnTwoSentences) {
    const Table two{{en, {"left", "right"}}, {hi, {"baayen", "daayen"}}};
    for (int i = 0; i < 3; ++i) random.push(0.0);
    EXPECT_EQ(bank.pick(two, en, "k"), "left");
    EXPECT_EQ(bank.pick(two, en, "k"), "right");
    EXPECT_EQ(bank.pick(two, en, "k"), "left");
}

TEST_F(LineBankTest, PickOnOneSentenceDrawsNothingAndLeavesTheMemoryAlone) {
    const Table one{{en, {"only"}}, {hi, {"bas"}}};
    random.push(0.0);
    random.push(0.0);
    EXPECT_EQ(bank.pick(one, hi, "k"), "bas");
    EXPECT_EQ(bank.pick(one, hi, "k"), "bas");
    EXPECT_EQ(random.remaining(), 2u);
    EXPECT_EQ(bank.pick(kThree, en, "k"), "a");  // no memory of index 0 under "k"
}

TEST_F(LineBankTest, PickFallsBackToEnglishThenToAnEllipsis) {
    EXPECT_EQ(bank.pick(Table{{en, {"english only"}}}, hi, "k"), "english only");
    EXPECT_EQ(bank.pick(Table{{hi, {"sirf hinglish"}}}, en, "k"), "…");
    EXPECT_EQ(bank.pick(Table{}, hi, "k"), "…");
}

TEST_F(LineBankTest, PickTreatsAnEmptyListAsMissing) {
    EXPECT_EQ(bank.pick(Table{{en, {"fallback"}}, {hi, {}}}, hi, "k"), "fallback");
    EXPECT_EQ(bank.pick(Table{{en, {}}, {hi, {}}}, en, "k"), "…");
}

TEST_F(LineBankTest, NextRemembersPerKindAndLanguage) {
    for (int i = 0; i < 3; ++i) random.push(0.0);
    const auto& english = tables().english.at(ReminderKind::water);
    const auto& hinglish = tables().hinglish.at(ReminderKind::water);
    EXPECT_EQ(bank.next(ReminderKind::water, en), english[0]);
    EXPECT_EQ(bank.next(ReminderKind::water, hi), hinglish[0]);  // key water|hinglish is fresh
    EXPECT_EQ(bank.next(ReminderKind::water, en), english[1]);
    // The key is the same one pick would use.
    random.push(0.0);
    const Table three{{en, {"a", "b", "c"}}};
    EXPECT_EQ(bank.pick(three, en, "water|english"), "a");
}

TEST_F(LineBankTest, NextWithoutRegularLinesSaysDontForget) {
    for (auto kind : {ReminderKind::surprise, ReminderKind::hover, ReminderKind::meeting,
                      ReminderKind::report, ReminderKind::appSwitch}) {
        EXPECT_EQ(bank.next(kind, en), "Hey. Don't forget.");
        EXPECT_EQ(bank.next(kind, hi), "Hey. Don't forget.");
    }
}

TEST_F(LineBankTest, NextOfCustomIsItsOneSentenceWithoutADraw) {
    const auto& only = tables().hinglish.at(ReminderKind::custom).front();
    EXPECT_EQ(bank.next(ReminderKind::custom, hi), only);
    EXPECT_EQ(bank.next(ReminderKind::custom, hi), only);
    EXPECT_EQ(random.remaining(), 0u);
}

TEST_F(LineBankTest, ReactionUsesTheTableOfTheTone) {
    random.push(0.0);
    EXPECT_EQ(bank.reaction(Tone::good, en, 0), tables().reactions.at(en)[0]);
    random.push(0.0);
    EXPECT_EQ(bank.reaction(Tone::bad, hi, 0), tables().comfort.at(hi)[0]);
    random.push(0.0);
    EXPECT_EQ(bank.reaction(Tone::apology, en, 0), tables().melt.at(en)[0]);
}

TEST_F(LineBankTest, SnoozeRepliesHardenFromTheSecondSnoozeAndShareOneMemory) {
    random.push(0.0);
    EXPECT_EQ(bank.reaction(Tone::snooze, en, 1), tables().snoozed.at(en)[0]);
    random.push(0.0);
    // Index 0 was just used under "snoozed", so the other table moves on too.
    EXPECT_EQ(bank.reaction(Tone::snooze, en, 2), tables().snoozedAgain.at(en)[1]);
    random.push(0.0);
    EXPECT_EQ(bank.reaction(Tone::snooze, en, 0), tables().snoozed.at(en)[0]);
}

struct LabelCase {
    ReminderKind kind;
    Language language;
    std::string label;
};

class AckLabelTest : public testing::TestWithParam<LabelCase> {};

TEST_P(AckLabelTest, IsTheKindsLabelOrTheDefault) {
    ScriptedRandom random;
    LineBank bank(random);
    EXPECT_EQ(bank.ackLabel(GetParam().kind, GetParam().language), GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(Labels, AckLabelTest,
                         testing::Values(LabelCase{ReminderKind::water, en, "Drank 💧"},
                                         LabelCase{ReminderKind::water, hi, "Pi liya 💧"},
                                         LabelCase{ReminderKind::anniversary, en, "❤️"},
                                         LabelCase{ReminderKind::call, en, "Okay 😘"},
                                         LabelCase{ReminderKind::call, hi, "Theek hai 😘"},
                                         LabelCase{ReminderKind::surprise, en, "Okay 😘"},
                                         LabelCase{ReminderKind::appSwitch, hi, "Theek hai 😘"}));

struct AnswersCase {
    std::string name;
    ReminderKind kind;
    MomentStyle style;
    Language language;
    std::vector<Answer> expected;
};

void PrintTo(const AnswersCase& c, std::ostream* os) {
    *os << c.name;
}

class AnswersTest : public testing::TestWithParam<AnswersCase> {};

TEST_P(AnswersTest, OffersTheButtonsOfTheStyleAndKind) {
    ScriptedRandom random;
    LineBank bank(random);
    const auto& c = GetParam();
    Moment moment{};
    moment.kind = c.kind;
    moment.line = "line";
    moment.style = c.style;
    EXPECT_EQ(bank.answers(moment, c.language), c.expected);
}

using K = ReminderKind;
using S = MomentStyle;

INSTANTIATE_TEST_SUITE_P(
    Buttons, AnswersTest,
    testing::Values(
        AnswersCase{"normalWater",
                    K::water,
                    S::normal,
                    en,
                    {{"Drank 💧", Tone::good}, {"In 10 min", Tone::snooze}}},
        AnswersCase{"normalWaterHinglish",
                    K::water,
                    S::normal,
                    hi,
                    {{"Pi liya 💧", Tone::good}, {"10 min baad", Tone::snooze}}},
        AnswersCase{"normalCustom",
                    K::custom,
                    S::normal,
                    en,
                    {{"Okay 💌", Tone::good}, {"In 10 min", Tone::snooze}}},
        AnswersCase{"normalCall",
                    K::call,
                    S::normal,
                    en,
                    {{"Good, actually 😌", Tone::good}, {"Long day 🫠", Tone::bad}}},
        AnswersCase{"normalCallHinglish",
                    K::call,
                    S::normal,
                    hi,
                    {{"Achha hai 😌", Tone::good}, {"Thak gaya 🫠", Tone::bad}}},
        AnswersCase{"normalFocus", K::focus, S::normal, en, {}},
        AnswersCase{"normalMorning", K::morning, S::normal, hi, {}},
        AnswersCase{"normalCharger", K::charger, S::normal, en, {}},
        AnswersCase{"stickyBedtime", K::bedtime, S::sticky, hi, {{"Ja raha hoon 😴", Tone::good}}},
        AnswersCase{"stickyCall", K::call, S::sticky, en, {{"Okay 😘", Tone::good}}},
        AnswersCase{"coldWater", K::water, S::cold, hi, {{"Sorry, baby 🥺", Tone::apology}}},
        AnswersCase{
            "coldSurprise", K::surprise, S::cold, en, {{"Sorry, baby 🥺", Tone::apology}}},
        AnswersCase{"reaction", K::water, S::reaction, en, {}},
        AnswersCase{"peek", K::hover, S::peek, en, {}}),
    [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace pelliwig
