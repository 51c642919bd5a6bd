#include "core/settings/Prefs.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/MemoryStore.h"
#include "fakes/VirtualScheduler.h"
#include "support/TestTime.h"

namespace pelliwig {
namespace {

using testing::utc;

class PrefsTest : public ::testing::Test {
protected:
    MemoryStore store;
    Prefs prefs{store};
};

TEST_F(PrefsTest, AFreshStoreReadsTheDefaultsAndWritesNothing) {
    EXPECT_EQ(prefs.language.get(), Language::hinglish);
    EXPECT_EQ(prefs.appearance.get(), Appearance::zuzi);
    EXPECT_EQ(prefs.roastLevel.get(), RoastLevel::playful);
    EXPECT_EQ(prefs.quietStart.get(), 30);
    EXPECT_EQ(prefs.quietEnd.get(), 420);
    EXPECT_EQ(prefs.minGap.get(), 20);
    EXPECT_EQ(prefs.showSeconds.get(), 8.0);
    EXPECT_EQ(prefs.bedtime.get(), 1410);
    EXPECT_EQ(prefs.callTime.get(), 1050);
    EXPECT_EQ(prefs.breakEvery.get(), 60);
    EXPECT_EQ(prefs.waterEvery.get(), 90);
    EXPECT_EQ(prefs.appTimeLimit.get(), 120);
    EXPECT_EQ(prefs.surprisesPerWeek.get(), 3);
    EXPECT_TRUE(prefs.idlePeeks.get());
    EXPECT_TRUE(prefs.sleepInNotch.get());
    EXPECT_FALSE(prefs.hasOnboarded.get());
    EXPECT_EQ(prefs.birthday.get(), std::nullopt);
    EXPECT_EQ(prefs.bigDayLabel.get(), "");
    EXPECT_EQ(prefs.watchedBuckets.get().size(), 10u);
    EXPECT_EQ(prefs.placement(), NotchPlacement{});
    EXPECT_EQ(prefs.pausedUntil.get(), std::nullopt);
    EXPECT_TRUE(prefs.followDoNotDisturb.get());
    EXPECT_TRUE(prefs.quietDuringFullScreen.get());
    EXPECT_FALSE(prefs.reduceMotion.get());
    EXPECT_EQ(prefs.bubbleShortcut.get(), "");
    EXPECT_EQ(prefs.keys().size(), 34u);
    EXPECT_EQ(store.writes, 0);
}

TEST_F(PrefsTest, KindsAreOnByListExceptCustomWhichIsAlwaysOn) {
    for (const auto kind : allCases<ReminderKind>()) {
        const bool off = kind == ReminderKind::calendar || kind == ReminderKind::photo;
        EXPECT_EQ(prefs.isEnabled(kind), !off) << rawValue(kind);
    }
    prefs.setEnabled(ReminderKind::custom, false);
    EXPECT_TRUE(prefs.isEnabled(ReminderKind::custom));
}

TEST_F(PrefsTest, EnablingAKindMovesItToTheEndOnce) {
    prefs.setEnabled(ReminderKind::water, true);
    const auto kinds = prefs.enabledKinds.get();
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), ReminderKind::water), 1);
    EXPECT_EQ(kinds.back(), ReminderKind::water);
    EXPECT_EQ(kinds.size(), 21u);
    prefs.setEnabled(ReminderKind::water, false);
    EXPECT_FALSE(prefs.isEnabled(ReminderKind::water));
}

TEST_F(PrefsTest, StoredTextsAreTheJsonEnvelopes) {
    prefs.birthday.set(std::nullopt);
    EXPECT_EQ(store.read("birthday"), R"({"value":null})");
    prefs.birthday.set(MonthDay{3, 7});
    EXPECT_EQ(store.read("birthday"), R"({"value":{"month":3,"day":7}})");
    prefs.roastLevel.set(RoastLevel::savage);
    EXPECT_EQ(store.read("roastLevel"), R"({"value":"savage"})");
    prefs.minGap.set(30);
    EXPECT_EQ(store.read("minGap"), R"({"value":30})");
    prefs.notchPosition.set(NotchPosition::topRight);
    EXPECT_EQ(store.read("notchPosition"), R"({"value":"topRight"})");
    prefs.notchScreen.set("HDMI-1");
    EXPECT_EQ(store.read("notchScreen"), R"({"value":"HDMI-1"})");
    EXPECT_EQ(prefs.placement(), (NotchPlacement{NotchPosition::topRight, "HDMI-1"}));

    const auto id = *Uuid::parse("e621e1f8-c36c-495a-93fc-0c247a3e6e5f");
    prefs.customReminders.set({CustomReminder{id, "Stretch \"now\"", 615, false}});
    EXPECT_EQ(store.read("customReminders"),
              R"({"value":[{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","text":"Stretch \"now\"",)"
              R"("minutes":615,"enabled":false}]})");
    prefs.bigDay.set(utc(2001, 1, 2));
    EXPECT_EQ(store.read("bigDay"), R"({"value":86400.0})");
    prefs.specialDates.set({SpecialDate{id, "Diwali", MonthDay{11, 1}}});
    EXPECT_EQ(store.read("specialDates"),
              R"({"value":[{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","label":"Diwali",)"
              R"("monthDay":{"month":11,"day":1}}]})");
}

TEST_F(PrefsTest, EveryTypeRoundTrips) {
    const Countdown trip{Uuid::random(), "Goa 🏖", utc(2026, 1, 2, 3, 4, 5) + 0.25};
    const TaughtLine line{Uuid::random(), "<b>not markup</b>"};
    prefs.countdowns.set({trip});
    prefs.taughtLines.set({line});
    prefs.photoFolder.set(std::string("/home/me/Pictures"));
    prefs.watchedBuckets.set({AppBucket::games, AppBucket::coding});
    prefs.showSeconds.set(12.5);
    prefs.language.set(Language::english);
    EXPECT_EQ(prefs.countdowns.get(), std::vector<Countdown>{trip});
    EXPECT_EQ(prefs.taughtLines.get(), std::vector<TaughtLine>{line});
    EXPECT_EQ(prefs.photoFolder.get(), "/home/me/Pictures");
    EXPECT_EQ(prefs.watchedBuckets.get(), (std::vector{AppBucket::games, AppBucket::coding}));
    EXPECT_EQ(prefs.showSeconds.get(), 12.5);
    EXPECT_EQ(prefs.language.get(), Language::english);
}

TEST_F(PrefsTest, UndecodableValuesReadAsTheDefaultAndStayOnDisk) {
    const std::string goodReminder =
        R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","text":"a","minutes":1,"enabled":true})";
    const struct {
        const char* key;
        std::string bytes;
        std::function<bool(const Prefs&)> readsDefault;
    } cases[] = {
        {"language", R"({"value":"klingon"})",
         [](auto& p) { return p.language.get() == Language::hinglish; }},
        {"language", R"({"value":"English"})",
         [](auto& p) { return p.language.get() == Language::hinglish; }},
        {"enabledKinds", R"({"value":["water","Battery"]})",
         [](auto& p) { return p.enabledKinds.get() == defaultEnabledKinds(); }},
        {"minGap", R"({"value":"30"})", [](auto& p) { return p.minGap.get() == 20; }},
        {"minGap", R"({"value":30.5})", [](auto& p) { return p.minGap.get() == 20; }},
        {"minGap", R"({"minGap":30})", [](auto& p) { return p.minGap.get() == 20; }},
        {"minGap", "not json", [](auto& p) { return p.minGap.get() == 20; }},
        // Whole numbers a setting cannot hold, however the parser keeps them.
        {"minGap", R"({"value":18446744073709551615})",
         [](auto& p) { return p.minGap.get() == 20; }},
        {"minGap", R"({"value":18446744073709551636})",
         [](auto& p) { return p.minGap.get() == 20; }},
        {"minGap", R"({"value":9223372036854775828})",
         [](auto& p) { return p.minGap.get() == 20; }},
        {"minGap", R"({"value":4294967326})", [](auto& p) { return p.minGap.get() == 20; }},
        {"minGap", R"({"value":2147483648})", [](auto& p) { return p.minGap.get() == 20; }},
        {"quietEnd", R"({"value":-9223372036854775809})",
         [](auto& p) { return p.quietEnd.get() == 420; }},
        {"birthday", R"({"value":{"month":18446744073709551615,"day":1}})",
         [](auto& p) { return !p.birthday.get(); }},
        {"idlePeeks", R"({"value":0})", [](auto& p) { return p.idlePeeks.get(); }},
        {"specialDates", R"({"value":[{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","label":"x"}]})",
         [](auto& p) { return p.specialDates.get().empty(); }},
        {"customReminders",
         R"({"value":[)" + goodReminder +
             R"(,{"id":"nope","text":"b","minutes":1,"enabled":true}]})",
         [](auto& p) { return p.customReminders.get().empty(); }},
        {"birthday", R"({"value":{"month":3}})", [](auto& p) { return !p.birthday.get(); }},
        {"bigDay", R"({"value":"tomorrow"})", [](auto& p) { return !p.bigDay.get(); }},
    };
    for (const auto& c : cases) {
        store.write(c.key, c.bytes);
        EXPECT_TRUE(c.readsDefault(prefs)) << c.key << " " << c.bytes;
        EXPECT_EQ(store.read(c.key), c.bytes) << "reading must not repair " << c.key;
    }
    store.write("customReminders", R"({"value":[)" + goodReminder + "]}");
    EXPECT_EQ(prefs.customReminders.get().size(), 1u);
}

// The walk over the cells tiles the object after its two signals, one cell
// after the next: a cell declared but left out of the walk leaves a gap, one
// walked out of order steps back.
TEST_F(PrefsTest, TheWalkVisitsEveryCellOnceInDeclarationOrder) {
    struct Span {
        std::uintptr_t begin;
        std::uintptr_t end;
        std::string key;
    };
    std::vector<Span> spans;
    const Prefs& reader = prefs;
    reader.forEach([&spans](const auto& cell) {
        const auto begin = reinterpret_cast<std::uintptr_t>(&cell);
        spans.push_back({begin, begin + sizeof(cell), cell.key()});
    });
    ASSERT_FALSE(spans.empty());
    EXPECT_EQ(spans.front().begin,
              reinterpret_cast<std::uintptr_t>(&prefs.changed) + sizeof(prefs.changed))
        << "a cell before " << spans.front().key << " is not walked";
    for (std::size_t i = 1; i < spans.size(); ++i) {
        EXPECT_EQ(spans[i].begin, spans[i - 1].end)
            << "between " << spans[i - 1].key << " and " << spans[i].key;
    }
    EXPECT_EQ(spans.back().end, reinterpret_cast<std::uintptr_t>(&prefs) + sizeof(Prefs))
        << "a cell after " << spans.back().key << " is not walked";

    std::vector<std::string> walked;
    for (const auto& span : spans) walked.push_back(span.key);
    EXPECT_EQ(prefs.keys(), walked);
}

TEST_F(PrefsTest, StoringEveryDefaultFillsOneEntryPerKey) {
    std::size_t visited = 0;
    prefs.forEach([&visited](auto& cell) {
        cell.set(cell.fallback());
        ++visited;
    });
    const auto keys = prefs.keys();
    EXPECT_EQ(keys.size(), visited);
    EXPECT_EQ(store.values().size(), keys.size()) << "two settings share a key";
    for (const auto& key : keys) EXPECT_TRUE(store.read(key)) << key;
    prefs.forEach([](const auto& cell) { EXPECT_EQ(cell.get(), cell.fallback()) << cell.key(); });
}

// Whatever text sits under a setting's key, the setting reads as some value,
// leaves the text as it was, and the value it read stores and reads back.
TEST_F(PrefsTest, AnyStoredTextReadsAsAValueThatStoresBackAsItself) {
    const std::string texts[] = {
        "",
        "not json",
        "{}",
        R"([{"value":1}])",
        R"({"value":null})",
        R"({"value":true})",
        R"({"value":-1})",
        R"({"value":1439})",
        R"({"value":1e308})",
        R"({"value":1e400})",
        R"({"value":""})",
        R"({"value":"Ctrl+Alt+Z"})",
        R"({"value":"\u00e9 \ud83c\udfd6"})",
        R"({"value":"savage"})",
        R"({"value":[]})",
        R"({"value":[null]})",
        R"({"value":["water","calendar"]})",
        R"({"value":{}})",
        R"({"value":{"month":2,"day":29}})",
    };
    for (const auto& text : texts) {
        prefs.forEach([&](auto& cell) {
            store.write(cell.key(), text);
            const auto value = cell.get();
            EXPECT_EQ(store.read(cell.key()), text) << "reading must not repair " << cell.key();
            cell.set(value);
            EXPECT_EQ(cell.get(), value) << cell.key() << " from " << text;
        });
    }
}

TEST_F(PrefsTest, ObserversHearBeforeAndAfterEveryWrite) {
    std::vector<std::string> heard;
    auto before = prefs.willChange.connect(
        [&] { heard.push_back("will:" + std::to_string(prefs.minGap.get())); });
    auto after = prefs.changed.connect(
        [&](std::string_view key) { heard.push_back("did:" + std::string(key)); });
    prefs.minGap.set(45);
    prefs.setEnabled(ReminderKind::photo, true);
    EXPECT_EQ(heard,
              (std::vector<std::string>{"will:20", "did:minGap", "will:45", "did:enabledKinds"}));
}

TEST_F(PrefsTest, TheBigDayIsActiveFromTodayToAWeekAhead) {
    testing::ZoneAndLocale zone{"Europe/Berlin", "en_US"};
    VirtualScheduler scheduler{utc(2025, 3, 7, 21, 0)};  // 22:00 locally
    Clock clock{scheduler};
    EXPECT_FALSE(prefs.bigDayActive(clock));
    const struct {
        Instant day;
        bool active;
    } cases[] = {
        {utc(2025, 3, 7, 5, 0), true},     // today, earlier
        {utc(2025, 3, 14, 22, 30), true},  // 7 days ahead, late evening
        {utc(2025, 3, 15, 9, 0), false},   // 8 days ahead
        {utc(2025, 3, 6, 12, 0), false},   // yesterday
    };
    for (const auto& c : cases) {
        prefs.bigDay.set(c.day);
        EXPECT_EQ(prefs.bigDayActive(clock), c.active) << clock.dayKey(c.day);
    }
}

TEST(UserRecordsTest, RecordsDefaultsAndIdentity) {
    const CustomReminder a;
    CustomReminder b = a;
    EXPECT_EQ(a.minutes, 720);
    EXPECT_TRUE(a.enabled);
    EXPECT_EQ(a.id.text().size(), 36u);
    EXPECT_EQ(a.id.text()[14], '4');
    b.id = Uuid::random();
    EXPECT_NE(a, b);  // equal fields, different identity

    const Instant tenOClock = utc(2025, 3, 25, 9, 0);
    EXPECT_EQ(Countdown::startingAt(tenOClock).date - tenOClock, 604800);
    EXPECT_EQ(title(RoastLevel::savage), "Savage");
    EXPECT_EQ(Codec<RoastLevel>::encode(RoastLevel::savage).dump(), R"("savage")");
}

TEST(UserRecordsTest, UuidTextIsCheckedAndUpperCased) {
    EXPECT_EQ(Uuid::parse("e621e1f8-c36c-495a-93fc-0c247a3e6e5f")->text(),
              "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    for (const char* bad :
         {"", "E621E1F8C36C495A93FC0C247A3E6E5F", "G621E1F8-C36C-495A-93FC-0C247A3E6E5F",
          "E621E1F8-C36C-495A-93FC-0C247A3E6E5F0", "E621E1F8_C36C-495A-93FC-0C247A3E6E5F"}) {
        EXPECT_FALSE(Uuid::parse(bad)) << bad;
    }
}

}  // namespace
}  // namespace pelliwig
