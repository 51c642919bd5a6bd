#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "core/platform/KeyValueStore.h"

struct sqlite3;
struct sqlite3_stmt;

namespace pelliwig {

// The real store: one SQLite file, one row per key (table "defaults"), the
// value the exact JSON text. Nothing touches the disk until the first read
// or write; folders are made on the first write. Every write is its own
// transaction and is durable when write() returns.
//
// Reads are served from a copy of the (small) table, read once and kept in
// step with every write made through this store, because the engine reads
// settings on every tick and a locked read transaction per value costs more
// than the whole tick may. This process is the only writer while it runs (one
// instance per user); a change made to the file from outside is seen at the
// next start.
//
// A change that cannot be stored (the file locked by another program, a
// read-only or full disk, a folder where the file should be) is not lost: it
// reads back from memory, saveTrouble() says why, and retrySaving() (or the
// next write) stores it once it can. Writes wait at most a moment for a lock,
// so a caller on an event loop never stalls. A file that cannot be written
// is read all the same, so the settings it holds stay in force.
//
// A file that is not a database, is damaged, or keeps its "defaults" in a
// table of another shape, is never overwritten: it is moved aside next to itself
// ("defaults.sqlite.damaged-20260307-101500"), one line on stderr says where, and a fresh store
// starts.
class SqliteStore final : public KeyValueStore {
public:
    explicit SqliteStore(std::filesystem::path path);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    // $XDG_CONFIG_HOME/pelliwig/defaults.sqlite, or ~/.config/pelliwig/ when
    // the variable is unset or empty.
    static std::filesystem::path defaultPath();

    const std::filesystem::path& path() const { return path_; }

    std::optional<std::string> read(std::string_view key) const override;
    void write(std::string_view key, std::string_view bytes) override;
    void remove(std::string_view key) override;
    // Also while the file is open for reading only (no change would be
    // kept) or could not be read (defaults are in force).
    std::optional<std::string> saveTrouble() const override;
    bool retrySaving() override;

    // True while the file is open for reading only (its folder or the file
    // cannot be written, or another program held it when it was opened).
    bool readOnly() const { return readOnly_; }

private:
    enum class Mode { readIfExists, create };

    // Opens the database if needed; false when there is none to read (or it
    // cannot be made).
    bool open(Mode mode) const;
    bool openAndCheck() const;
    bool openForReading() const;
    void close() const;
    // Stores one pending change (nothing: a removal); false when it could not be.
    bool store(const std::string& key, const std::optional<std::string>& bytes);
    bool storePending();
    std::string troubleText() const;
    void moveAside(const char* why) const;
    // Runs a statement; on a damaged database moves it aside and retries once
    // on a fresh one.
    template <typename Step>
    bool withStatement(sqlite3_stmt*& statement, const char* sql, Mode mode, Step step) const;

    bool loadCache() const;

    std::filesystem::path path_;
    mutable std::optional<std::map<std::string, std::string, std::less<>>> cache_;
    mutable sqlite3* db_ = nullptr;
    mutable sqlite3_stmt* selectAll_ = nullptr;
    mutable sqlite3_stmt* upsert_ = nullptr;
    mutable sqlite3_stmt* delete_ = nullptr;
    mutable int lastCode_ = 0;         // the SQLite result of the last failed step
    mutable bool readOnly_ = false;    // db_ was opened for reading only
    mutable bool loadFailed_ = false;  // no read until the next retry: each would wait
    // Changes made but not on disk yet, in memory; nothing means removed.
    std::map<std::string, std::optional<std::string>, std::less<>> pending_;
    std::optional<std::string> trouble_;
};

}  // namespace pelliwig
