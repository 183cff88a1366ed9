#include "store/SQLiteAutoTransaction.h"

namespace kovrin {

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB& db) : db_(db) {
    // IMMEDIATE takes the write lock at once, so a transaction never has to
    // give up half-way because another process started writing first.
    active_ = db_.IsOpen() && db_.Exec("BEGIN IMMEDIATE") == kSQLiteOk;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
    Rollback();
}

bool SQLiteAutoTransaction::Commit() {
    if (!active_) {
        return false;
    }
    if (db_.Exec("COMMIT") != kSQLiteOk) {
        Rollback();
        return false;
    }
    active_ = false;
    return true;
}

bool SQLiteAutoTransaction::Rollback() {
    if (!active_) {
        return false;
    }
    active_ = false;
    return db_.Exec("ROLLBACK") == kSQLiteOk;
}

} // namespace kovrin
