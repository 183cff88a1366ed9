#pragma once
// A prepared statement that finalises itself.

#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace kovrin {

class SQLiteStatement {
public:
    SQLiteStatement() = default;
    SQLiteStatement(const SQLiteStatement&) = delete;
    SQLiteStatement& operator=(const SQLiteStatement&) = delete;
    virtual ~SQLiteStatement();

    // Finalises the handle and clears it; answers the last step's error.
    int Finalize();
    // Rewinds a prepared statement and clears its bindings for another run.
    int Reset();

    // Indexes are 1-based; texts are copied, so the argument need not outlive
    // the step. Without a handle both answer SQLITE_MISUSE.
    int BindInt(int index, int value);
    int BindText(int index, std::string_view utf8);
    int Step();

    // Column indexes are 0-based. Without a handle or row: 0 and "".
    int ColumnInt(int column) const;
    std::string ColumnText(int column) const;

    bool IsPrepared() const { return stmt_ != nullptr; }
    // 1 after construction and after a step that finished the statement.
    int ResetFlag() const { return reset_; }
    sqlite3_stmt* Handle() const { return stmt_; }

private:
    friend class SQLiteDB;

    sqlite3_stmt* stmt_ = nullptr;
    int reset_ = 1;
};

} // namespace kovrin
