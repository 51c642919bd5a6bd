// Walks every table of the line bank: both languages, the fixed number of
// sentences per key, and the placeholders its caller fills.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "core/content/LineBank.h"

namespace pelliwig {
namespace {

using Names = std::set<std::string>;

// One language table as the tests see it.
struct TableCase {
    std::string name;
    const LineBank::LanguageTable* table;
    std::size_t count;
    Names fills;                  // placeholders the caller fills
    bool inEverySentence = true;  // false: "in some sentences"
};

void PrintTo(const TableCase& c, std::ostream* os) {
    *os << c.name;
}

// Every braced name in a sentence; an unmatched brace gives the name "<unmatched>".
Names bracedNames(const std::string& sentence) {
    Names names;
    std::size_t pos = 0;
    while (pos < sentence.size()) {
        const auto open = sentence.find_first_of("{}", pos);
        if (open == std::string::npos) break;
        const auto close = sentence.find('}', open + 1);
        const auto reopen = sentence.find('{', open + 1);
        if (sentence[open] == '}' || close == std::string::npos || reopen < close) {
            names.insert("<unmatched>");
            break;
        }
        names.insert(sentence.substr(open + 1, close - open - 1));
        pos = close + 1;
    }
    return names;
}

template <typename Key>
void addKeyed(std::vector<TableCase>& cases, const std::string& name,
              const LineBank::KeyedTable<Key>& table, const std::map<Key, std::size_t>& counts,
              const Names& fills = {}, bool inEvery = true) {
    for (const auto& [key, count] : counts) {
        const auto it = table.find(key);
        cases.push_back({name + "_" + rawString(key), it == table.end() ? nullptr : &it->second,
                         count, fills, inEvery});
    }
}

std::vector<TableCase> allTables() {
    const auto& t = LineBank::tables();
    using K = ReminderKind;
    using B = AppBucket;
    using C = LineBank::AppCategory;
    std::vector<TableCase> cases{
        {"reactions", &t.reactions, 5, {}},
        {"comfort", &t.comfort, 3, {}},
        {"snoozed", &t.snoozed, 3, {}},
        {"snoozedAgain", &t.snoozedAgain, 3, {}},
        {"melt", &t.melt, 2, {}},
        {"ignoredGeneric", &t.ignoredGeneric, 3, {}},
        {"grumpyBedtime", &t.grumpyBedtime, 2, {}},
        {"coldMorning", &t.coldMorning, 3, {}},
        {"coldHover", &t.coldHover, 2, {}},
        {"surprise", &t.surprise, 8, {}},
        {"hover", &t.hover, 6, {}},
        {"photo", &t.photo, 3, {}},
        {"mondayMorning", &t.mondayMorning, 2, {}},
        {"weekendMorning", &t.weekendMorning, 2, {}},
        {"fridayEvening", &t.fridayEvening, 2, {}},
        {"bedtimeStreak", &t.bedtimeStreak, 2, {"n"}},
        {"waterStreak", &t.waterStreak, 2, {"n"}},
        {"meetingAfter", &t.meetingAfter, 3, {}},
        {"report", &t.report, 1, {"h", "m", "w", "c"}},
        {"reportGood", &t.reportGood, 1, {}},
        {"reportMeh", &t.reportMeh, 1, {}},
        {"reportBad", &t.reportBad, 1, {}},
        {"reportApps", &t.reportApps, 3, {"app", "h"}},
        {"deadlineSupport", &t.deadlineSupport, 4, {"label"}},
        {"bigDayDone", &t.bigDayDone, 2, {"label"}},
        {"countdownToday", &t.countdownToday, 1, {"label"}},
        {"countdownTomorrow", &t.countdownTomorrow, 1, {"label"}},
        {"countdown", &t.countdown, 3, {"label", "n"}},
        {"specialDate", &t.specialDate, 2, {"label"}},
        {"appProud", &t.appProud, 5, {"app"}},
        {"appEarnedBreak", &t.appEarnedBreak, 4, {"app"}},
        {"appLateNight", &t.appLateNight, 3, {"app"}},
        {"jealousOpen", &t.jealousOpen, 4, {}},
    };
    addKeyed<K>(cases, "ignored", t.ignored,
                {{K::water, 1},
                 {K::breaks, 1},
                 {K::meal, 1},
                 {K::bedtime, 1},
                 {K::call, 1},
                 {K::battery, 1},
                 {K::appTime, 1}});
    addKeyed<K>(cases, "roast", t.roast,
                {{K::battery, 2},
                 {K::bedtime, 2},
                 {K::breaks, 2},
                 {K::water, 2},
                 {K::meal, 2},
                 {K::call, 2},
                 {K::appTime, 2},
                 {K::morning, 2},
                 {K::calendar, 2},
                 {K::charger, 2}});
    addKeyed<C>(cases, "appTimeByCategory", t.appTimeByCategory,
                {{C::social, 2}, {C::work, 2}, {C::browsing, 2}, {C::other, 2}}, {"app"});
    addKeyed<B>(cases, "appSwitch", t.appSwitch,
                {{B::coding, 5},
                 {B::design, 4},
                 {B::writing, 4},
                 {B::mail, 4},
                 {B::meetings, 4},
                 {B::social, 5},
                 {B::dating, 5},
                 {B::video, 5},
                 {B::games, 4},
                 {B::shopping, 4},
                 {B::browsing, 2},
                 {B::other, 1}},
                {"app"}, false);
    addKeyed<B>(cases, "appRoast", t.appRoast,
                {{B::social, 5}, {B::dating, 4}, {B::video, 4}, {B::games, 3}, {B::shopping, 3}},
                {"app"}, false);
    return cases;
}

const std::map<ReminderKind, std::size_t>& regularCounts() {
    using K = ReminderKind;
    static const std::map<K, std::size_t> counts{
        {K::battery, 3}, {K::charger, 3},  {K::bedtime, 3},     {K::breaks, 3},  {K::water, 3},
        {K::meal, 3},    {K::call, 3},     {K::focus, 3},       {K::morning, 3}, {K::calendar, 3},
        {K::appTime, 3}, {K::birthday, 2}, {K::anniversary, 2}, {K::custom, 1}};
    return counts;
}

class LineTableTest : public testing::TestWithParam<TableCase> {};

TEST_P(LineTableTest, HasBothLanguagesWithTheFixedCount) {
    const auto& c = GetParam();
    ASSERT_NE(c.table, nullptr) << "table has no entry for this key";
    ASSERT_EQ(c.table->size(), 2u);
    EXPECT_EQ(c.table->at(Language::english).size(), c.count);
    EXPECT_EQ(c.table->at(Language::hinglish).size(), c.count);
}

TEST_P(LineTableTest, PlaceholdersAreTheOnesItsCallerFills) {
    const auto& c = GetParam();
    ASSERT_NE(c.table, nullptr);
    for (const auto& [language, sentences] : *c.table) {
        for (const auto& sentence : sentences) {
            SCOPED_TRACE(rawString(language) + ": " + sentence);
            EXPECT_FALSE(sentence.empty());
            const Names names = bracedNames(sentence);
            for (const auto& name : names) {
                EXPECT_TRUE(c.fills.count(name)) << "unexpected {" << name << "}";
            }
            if (c.inEverySentence) {
                EXPECT_EQ(names, c.fills);
            }
        }
    }
}

TEST_P(LineTableTest, BothLanguagesOfASentenceUseTheSamePlaceholders) {
    const auto& c = GetParam();
    ASSERT_NE(c.table, nullptr);
    const auto& english = c.table->at(Language::english);
    const auto& hinglish = c.table->at(Language::hinglish);
    ASSERT_EQ(english.size(), hinglish.size());
    for (std::size_t i = 0; i < english.size(); ++i) {
        EXPECT_EQ(bracedNames(english[i]), bracedNames(hinglish[i])) << english[i];
    }
}

INSTANTIATE_TEST_SUITE_P(EveryTable, LineTableTest, testing::ValuesIn(allTables()),
                         [](const auto& row) { return row.param.name; });

TEST(LineTablesTest, KeyedTablesHaveNoKeysBeyondTheirOwn) {
    const auto& t = LineBank::tables();
    EXPECT_EQ(t.ignored.size(), 7u);
    EXPECT_EQ(t.roast.size(), 10u);
    EXPECT_EQ(t.appTimeByCategory.size(), 4u);
    EXPECT_EQ(t.appSwitch.size(), 12u);
    EXPECT_EQ(t.appRoast.size(), 5u);
}

TEST(LineTablesTest, RegularLinesExistPerKindInBothLanguages) {
    const auto& t = LineBank::tables();
    ASSERT_EQ(t.english.size(), regularCounts().size());
    ASSERT_EQ(t.hinglish.size(), regularCounts().size());
    for (const auto& [kind, count] : regularCounts()) {
        SCOPED_TRACE(rawString(kind));
        ASSERT_TRUE(t.english.count(kind));
        ASSERT_TRUE(t.hinglish.count(kind));
        EXPECT_EQ(t.english.at(kind).size(), count);
        EXPECT_EQ(t.hinglish.at(kind).size(), count);
        for (const auto* list : {&t.english.at(kind), &t.hinglish.at(kind)}) {
            for (const auto& sentence : *list)
                EXPECT_EQ(bracedNames(sentence), Names{}) << sentence;
        }
    }
}

TEST(LineTablesTest, HoldTwoHundredThirtyOneSentencesPerLanguage) {
    const auto& t = LineBank::tables();
    std::map<Language, std::size_t> totals;
    for (const auto& c : allTables()) {
        for (const auto& [language, sentences] : *c.table) totals[language] += sentences.size();
    }
    for (const auto& [kind, sentences] : t.english) totals[Language::english] += sentences.size();
    for (const auto& [kind, sentences] : t.hinglish) totals[Language::hinglish] += sentences.size();
    EXPECT_EQ(totals[Language::english], 231u);
    EXPECT_EQ(totals[Language::hinglish], 231u);
}

TEST(LineTablesTest, AckLabelsCoverEveryAnsweredKindButCall) {
    const auto& t = LineBank::tables();
    std::set<ReminderKind> expected;
    for (int k = 0; k <= static_cast<int>(ReminderKind::custom); ++k) {
        if (k != static_cast<int>(ReminderKind::call)) expected.insert(ReminderKind(k));
    }
    std::set<ReminderKind> english, hinglish;
    for (const auto& [kind, label] : t.ackEnglish) english.insert(kind);
    for (const auto& [kind, label] : t.ackHinglish) hinglish.insert(kind);
    EXPECT_EQ(english, expected);
    EXPECT_EQ(hinglish, expected);
}

// A few sentences are fixed word for word; the rest are free to rewrite.
TEST(LineTablesTest, KeepsTheFixedSentencesWordForWord) {
    const auto& t = LineBank::tables();
    const auto contains = [](const LineBank::Sentences& list, const std::string& s) {
        return std::find(list.begin(), list.end(), s) != list.end();
    };
    EXPECT_TRUE(contains(t.english.at(ReminderKind::battery),
                         "Babe. Battery's at 20% and my patience is at 0. Plug in and I'll be "
                         "sweet again 😏"));
    EXPECT_TRUE(
        contains(t.hinglish.at(ReminderKind::water), "Paani piyo. Abhi. Main dekh rahi hoon 💧👀"));
    EXPECT_EQ(t.report.at(Language::english).front(),
              "This week: {h}h at the computer, longest sitting {m} min, water {w} times. {c}");
    EXPECT_EQ(t.report.at(Language::hinglish).front(),
              "Is hafte: {h} ghante laptop, sabse lamba {m} min ek jagah, {w} baar paani. {c}");
    EXPECT_TRUE(contains(t.countdown.at(Language::english), "{label}: {n} days 😏"));
    EXPECT_EQ(t.appSwitch.at(AppBucket::other).at(Language::english).front(),
              "{app}? What's this? Introduce me 👀");
    EXPECT_TRUE(contains(t.roast.at(ReminderKind::water).at(Language::english),
                         "Drink water. A cactus is more hydrated than you 🌵"));
}

TEST(LineTablesTest, BracedNameScannerFindsUnknownAndUnmatchedNames) {
    EXPECT_EQ(bracedNames("{app} and {n}"), (Names{"app", "n"}));
    EXPECT_EQ(bracedNames("no braces"), Names{});
    EXPECT_EQ(bracedNames("open {app"), Names{"<unmatched>"});
    EXPECT_EQ(bracedNames("stray } here"), Names{"<unmatched>"});
    EXPECT_EQ(bracedNames("{a{b}"), Names{"<unmatched>"});
}

}  // namespace
}  // namespace pelliwig
