#include "core/engine/FiredLog.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "fakes/MemoryStore.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

constexpr Instant kNow = 1'770'000'000;

class FiredLogTest : public testing::Test {
protected:
    void storeEntry(const std::string& key, Instant at) {
        store.write(FiredLog::kKey, nlohmann::json{{key, toReferenceSeconds(at)}}.dump());
    }

    VirtualScheduler scheduler{kNow};
    Clock clock{scheduler};
    MemoryStore store;
};

TEST_F(FiredLogTest, MarkStoresEveryKeyAsSecondsSince2001) {
    FiredLog log(store, clock);
    log.mark("water|1700000000|1");
    scheduler.advance(0.25);
    log.mark("bedtime|2026-2-2");

    const auto stored = nlohmann::json::parse(store.read(FiredLog::kKey).value());
    EXPECT_EQ(stored, (nlohmann::json{{"water|1700000000|1", kNow - kReferenceDateOffset},
                                      {"bedtime|2026-2-2", kNow + 0.25 - kReferenceDateOffset}}));
    EXPECT_TRUE(log.contains("water|1700000000|1"));
    EXPECT_FALSE(log.contains("water|1700000000|2"));
}

struct AgeCase {
    double age;
    bool kept;
};

class FiredLogPruneTest : public FiredLogTest, public testing::WithParamInterface<AgeCase> {};

TEST_P(FiredLogPruneTest, LoadingDropsEntriesEightDaysOldOrMore) {
    storeEntry("morning|2026-1-1", kNow - GetParam().age);
    const int writesBefore = store.writes;

    FiredLog log(store, clock);

    EXPECT_EQ(log.contains("morning|2026-1-1"), GetParam().kept);
    EXPECT_EQ(store.writes, writesBefore) << "pruning alone writes nothing";
}

INSTANTIATE_TEST_SUITE_P(Ages, FiredLogPruneTest,
                         testing::Values(AgeCase{0, true}, AgeCase{7 * 86400 + 23 * 3600, true},
                                         AgeCase{691199.5, true}, AgeCase{691200, false},
                                         AgeCase{30 * 86400, false},
                                         AgeCase{-3600, true}));  // clock set back: kept

class FiredLogDecodeTest : public FiredLogTest, public testing::WithParamInterface<const char*> {};

TEST_P(FiredLogDecodeTest, UndecodableValueGivesAnEmptyLog) {
    store.write(FiredLog::kKey, GetParam());
    FiredLog log(store, clock);
    EXPECT_TRUE(log.entries().empty());
}

INSTANTIATE_TEST_SUITE_P(Values, FiredLogDecodeTest,
                         testing::Values("not json", "[1, 2]", "42",
                                         R"({"a": 788000000, "b": "yesterday"})",
                                         R"({"a": null})"));

TEST_F(FiredLogTest, PrunedEntriesLeaveTheStoreAtTheNextMark) {
    store.write(FiredLog::kKey, nlohmann::json{{"old", toReferenceSeconds(kNow - 9 * 86400)},
                                               {"new", toReferenceSeconds(kNow - 86400)}}
                                    .dump());
    FiredLog log(store, clock);
    log.mark("today");

    const auto stored = nlohmann::json::parse(store.read(FiredLog::kKey).value());
    EXPECT_FALSE(stored.contains("old"));
    EXPECT_TRUE(stored.contains("new"));
    EXPECT_TRUE(stored.contains("today"));
}

// Months of running store what a fresh start would keep: the last eight
// days of keys, so a save costs the same on day 400 as on day 9.
TEST_F(FiredLogTest, AtEveryChangeOfDayTheLogKeepsEightDays) {
    FiredLog log(store, clock);
    constexpr int kKeysPerDay = 20;
    std::size_t largest = 0;
    for (int day = 0; day < 60; ++day) {
        for (int n = 0; n < kKeysPerDay; ++n) {
            scheduler.advance(3600);
            log.rollDayIfNeeded();  // as every tick does
            log.mark("water|" + std::to_string(day) + "|" + std::to_string(n));
        }
        scheduler.advance(4 * 3600);
        largest = std::max(largest, store.read(FiredLog::kKey)->size());
    }
    const auto stored = nlohmann::json::parse(store.read(FiredLog::kKey).value());
    EXPECT_LE(stored.size(), 9u * kKeysPerDay);
    for (const auto& [key, when] : stored.items()) {
        EXPECT_LT(scheduler.now() - fromReferenceSeconds(when.get<double>()),
                  FiredLog::kKeepSeconds + 86400)
            << key;
    }
    EXPECT_FALSE(log.contains("water|0|0"));
    EXPECT_TRUE(log.contains("water|59|0"));
    EXPECT_LT(largest, 10u * kKeysPerDay * 40) << "the stored text stays a few days long";
}

// A calendar title that is not UTF-8 ends up in a once-key; it must not stop
// every later key from being saved.
TEST_F(FiredLogTest, KeyThatIsNotUtf8BlocksForThisRunAndNeverBreaksSaving) {
    FiredLog log(store, clock);
    const std::string bad = "cal|caf\xe9";
    log.mark(bad);
    EXPECT_TRUE(log.contains(bad));
    EXPECT_FALSE(store.read(FiredLog::kKey).has_value());

    log.mark("water|1|1");
    const auto stored = nlohmann::json::parse(store.read(FiredLog::kKey).value());
    EXPECT_EQ(stored.size(), 1u);
    EXPECT_TRUE(stored.contains("water|1|1"));
}

}  // namespace
}  // namespace pelliwig
