#include "core/engine/Memory.h"

#include <gtest/gtest.h>

#include "fakes/MemoryStore.h"
#include "fakes/VirtualScheduler.h"
#include "support/TestTime.h"

namespace pelliwig {
namespace {

using testing::utc;
constexpr double kDay = 86400;

class MemoryTest : public ::testing::Test {
protected:
    testing::ZoneAndLocale zone{"Europe/Berlin", "en_US"};
    VirtualScheduler scheduler{utc(2025, 3, 7, 9, 0)};  // Friday 10:00 locally
    Clock clock{scheduler};
    MemoryStore store;

    // A memory loaded from a stored document, as at start-up.
    std::unique_ptr<Memory> loaded(const Memory::State& state) {
        store.write("memory", Codec<Memory::State>::encode(state).dump());
        return std::make_unique<Memory>(store, clock);
    }
    // Yesterday's state with the given record for yesterday, rolled into today.
    Memory::State rolledFrom(Memory::DayStats yesterday, int mood = 0) {
        Memory::State state;
        state.lastRolledDay = clock.dayKey(scheduler.now() - kDay);
        state.days[state.lastRolledDay] = yesterday;
        state.mood = mood;
        state.bedtimeSnoozeNights = 2;
        state.bedtimeStreak = 3;
        state.waterStreak = 4;
        return loaded(state)->state;
    }
};

TEST_F(MemoryTest, AFreshMemoryIsEmpty) {
    Memory memory(store, clock);
    EXPECT_EQ(memory.jealousy(), 0);
    EXPECT_EQ(memory.today(), Memory::DayStats{});
    EXPECT_TRUE(memory.lastDays(7).empty());
    EXPECT_FALSE(memory.topLeisure(7));
    EXPECT_EQ(memory.state.lastRolledDay, "2025-3-7");
    EXPECT_EQ(store.read("memory"),
              R"({"kinds":{},"days":{},"mood":0,"coldUntilApology":false,"bedtimeSnoozeNights":0,)"
              R"("bedtimeStreak":0,"waterStreak":0,"lastRolledDay":"2025-3-7","reportedWeek":""})");
}

TEST_F(MemoryTest, RolloverCarriesTheStreaksOfTheLastDay) {
    Memory::DayStats snoozedOnly;
    snoozedOnly.bedtimeSnoozed = true;
    Memory::DayStats snoozedThenAcked = snoozedOnly;
    snoozedThenAcked.bedtimeAck = true;
    snoozedThenAcked.waterAcks = 2;
    Memory::DayStats oneWater;
    oneWater.waterAcks = 1;

    const struct {
        const char* name;
        Memory::DayStats day;
        int snoozeNights, bedtimeStreak, waterStreak;
    } cases[] = {
        {"snoozed, never acknowledged", snoozedOnly, 3, 0, 0},
        {"snoozed and acknowledged", snoozedThenAcked, 0, 4, 5},
        {"one water only", oneWater, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const auto state = rolledFrom(c.day);
        EXPECT_EQ(state.bedtimeSnoozeNights, c.snoozeNights) << c.name;
        EXPECT_EQ(state.bedtimeStreak, c.bedtimeStreak) << c.name;
        EXPECT_EQ(state.waterStreak, c.waterStreak) << c.name;
    }
}

TEST_F(MemoryTest, ADayWithoutARecordLeavesTheStreaksAlone) {
    Memory::State state;
    state.lastRolledDay = "2025-3-1";  // no record kept for it
    state.bedtimeStreak = 6;
    state.mood = -4;
    const auto memory = loaded(state);
    EXPECT_EQ(memory->state.bedtimeStreak, 6);
    EXPECT_FALSE(memory->state.coldUntilApology);  // cold is judged only from a record
    EXPECT_EQ(memory->state.mood, -3);
}

TEST_F(MemoryTest, SheTurnsColdAfterABadDay) {
    const struct {
        int ignored, mood;
        bool cold;
        int moodAfter;
    } cases[] = {
        {4, 0, true, 0}, {3, -2, false, -1}, {0, -3, true, -2}, {0, 2, false, 1}, {0, -5, true, -4},
    };
    for (const auto& c : cases) {
        Memory::DayStats day;
        day.ignored = c.ignored;
        const auto state = rolledFrom(day, c.mood);
        EXPECT_EQ(state.coldUntilApology, c.cold) << c.ignored << " ignored, mood " << c.mood;
        EXPECT_EQ(state.mood, c.moodAfter);
    }
}

TEST_F(MemoryTest, MoodStaysWithinFiveEitherWay) {
    Memory memory(store, clock);
    memory.state.mood = 3;
    for (int i = 0; i < 5; ++i) memory.recordAck(ReminderKind::water);
    EXPECT_EQ(memory.state.mood, 5);
    memory.state.mood = 0;
    for (int i = 0; i < 6; ++i) memory.recordIgnored(ReminderKind::water);
    EXPECT_EQ(memory.state.mood, -5);
    EXPECT_EQ(memory.state.kinds["water"].ignoredStreak, 6);
    EXPECT_EQ(memory.state.kinds["water"].acks, 5);
    EXPECT_EQ(memory.today().ignored, 6);
}

TEST_F(MemoryTest, AnswersUpdateTheRightRecords) {
    Memory memory(store, clock);
    memory.recordSnooze(ReminderKind::bedtime);
    memory.recordSnooze(ReminderKind::bedtime);
    EXPECT_EQ(memory.state.kinds["bedtime"].snoozeStreak, 2);
    EXPECT_TRUE(memory.today().bedtimeSnoozed);
    memory.state.bedtimeSnoozeNights = 3;
    memory.recordAck(ReminderKind::bedtime);
    EXPECT_EQ(memory.state.kinds["bedtime"], (Memory::KindRecord{0, 0, 1}));
    EXPECT_EQ(memory.state.bedtimeSnoozeNights, 0);
    memory.recordAck(ReminderKind::meal);
    memory.recordAck(ReminderKind::call);
    const auto today = memory.today();
    EXPECT_TRUE(today.bedtimeAck);
    EXPECT_EQ(today.mealAcks, 1);
    EXPECT_TRUE(today.calledHer);
    EXPECT_EQ(today.acks, 3);
}

TEST_F(MemoryTest, JealousyWeighsSocialTimeAgainstAnswers) {
    Memory memory(store, clock);
    for (int i = 0; i < 120; ++i) memory.recordTick(30, 60, AppBucket::social);  // one hour
    EXPECT_EQ(memory.jealousy(), 90);
    for (int i = 0; i < 120; ++i) memory.recordTick(30, 60, AppBucket::video);
    EXPECT_EQ(memory.jealousy(), 100);

    Memory::State state;
    state.lastRolledDay = clock.dayKey(scheduler.now());
    Memory::DayStats day;
    day.socialSeconds = 40 * 60;
    state.days[state.lastRolledDay] = day;
    const auto fresh = loaded(state);
    fresh->recordAck(ReminderKind::call);
    EXPECT_EQ(fresh->jealousy(), 60 - 10 - 30);
}

TEST_F(MemoryTest, ActivityTicksSaveAtMostEveryTwoMinutes) {
    Memory memory(store, clock);  // the load's rollover has just saved
    scheduler.advance(120);
    const int atStart = store.writes;
    memory.recordTick(30, 30, std::nullopt);
    scheduler.advance(30);
    memory.recordTick(30, 60, AppBucket::coding);
    EXPECT_EQ(store.writes, atStart + 1);
    memory.recordAck(ReminderKind::water);
    EXPECT_EQ(store.writes, atStart + 2);
    scheduler.advance(119);
    memory.recordTick(30, 90, std::nullopt);
    EXPECT_EQ(store.writes, atStart + 2);
    scheduler.advance(1);
    memory.recordTick(30, 120, std::nullopt);
    EXPECT_EQ(store.writes, atStart + 3);

    Memory reloaded(store, clock);
    EXPECT_EQ(reloaded.today().activeSeconds, 120);
    EXPECT_EQ(reloaded.today().longestSitting, 120);
    EXPECT_EQ(reloaded.today().appSeconds, (std::map<std::string, double>{{"coding", 30}}));
}

TEST_F(MemoryTest, OldDaysArePrunedAtRollover) {
    Memory::State state;
    state.lastRolledDay = clock.dayKey(scheduler.now());
    for (int back : {20, 21, 22}) state.days[clock.dayKey(scheduler.now() - back * kDay)] = {};
    state.days["not-a-day"] = {};
    const auto memory = loaded(state);
    scheduler.advance(kDay);
    memory->rollDayIfNeeded();
    // Counted from the new now: 20 days back becomes 21, and is dropped.
    EXPECT_EQ(memory->state.days.size(), 0u);

    Memory::State kept;
    kept.lastRolledDay = "2025-3-1";
    kept.days[clock.dayKey(scheduler.now() - 20 * kDay)] = {};
    kept.days[clock.dayKey(scheduler.now() - 21 * kDay)] = {};
    const auto other = loaded(kept);
    EXPECT_EQ(other->state.days.size(), 1u);
    EXPECT_TRUE(other->state.days.contains(clock.dayKey(scheduler.now() - 20 * kDay)));
}

TEST_F(MemoryTest, LastDaysAndTopLeisure) {
    Memory::State state;
    state.lastRolledDay = clock.dayKey(scheduler.now());
    auto day = [](std::map<std::string, double> apps) {
        Memory::DayStats d;
        d.appSeconds = std::move(apps);
        return d;
    };
    state.days[clock.dayKey(scheduler.now())] = day({{"games", 99999}});  // today never counts
    state.days[clock.dayKey(scheduler.now() - kDay)] = day({{"video", 100}, {"coding", 5000}});
    state.days[clock.dayKey(scheduler.now() - 3 * kDay)] =
        day({{"shopping", 150}, {"spaceship", 900}});
    state.days[clock.dayKey(scheduler.now() - 4 * kDay)] = day({{"video", 100}});
    const auto memory = loaded(state);
    EXPECT_EQ(memory->lastDays(3).size(), 2u);
    const auto top = memory->topLeisure(7);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->bucket, AppBucket::video);
    EXPECT_EQ(top->seconds, 200);
    EXPECT_EQ(memory->topLeisure(3)->bucket, AppBucket::shopping);
}

TEST_F(MemoryTest, StoredDocumentsAreStrict) {
    Memory::State state;
    state.mood = 4;
    state.lastRolledDay = clock.dayKey(scheduler.now());
    state.reportedWeek = "2025-W10";
    state.lastMeetingEnd = utc(2001, 1, 1, 0, 1);
    state.kinds["mystery"] = {1, 2, 3};  // unknown kinds are kept as they are
    const auto text = Codec<Memory::State>::encode(state).dump();
    EXPECT_NE(text.find(R"("lastMeetingEnd":60.0)"), std::string::npos) << text;
    EXPECT_EQ(loaded(state)->state, state);

    auto json = Json::parse(text);
    json.erase("reportedWeek");
    store.write("memory", json.dump());
    EXPECT_EQ(Memory(store, clock).state.mood, 0);  // a missing key makes it fresh

    json = Json::parse(text);
    json["days"]["2025-3-7"] = {{"activeSeconds", "lots"}};
    store.write("memory", json.dump());
    EXPECT_EQ(Memory(store, clock).state.mood, 0);
}

}  // namespace
}  // namespace pelliwig
