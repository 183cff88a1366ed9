#pragma once
// The few shapes every record operation of the store takes: prepare one
// statement, bind its parameters in order, step, copy columns. The caller
// holds the store's lock.

#include "store/SQLiteDB.h"
#include "store/SQLiteStatement.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace kovrin::store_detail {

// One positional parameter: a number or a UTF-8 text.
class SqlParam {
public:
    SqlParam(int number) : is_text_(false), number_(number) {}
    SqlParam(std::string_view text) : is_text_(true), text_(text) {}
    SqlParam(const std::string& text) : is_text_(true), text_(text) {}
    SqlParam(const char* text) : is_text_(true), text_(text) {}

    int BindTo(SQLiteStatement& statement, int index) const {
        return is_text_ ? statement.BindText(index, text_) : statement.BindInt(index, number_);
    }

private:
    bool is_text_;
    int number_ = 0;
    std::string_view text_;
};

using SqlParams = std::initializer_list<SqlParam>;

// Prepares the statement and binds the parameters; the first failing result,
// or SQLITE_OK.
int PrepareAndBind(SQLiteDB& db, SQLiteStatement& statement, const char* sql, SqlParams params);
// Binds the parameters to an already prepared statement.
int BindAll(SQLiteStatement& statement, SqlParams params);

// Runs one statement to its end; the step's result, or the failing prepare's.
int Write(SQLiteDB& db, const char* sql, SqlParams params);
// A write that must change at least one row.
bool WriteChangesRows(SQLiteDB& db, const char* sql, SqlParams params);
// An INSERT; the new row id, or 0 on failure or when the id does not fit in
// the 32-bit ids callers keep.
int Insert(SQLiteDB& db, const char* sql, SqlParams params);
int NarrowRowId(long long id);

// Runs a query and calls copy(statement) for each row (at most one when
// first_only); the number of rows copied.
template <typename Copy>
int Read(SQLiteDB& db, const char* sql, SqlParams params, bool first_only, Copy copy) {
    SQLiteStatement statement;
    if (PrepareAndBind(db, statement, sql, params) != kSQLiteOk) {
        return 0;
    }
    int count = 0;
    while (statement.Step() == kSQLiteRow) {
        copy(statement);
        ++count;
        if (first_only) {
            break;
        }
    }
    return count;
}

// First column of the first row as a number; fallback when there is none.
int ReadInt(SQLiteDB& db, const char* sql, SqlParams params, int fallback);

} // namespace kovrin::store_detail
