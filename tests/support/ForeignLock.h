#pragma once

// Another program holding an SQLite file's lock until it is released, for
// tests of a store that must keep working around it:
//
//   ForeignLock lock(file, "BEGIN EXCLUSIVE");
//   ASSERT_TRUE(lock.locked());

#include <sqlite3.h>

#include <filesystem>

namespace pelliwig::testing {

class ForeignLock {
public:
    ForeignLock(const std::filesystem::path& file, const char* begin) {
        sqlite3_open(file.c_str(), &db_);
        locked_ = sqlite3_exec(db_, begin, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ForeignLock(const ForeignLock&) = delete;
    ForeignLock& operator=(const ForeignLock&) = delete;
    ~ForeignLock() { release(); }

    bool locked() const { return locked_; }
    void release() {
        if (db_) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(db_);
        }
        db_ = nullptr;
    }

private:
    sqlite3* db_ = nullptr;
    bool locked_ = false;
};

}  // namespace pelliwig::testing
