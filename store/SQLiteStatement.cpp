#include "store/SQLiteStatement.h"

#include <sqlite3.h>

#include <limits>

namespace kovrin {

SQLiteStatement::~SQLiteStatement() {
    Finalize();
}

int SQLiteStatement::Finalize() {
    if (stmt_ == nullptr) {
        return SQLITE_OK;
    }
    // sqlite3_finalize releases the handle whatever it answers (the answer
    // repeats the last step's error), so it is never finalised twice.
    const int rc = sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    reset_ = 1;
    return rc;
}

int SQLiteStatement::Reset() {
    if (stmt_ == nullptr) {
        return SQLITE_MISUSE;
    }
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    reset_ = 1;
    return SQLITE_OK;
}

int SQLiteStatement::BindInt(int index, int value) {
    if (stmt_ == nullptr) {
        return SQLITE_MISUSE;
    }
    return sqlite3_bind_int(stmt_, index, value);
}

int SQLiteStatement::BindText(int index, std::string_view utf8) {
    if (stmt_ == nullptr) {
        return SQLITE_MISUSE;
    }
    if (utf8.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return SQLITE_TOOBIG;
    }
    // A non-null pointer even for the empty text, so it is stored as '' and
    // not as NULL.
    return sqlite3_bind_text(stmt_, index, utf8.empty() ? "" : utf8.data(),
                             static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

int SQLiteStatement::Step() {
    if (stmt_ == nullptr) {
        return SQLITE_MISUSE;
    }
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_DONE) {
        reset_ = 1;
    } else if (rc == SQLITE_ROW) {
        reset_ = 0;
    }
    return rc;
}

int SQLiteStatement::ColumnInt(int column) const {
    return stmt_ != nullptr ? sqlite3_column_int(stmt_, column) : 0;
}

std::string SQLiteStatement::ColumnText(int column) const {
    if (stmt_ == nullptr) {
        return {};
    }
    const auto* text = sqlite3_column_text(stmt_, column);
    if (text == nullptr) {
        return {};
    }
    const int bytes = sqlite3_column_bytes(stmt_, column);
    return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes));
}

} // namespace kovrin
