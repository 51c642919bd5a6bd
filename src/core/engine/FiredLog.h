#pragma once

#include <map>
#include <string>
#include <string_view>

#include "core/platform/KeyValueStore.h"
#include "core/support/Clock.h"

namespace pelliwig {

// The once-keys of cues already shown, with when they were shown, so a cue
// with a once-key comes at most once. Stored under "firedLog" as one JSON
// object: key → seconds since 2001-01-01 UTC.
class FiredLog {
public:
    static constexpr const char* kKey = "firedLog";
    // Entries this old or older are dropped when the log is loaded and at
    // every change of day. Once-keys carry their day, week or stretch, so a
    // week and a day is enough to keep every key that can still come round,
    // and the stored log stays a few days of keys however long she runs.
    static constexpr double kKeepSeconds = 691200;

    // Loads and prunes; a missing or undecodable value gives an empty log.
    // The pruned log is written back only at the next mark().
    FiredLog(KeyValueStore& store, const Clock& clock);
    FiredLog(const FiredLog&) = delete;
    FiredLog& operator=(const FiredLog&) = delete;

    bool contains(std::string_view key) const;

    // On the first call of a new local day, drops the entries that are too
    // old, as a fresh start would; they leave the store at the next mark().
    void rollDayIfNeeded();

    // Records key as shown now and stores the whole log at once. A key that
    // cannot be written as JSON (text that is not UTF-8, say from a calendar
    // title) is kept for this run only and stores nothing, so it can never
    // stop the other keys from being saved.
    void mark(const std::string& key);

    const std::map<std::string, Instant, std::less<>>& entries() const { return entries_; }

    // The stored text of a log.
    static std::string encode(const std::map<std::string, Instant, std::less<>>& entries);

private:
    void load();
    void prune();

    KeyValueStore& store_;
    const Clock& clock_;
    std::map<std::string, Instant, std::less<>> entries_;
    std::map<std::string, Instant, std::less<>> unstorable_;
    std::string day_;  // the local day of the last pruning
};

}  // namespace pelliwig
