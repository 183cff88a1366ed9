#include "store/SQLiteDB.h"

#include "store/SQLiteStatement.h"

#include <sqlite3.h>

#include <cstring>

namespace kovrin {
namespace {

constexpr int kBusyTimeoutMs = 2000;

// Text of a one-column query on the connection; empty on failure.
std::string QueryText(sqlite3* db, const char* sql, int* result) {
    sqlite3_stmt* stmt = nullptr;
    *result = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    std::string text;
    if (*result == SQLITE_OK) {
        *result = sqlite3_step(stmt);
        if (*result == SQLITE_ROW) {
            const auto* value = sqlite3_column_text(stmt, 0);
            text = value ? reinterpret_cast<const char*>(value) : "";
            *result = SQLITE_OK;
        }
    }
    sqlite3_finalize(stmt);
    return text;
}

} // namespace

SQLiteDB::~SQLiteDB() {
    if (db_ != nullptr) {
        sqlite3_interrupt(db_);
        if (sqlite3_close(db_) != SQLITE_OK) {
            sqlite3_close_v2(db_);
        }
        db_ = nullptr;
    }
}

void SQLiteDB::RememberError(sqlite3* db, int code) {
    open_error_code_ = code;
    open_error_ = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
}

bool SQLiteDB::Open(const char* path, int flags) {
    if (db_ != nullptr) {
        sqlite3_interrupt(db_);
        Close();
    }
    open_error_code_ = SQLITE_OK;
    open_error_.clear();
    if (path == nullptr) {
        RememberError(nullptr, SQLITE_MISUSE);
        return false;
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path, &db, flags, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(db, 0);
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        // The first read of the file: a file that is not a database fails here.
        const std::string mode = QueryText(db, "PRAGMA journal_mode = WAL", &rc);
        if (rc == SQLITE_OK && sqlite3_db_readonly(db, "main") == 1) {
            rc = SQLITE_READONLY;
            open_error_ = "attempt to write a readonly database";
        }
        if (rc == SQLITE_OK) {
            // In a write-ahead log a killed process loses at most its open
            // transaction with NORMAL; a rollback journal needs FULL for that.
            rc = sqlite3_exec(
                db, mode == "wal" ? "PRAGMA synchronous = NORMAL" : "PRAGMA synchronous = FULL",
                nullptr, nullptr, nullptr);
        }
    }
    if (rc != SQLITE_OK) {
        if (open_error_.empty()) {
            RememberError(db, rc);
        }
        open_error_code_ = rc;
        sqlite3_close_v2(db);
        return false;
    }
    db_ = db;
    return true;
}

bool SQLiteDB::Close() {
    if (db_ == nullptr) {
        return true;
    }
    if (sqlite3_close(db_) != SQLITE_OK) {
        return false;
    }
    db_ = nullptr;
    return true;
}

int SQLiteDB::Exec(const char* sql) {
    if (db_ == nullptr || sql == nullptr) {
        return SQLITE_MISUSE;
    }
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

int SQLiteDB::Prepare(SQLiteStatement& statement, const char* sql, int length) {
    statement.Finalize();
    if (db_ == nullptr || sql == nullptr) {
        return SQLITE_MISUSE;
    }
    if (length < 0) {
        length = static_cast<int>(std::strlen(sql)) + 1;
    }
    return sqlite3_prepare_v2(db_, sql, length, &statement.stmt_, nullptr);
}

std::int64_t SQLiteDB::LastInsertRowId() const {
    return db_ != nullptr ? sqlite3_last_insert_rowid(db_) : -1;
}

int SQLiteDB::Changes() const {
    return db_ != nullptr ? sqlite3_changes(db_) : 0;
}

int SQLiteDB::ErrorCode() const {
    return db_ != nullptr ? sqlite3_errcode(db_) : open_error_code_;
}

std::string SQLiteDB::ErrorMessage() const {
    return db_ != nullptr ? sqlite3_errmsg(db_) : open_error_;
}

} // namespace kovrin
