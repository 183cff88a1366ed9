#pragma once
// A write transaction that rolls back unless committed.

#include "store/SQLiteDB.h"

namespace kovrin {

class SQLiteAutoTransaction {
public:
    // Begins at once when the database has a connection.
    explicit SQLiteAutoTransaction(SQLiteDB& db);
    SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
    SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;
    virtual ~SQLiteAutoTransaction();

    // True between a successful begin and the commit or rollback.
    bool IsActive() const { return active_; }
    // False when nothing is active or the commit failed; after a failed commit
    // the transaction is rolled back.
    bool Commit();
    bool Rollback();

private:
    SQLiteDB& db_;
    bool active_ = false;
};

} // namespace kovrin
