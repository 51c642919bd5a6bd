#include "core/settings/SqliteStore.h"

#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <system_error>
#include <vector>

#include <sqlite3.h>

#include "core/support/BaseDirectories.h"

namespace pelliwig {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDamaged = "was damaged";
constexpr const char* kOtherShape = "holds its settings in another form";

// How long a write waits for another program's lock before its change is
// kept for later: short, because writes run on the event loop.
constexpr int kBusyTimeoutMs = 50;

bool isDamage(int code) {
    const int primary = code & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

// "20260307-101500" from the damaged file's last change, so the name says
// when the file was last good rather than when we noticed.
std::string stampOf(const fs::path& file) {
    std::error_code error;
    const auto written = fs::last_write_time(file, error);
    if (error) return "unknown";
    const auto system = std::chrono::file_clock::to_sys(written);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(system);
    std::tm parts{};
    localtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
    return text;
}

std::string columnText(sqlite3_stmt* statement, int column) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
    const int size = sqlite3_column_bytes(statement, column);
    return bytes ? std::string(bytes, static_cast<std::size_t>(size)) : std::string();
}

fs::path freeNameBeside(const fs::path& file) {
    const std::string base = file.string() + ".damaged-" + stampOf(file);
    fs::path candidate = base;
    for (int n = 2; fs::exists(candidate); ++n) candidate = base + "-" + std::to_string(n);
    return candidate;
}

std::string lowered(const unsigned char* text) {
    std::string out = text ? reinterpret_cast<const char*>(text) : "";
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Whether "defaults" is another table than the one this store reads and
// writes (a text primary key "key" and a "value" column that keeps the bytes
// as given). Any other shape (a view, other columns, a value column that turns
// JSON into numbers) would make every write fail, or change what reads back.
// A file that cannot be asked now (busy) is not called another shape.
bool hasAnotherShape(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    const char* sql =
        "SELECT name, type, pk FROM pragma_table_info('defaults') "
        "WHERE (SELECT type FROM sqlite_master WHERE name = 'defaults' COLLATE NOCASE) = 'table' "
        "ORDER BY cid";
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) return false;
    std::vector<std::array<std::string, 3>> columns;
    int code;
    while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
        columns.push_back({lowered(sqlite3_column_text(statement, 0)),
                           lowered(sqlite3_column_text(statement, 1)),
                           lowered(sqlite3_column_text(statement, 2))});
    }
    sqlite3_finalize(statement);
    if (code != SQLITE_DONE) return false;
    const std::array<std::string, 3> key{"key", "text", "1"};
    const bool ours = columns.size() == 2 && columns[0] == key && columns[1][0] == "value" &&
                      columns[1][2] == "0" &&
                      (columns[1][1] == "blob" || columns[1][1] == "text" || columns[1][1].empty());
    return !ours;
}

}  // namespace

SqliteStore::SqliteStore(fs::path path) : path_(std::move(path)) {}

SqliteStore::~SqliteStore() {
    // A last try for changes the file refused so far.
    if (!pending_.empty()) storePending();
    close();
}

fs::path SqliteStore::defaultPath() {
    return BaseDirectories::configHome() / "pelliwig" / "defaults.sqlite";
}

// The copy of the table stays: it is what the file held, and reads keep
// being served from it while the file is reopened.
void SqliteStore::close() const {
    for (auto* statement : {selectAll_, upsert_, delete_}) sqlite3_finalize(statement);
    selectAll_ = upsert_ = delete_ = nullptr;
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    readOnly_ = false;
}

void SqliteStore::moveAside(const char* why) const {
    close();
    cache_.reset();
    const fs::path target = freeNameBeside(path_);
    std::error_code error;
    fs::rename(path_, target, error);
    // The journal files belong to the damaged database; keep them with it.
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        const fs::path side = path_.string() + suffix;
        if (fs::exists(side)) fs::rename(side, target.string() + suffix, error);
    }
    std::cerr << "pelliwig: the settings file " << path_.string() << " " << why
              << "; it was moved to " << target.string() << " and a fresh one was started\n";
}

// Read-only, for a file that cannot be written now; without a lock file of
// its own when even that cannot be made (a read-only folder holding a WAL
// database), which is safe as nobody can write it then either.
bool SqliteStore::openForReading() const {
    close();
    const std::string escaped = [&] {
        std::string out;
        for (const char c : path_.string()) {
            if (c == '?' || c == '#' || c == '%') {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
                out += hex;
            } else {
                out += c;
            }
        }
        return out;
    }();
    const int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    for (const char* mode : {"?mode=ro", "?mode=ro&immutable=1"}) {
        const std::string uri = "file:" + escaped + mode;
        if (sqlite3_open_v2(uri.c_str(), &db_, flags, nullptr) == SQLITE_OK) {
            sqlite3_busy_timeout(db_, kBusyTimeoutMs);
            if (sqlite3_exec(db_, "SELECT count(*) FROM defaults", nullptr, nullptr, nullptr) ==
                SQLITE_OK) {
                readOnly_ = true;
                return true;
            }
        }
        lastCode_ = db_ ? sqlite3_errcode(db_) : SQLITE_CANTOPEN;
        close();
        // Held by another program: reading past its lock could see half a write.
        const int primary = lastCode_ & 0xff;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) break;
    }
    return false;
}

bool SqliteStore::openAndCheck() const {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        lastCode_ = db_ ? sqlite3_errcode(db_) : SQLITE_CANTOPEN;
        close();
        return openForReading();
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    // WAL with full sync: a committed write survives the process being
    // killed (and the machine losing power) right after it returns.
    const char* setup =
        "PRAGMA journal_mode=WAL;"
        "PRAGMA synchronous=FULL;"
        "CREATE TABLE IF NOT EXISTS defaults (key TEXT PRIMARY KEY NOT NULL, value BLOB NOT NULL);";
    int code = sqlite3_exec(db_, setup, nullptr, nullptr, nullptr);
    if (code == SQLITE_OK) {
        sqlite3_stmt* check = nullptr;
        code = sqlite3_prepare_v2(db_, "PRAGMA quick_check", -1, &check, nullptr);
        if (code == SQLITE_OK) {
            code = sqlite3_step(check);
            const auto* text = code == SQLITE_ROW ? sqlite3_column_text(check, 0) : nullptr;
            if (code == SQLITE_ROW &&
                (!text || std::string_view(reinterpret_cast<const char*>(text)) != "ok")) {
                code = SQLITE_CORRUPT;
            } else if (code == SQLITE_ROW) {
                code = SQLITE_OK;
            }
        }
        sqlite3_finalize(check);
    }
    // A "defaults" that is not our table fails the setup (a view of that name)
    // or every write after it (other columns): like damage, it is kept aside.
    const bool otherShape = (code == SQLITE_OK || code == SQLITE_ERROR) && hasAnotherShape(db_);
    if (code == SQLITE_OK && !otherShape) return true;
    if (isDamage(code) || otherShape) {
        moveAside(otherShape ? kOtherShape : kDamaged);
        if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK) return false;
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        return sqlite3_exec(db_, setup, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    // Locked, read-only, or no file can be made here: what is stored is read
    // all the same, and writing is tried again later.
    lastCode_ = code;
    close();
    return openForReading();
}

bool SqliteStore::open(Mode mode) const {
    if (db_) return true;
    // SQLite takes an empty name for a private temporary database, which
    // would swallow every change.
    if (path_.empty()) return false;
    std::error_code error;
    if (!fs::exists(path_, error)) {
        if (mode == Mode::readIfExists) return false;
        fs::create_directories(path_.parent_path(), error);
    }
    return openAndCheck();
}

template <typename Step>
bool SqliteStore::withStatement(sqlite3_stmt*& statement, const char* sql, Mode mode,
                                Step step) const {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!open(mode)) return false;
        int code = statement ? SQLITE_OK : sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr);
        if (code == SQLITE_OK) {
            code = step(statement);
            sqlite3_reset(statement);
            sqlite3_clear_bindings(statement);
        }
        if (!isDamage(code)) {
            const bool ok = code == SQLITE_OK || code == SQLITE_DONE || code == SQLITE_ROW;
            if (!ok) lastCode_ = code;
            return ok;
        }
        if (readOnly_) return false;  // not ours to move while we cannot write
        moveAside(kDamaged);
    }
    return false;
}

bool SqliteStore::loadCache() const {
    std::error_code error;
    if (!db_ && !fs::exists(path_, error)) {
        cache_.emplace();  // nothing stored yet; the first write creates the file
        return true;
    }
    std::map<std::string, std::string, std::less<>> rows;
    const bool ok =
        withStatement(selectAll_, "SELECT key, value FROM defaults", Mode::readIfExists,
                      [&](sqlite3_stmt* statement) {
                          int code;
                          while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
                              rows.emplace(columnText(statement, 0), columnText(statement, 1));
                          }
                          return code;
                      });
    if (!ok) {
        // Each read would wait for the lock again; the next retry reads.
        loadFailed_ = true;
        return false;
    }
    cache_ = std::move(rows);
    loadFailed_ = false;
    return true;
}

std::optional<std::string> SqliteStore::read(std::string_view key) const {
    if (const auto it = pending_.find(key); it != pending_.end()) return it->second;
    if (!cache_ && (loadFailed_ || !loadCache())) return std::nullopt;
    const auto it = cache_->find(key);
    if (it == cache_->end()) return std::nullopt;
    return it->second;
}

void SqliteStore::write(std::string_view key, std::string_view bytes) {
    pending_[std::string(key)] = std::string(bytes);
    storePending();
}

void SqliteStore::remove(std::string_view key) {
    pending_[std::string(key)] = std::nullopt;
    storePending();
}

std::optional<std::string> SqliteStore::saveTrouble() const {
    // A file that could not even be read means defaults are in force.
    if (trouble_ || !(readOnly_ || loadFailed_)) return trouble_;
    return troubleText();
}

bool SqliteStore::retrySaving() {
    if (!cache_) loadFailed_ = false;  // a lock that kept the first read out may be gone
    if (pending_.empty() && readOnly_ && cache_) {
        // Nothing to store, but whether the file can be written again is
        // only known by opening it afresh.
        close();
        open(Mode::readIfExists);
        return !readOnly_;
    }
    return storePending();
}

bool SqliteStore::store(const std::string& key, const std::optional<std::string>& bytes) {
    // Opened for reading only: the cause may be gone, so open afresh.
    if (readOnly_) close();
    const auto bindKey = [&](sqlite3_stmt* statement) {
        sqlite3_bind_text(statement, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
    };
    bool stored;
    if (bytes) {
        stored =
            withStatement(upsert_,
                          "INSERT INTO defaults (key, value) VALUES (?1, ?2) "
                          "ON CONFLICT(key) DO UPDATE SET value = excluded.value",
                          Mode::create, [&](sqlite3_stmt* statement) {
                              bindKey(statement);
                              // Stored as text so the sqlite3 tool shows the JSON as it is.
                              sqlite3_bind_text(statement, 2, bytes->data(),
                                                static_cast<int>(bytes->size()), SQLITE_STATIC);
                              return sqlite3_step(statement);
                          });
    } else {
        std::error_code error;
        // Nothing on disk yet means nothing to remove.
        if (!db_ && !fs::exists(path_, error)) return true;
        stored = withStatement(delete_, "DELETE FROM defaults WHERE key = ?1", Mode::create,
                               [&](sqlite3_stmt* statement) {
                                   bindKey(statement);
                                   return sqlite3_step(statement);
                               });
    }
    if (stored && readOnly_) {
        lastCode_ = SQLITE_READONLY;
        stored = false;
    }
    return stored;
}

bool SqliteStore::storePending() {
    if (!cache_ && !loadFailed_) loadCache();
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (!store(it->first, it->second)) {
            trouble_ = troubleText();
            return false;
        }
        if (cache_) {
            if (it->second) {
                (*cache_)[it->first] = *it->second;
            } else {
                cache_->erase(it->first);
            }
        }
        it = pending_.erase(it);
    }
    trouble_.reset();
    return true;
}

std::string SqliteStore::troubleText() const {
    const std::string where = path_.empty() ? "the settings file" : path_.string();
    if (path_.empty()) return "there is no home folder to keep them in";
    std::error_code error;
    const auto status = fs::status(path_, error);
    if (fs::is_directory(status)) return where + " is a folder, not a file";
    if (fs::exists(status) && !fs::is_regular_file(status)) return where + " is not a plain file";
    switch (lastCode_ & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return where + " is locked by another program";
        case SQLITE_FULL:
            return where + " cannot grow: the disk is full";
        case SQLITE_READONLY:
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return where + " cannot be written";
        default:
            return where + ": " + sqlite3_errstr(lastCode_);
    }
}

}  // namespace pelliwig
