#include "store/StoreQuery.h"

#include <limits>

namespace kovrin::store_detail {

int BindAll(SQLiteStatement& statement, SqlParams params) {
    int index = 1;
    for (const auto& param : params) {
        const int rc = param.BindTo(statement, index++);
        if (rc != kSQLiteOk) {
            return rc;
        }
    }
    return kSQLiteOk;
}

int PrepareAndBind(SQLiteDB& db, SQLiteStatement& statement, const char* sql, SqlParams params) {
    const int rc = db.Prepare(statement, sql, -1);
    if (rc != kSQLiteOk) {
        return rc;
    }
    return BindAll(statement, params);
}

int Write(SQLiteDB& db, const char* sql, SqlParams params) {
    SQLiteStatement statement;
    const int rc = PrepareAndBind(db, statement, sql, params);
    if (rc != kSQLiteOk) {
        return rc;
    }
    return statement.Step();
}

bool WriteChangesRows(SQLiteDB& db, const char* sql, SqlParams params) {
    return WriteSucceeded(Write(db, sql, params)) && db.Changes() > 0;
}

int NarrowRowId(long long id) {
    return id > 0 && id <= std::numeric_limits<int>::max() ? static_cast<int>(id) : 0;
}

int Insert(SQLiteDB& db, const char* sql, SqlParams params) {
    if (!WriteSucceeded(Write(db, sql, params))) {
        return 0;
    }
    return NarrowRowId(db.LastInsertRowId());
}

int ReadInt(SQLiteDB& db, const char* sql, SqlParams params, int fallback) {
    int value = fallback;
    Read(db, sql, params, true, [&](const SQLiteStatement& s) { value = s.ColumnInt(0); });
    return value;
}

} // namespace kovrin::store_detail
