#include "core/engine/Rules.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "RulesTestWorld.h"
#include "core/content/LineBank.h"
#include "core/engine/LinePicker.h"
#include "support/TestTime.h"

namespace pelliwig {
namespace {

using Keys = std::vector<std::string>;
constexpr double kDay = 86400;

class HerWorldTest : public ::testing::Test, protected RulesTestWorld {
protected:
    Keys keysAt(const std::string& day, int minutes) {
        setTime(day, minutes);
        return keys(herWorld());
    }
    // Local noon of a day, as dates picked in the settings are.
    Instant noon(const std::string& day) const { return clock.dateFromDayKey(day).value() + 43200; }

    const Uuid a = Uuid::parse("AAAAAAAA-AAAA-4AAA-8AAA-AAAAAAAAAAAA").value();
    const Uuid b = Uuid::parse("BBBBBBBB-BBBB-4BBB-8BBB-BBBBBBBBBBBB").value();
};

TEST_F(HerWorldTest, LeapDayIsOnlyInLeapYears) {
    prefs.specialDates.set({SpecialDate{a, "Leap", MonthDay{2, 29}}});
    EXPECT_EQ(keysAt("2024-2-29", 15 * 60), Keys{"date|" + a.text() + "|2024-2-29"});
    EXPECT_EQ(keysAt("2025-2-28", 15 * 60), Keys{});
    EXPECT_EQ(keysAt("2025-3-1", 15 * 60), Keys{});
    EXPECT_EQ(keysAt("2028-2-29", 0), Keys{"date|" + a.text() + "|2028-2-29"});
}

TEST_F(HerWorldTest, SpecialDatesAllDayInListOrder) {
    prefs.specialDates.set({SpecialDate{b, "Mum", MonthDay{6, 1}},
                            SpecialDate{Uuid::random(), "", MonthDay{6, 1}},
                            SpecialDate{a, "Dog", MonthDay{6, 1}}});
    setTime("2025-6-1", 1439);
    EXPECT_EQ(herWorld(),
              (std::vector<Cue>{
                  Rules::cue(ReminderKind::date, "date|" + b.text() + "|2025-6-1", "{date:Mum}"),
                  Rules::cue(ReminderKind::date, "date|" + a.text() + "|2025-6-1", "{date:Dog}"),
              }));
}

TEST_F(HerWorldTest, CountdownsEachMorningUpToTheirDay) {
    prefs.countdowns.set({Countdown{a, "Trip", noon("2025-6-10")}});
    const std::string key = "countdown|" + a.text() + "|";
    EXPECT_EQ(keysAt("2025-6-1", 299), Keys{});
    EXPECT_EQ(keysAt("2025-6-1", 300), Keys{key + "2025-6-1"});
    EXPECT_EQ(keysAt("2025-6-10", 689), Keys{key + "2025-6-10"});  // on the day itself
    EXPECT_EQ(keysAt("2025-6-10", 690), Keys{});
    EXPECT_EQ(keysAt("2025-6-11", 400), Keys{});  // the day after
    setTime("2025-6-10", 500);
    EXPECT_EQ(herWorld().at(0).line, "{countdown:" + a.text() + "}");
}

TEST_F(HerWorldTest, CountdownLateOnItsDayStillCountsAsToday) {
    prefs.countdowns.set(
        {Countdown{a, "Flight", clock.dateFromDayKey("2025-6-10").value() + 23.5 * 3600},
         Countdown{b, "", noon("2025-6-10")}});
    EXPECT_EQ(keysAt("2025-6-10", 300), Keys{"countdown|" + a.text() + "|2025-6-10"});
}

TEST_F(HerWorldTest, BigDayWindows) {
    struct Case {
        int daysAhead;
        int minutes;
        std::optional<Cue> cue;
    };
    const std::string d = "2025-6-1";
    const Cue push = Rules::cue(ReminderKind::deadline, "deadline|" + d, "{deadline}");
    const Cue party = Rules::cue(ReminderKind::deadline, "bigday|" + d, "{bigday}");
    const Case cases[] = {
        {3, 615, push},         {3, 599, std::nullopt},  {3, 600, push},           {3, 689, push},
        {3, 690, std::nullopt}, {3, 1250, std::nullopt}, {1, 630, push},           {7, 630, push},
        {8, 630, std::nullopt}, {0, 1199, std::nullopt}, {0, 1200, party},         {0, 1439, party},
        {0, 630, std::nullopt}, {-1, 630, std::nullopt}, {-1, 1300, std::nullopt},
    };
    for (const auto& c : cases) {
        setTime(d, c.minutes);
        prefs.bigDay.set(clock.dateFromDayKey(d).value() + c.daysAhead * kDay + 9 * 3600);
        const auto cues = herWorld();
        EXPECT_EQ(cues, c.cue ? std::vector<Cue>{*c.cue} : std::vector<Cue>{})
            << c.daysAhead << " days ahead at " << c.minutes;
    }
}

TEST_F(HerWorldTest, MorningOrder) {
    prefs.specialDates.set({SpecialDate{a, "Cat", MonthDay{6, 1}}});
    prefs.countdowns.set({Countdown{b, "Trip", noon("2025-6-3")}});
    setTime("2025-6-1", 615);
    prefs.bigDay.set(noon("2025-6-4"));
    EXPECT_EQ(keys(herWorld()), (Keys{"date|" + a.text() + "|2025-6-1",
                                      "countdown|" + b.text() + "|2025-6-1", "deadline|2025-6-1"}));
}

// Where daylight saving starts at midnight, that day begins at 01:00. It is a
// whole day before the next one all the same: the countdown says "tomorrow",
// the big day's push comes at 10:00, the party waits for the day itself, and
// support mode starts 7 days out, not 8.
TEST_F(HerWorldTest, DaysThatStartAtOneCountAsWholeDays) {
    const struct {
        const char* zone;
        const char* day;
        const char* next;
    } cases[] = {
        {"America/Santiago", "2025-9-7", "2025-9-8"},
        {"Atlantic/Azores", "2026-3-29", "2026-3-30"},
        {"America/Havana", "2025-3-9", "2025-3-10"},
        {"Asia/Beirut", "2025-3-30", "2025-3-31"},
    };
    LineBank lines{random};
    prefs.language.set(Language::english);
    for (const auto& c : cases) {
        pelliwig::testing::ZoneAndLocale zone{c.zone, "en_US"};
        const std::string day = c.day;
        prefs.countdowns.set({Countdown{a, "Goa", noon(c.next)}});
        prefs.bigDay.set(noon(c.next));
        setTime(day, 615);
        ASSERT_EQ(clock.minutesOfDay(clock.now()), 615) << c.zone;
        EXPECT_EQ(keysAt(day, 615), (Keys{"countdown|" + a.text() + "|" + day, "deadline|" + day}))
            << c.zone;
        LinePicker picker{prefs, memory, lines, random, clock};
        EXPECT_EQ(picker.resolve("{countdown:" + a.text() + "}"),
                  "Goa is tomorrow! Are you ready? 😍")
            << c.zone;
        EXPECT_EQ(keysAt(day, 1230), Keys{}) << c.zone << ": no party the evening before";
        EXPECT_EQ(keysAt(c.next, 1230), Keys{"bigday|" + std::string(c.next)}) << c.zone;

        const Instant start = clock.dateFromDayKey(day).value();  // 01:00
        const struct {
            double daysAhead;
            bool active;
        } support[] = {{7, true}, {8, false}};
        for (const auto& s : support) {
            prefs.bigDay.set(start + s.daysAhead * kDay + 11 * 3600);  // noon then
            for (const double hours : {0.0, 22 + 59.0 / 60}) {         // 01:00 and 23:59
                scheduler.emplace(start + hours * 3600);
                EXPECT_EQ(prefs.bigDayActive(clock), s.active)
                    << c.zone << " " << s.daysAhead << " days ahead, " << hours << " h in";
            }
        }
    }
}

class WeekendPhotoTest : public HerWorldTest {
protected:
    void SetUp() override {
        // One folder per test process: ctest runs these tests side by side.
        folder = std::filesystem::path(::testing::TempDir()) /
                 ("her-world-photos-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "beach.jpg") << "jpeg";
        prefs.photoFolder.set(folder.string());
        saved = icu::Locale::getDefault();
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(saved, status);
    }
    void useLocale(const char* name) {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale(name), status);
        ASSERT_TRUE(U_SUCCESS(status));
    }

    std::filesystem::path folder;
    icu::Locale saved;
};

TEST_F(WeekendPhotoTest, SaturdayPhotoCarriesThePictureAndTheWeekKey) {
    setTime("2025-3-8", 660);
    const auto cues = herWorld();
    ASSERT_EQ(cues.size(), 1u);
    EXPECT_EQ(cues[0].kind, ReminderKind::photo);
    EXPECT_EQ(cues[0].onceKey, "photo|" + clock.weekKey(clock.now()));
    EXPECT_FALSE(cues[0].line.has_value());
    EXPECT_EQ(cues[0].image, (folder / "beach.jpg").string());
}

TEST_F(WeekendPhotoTest, OnlyWeekendDaytime) {
    EXPECT_EQ(keysAt("2025-3-8", 659), Keys{});
    EXPECT_EQ(keysAt("2025-3-9", 1199).size(), 1u);
    EXPECT_EQ(keysAt("2025-3-9", 1200), Keys{});
    EXPECT_EQ(keysAt("2025-3-7", 720), Keys{});   // Friday
    EXPECT_EQ(keysAt("2025-3-10", 720), Keys{});  // Monday
}

TEST_F(WeekendPhotoTest, NoPictureNoPhoto) {
    std::filesystem::remove(folder / "beach.jpg");
    std::ofstream(folder / "notes.txt") << "text";
    EXPECT_EQ(keysAt("2025-3-8", 720), Keys{});
    prefs.photoFolder.set(std::nullopt);
    EXPECT_EQ(keysAt("2025-3-8", 720), Keys{});
}

// Weeks that start on Monday keep a weekend together; weeks that start on
// Sunday split it, so that Sunday may bring a second photo.
TEST_F(WeekendPhotoTest, WeekKeyUnderTwoLocales) {
    useLocale("de_DE");
    EXPECT_EQ(keysAt("2025-3-8", 720), Keys{"photo|2025-W10"});
    EXPECT_EQ(keysAt("2025-3-9", 720), Keys{"photo|2025-W10"});

    useLocale("en_US");
    EXPECT_EQ(keysAt("2025-3-8", 720), Keys{"photo|2025-W10"});
    EXPECT_EQ(keysAt("2025-3-9", 720), Keys{"photo|2025-W11"});
}

}  // namespace
}  // namespace pelliwig
