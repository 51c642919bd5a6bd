#include "core/settings/SqliteStore.h"

#include <array>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <system_error>
#include <vector>

#include <sqlite3.h>

namespace pelliwig {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDamaged = "was damaged";
constexpr const char* kOtherShape = "holds its settings in another form";

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
    close();
}

fs::path SqliteStore::defaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (config && *config) {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : ".") / ".config";
    }
    return base / "pelliwig" / "defaults.sqlite";
}

void SqliteStore::close() const {
    for (auto* statement : {selectAll_, upsert_, delete_}) sqlite3_finalize(statement);
    selectAll_ = upsert_ = delete_ = nullptr;
    cache_.reset();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

void SqliteStore::moveAside(const char* why) const {
    close();
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

bool SqliteStore::openAndCheck() const {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK) return false;
    sqlite3_busy_timeout(db_, 2000);
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
        return sqlite3_exec(db_, setup, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    close();
    return false;
}

bool SqliteStore::open(Mode mode) const {
    if (db_) return true;
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
        if (!isDamage(code)) return code == SQLITE_OK || code == SQLITE_DONE || code == SQLITE_ROW;
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
        cache_.reset();
        return false;
    }
    cache_ = std::move(rows);
    return true;
}

std::optional<std::string> SqliteStore::read(std::string_view key) const {
    if (!cache_ && !loadCache()) return std::nullopt;
    const auto it = cache_->find(key);
    if (it == cache_->end()) return std::nullopt;
    return it->second;
}

void SqliteStore::write(std::string_view key, std::string_view bytes) {
    const bool written =
        withStatement(upsert_,
                      "INSERT INTO defaults (key, value) VALUES (?1, ?2) "
                      "ON CONFLICT(key) DO UPDATE SET value = excluded.value",
                      Mode::create, [&](sqlite3_stmt* statement) {
                          sqlite3_bind_text(statement, 1, key.data(), static_cast<int>(key.size()),
                                            SQLITE_STATIC);
                          // Stored as text so the sqlite3 tool shows the JSON as it is.
                          sqlite3_bind_text(statement, 2, bytes.data(),
                                            static_cast<int>(bytes.size()), SQLITE_STATIC);
                          return sqlite3_step(statement);
                      });
    if (written && cache_) (*cache_)[std::string(key)] = std::string(bytes);
}

void SqliteStore::remove(std::string_view key) {
    const bool removed =
        withStatement(delete_, "DELETE FROM defaults WHERE key = ?1", Mode::readIfExists,
                      [&](sqlite3_stmt* statement) {
                          sqlite3_bind_text(statement, 1, key.data(), static_cast<int>(key.size()),
                                            SQLITE_STATIC);
                          return sqlite3_step(statement);
                      });
    if (removed && cache_) cache_->erase(std::string(key));
}

}  // namespace pelliwig
