#pragma once
// An SQLite connection that closes itself. With SQLiteStatement and
// SQLiteAutoTransaction it is the whole of the store's contact with SQLite.
// Nothing here throws: results are SQLite result codes, bool or plain values.

#include <cstdint>
#include <string>

struct sqlite3;

namespace kovrin {

class SQLiteStatement;

inline constexpr int kSQLiteOk = 0;
inline constexpr int kSQLiteMisuse = 21;
inline constexpr int kSQLiteRow = 100;
inline constexpr int kSQLiteDone = 101;

inline constexpr int kOpenReadWrite = 0x2;
inline constexpr int kOpenCreate = 0x4;
inline constexpr int kOpenFullMutex = 0x10000;

// True for the results a write may end with: OK, ROW or DONE.
inline bool WriteSucceeded(int result) {
    return result == kSQLiteOk || result == kSQLiteRow || result == kSQLiteDone;
}

class SQLiteDB {
public:
    SQLiteDB() = default;
    SQLiteDB(const SQLiteDB&) = delete;
    SQLiteDB& operator=(const SQLiteDB&) = delete;
    // Interrupts and closes a connection that is still open.
    virtual ~SQLiteDB();

    // Closes any current connection, then opens the file with the flags.
    // The connection writes through a write-ahead log, syncing at
    // checkpoints (or fully when the file system cannot keep a log), and
    // waits a while for a lock held by another process. Fails, leaving no
    // connection, when the file cannot be opened, is not a database, or can
    // only be read; ErrorCode and ErrorMessage then say why.
    bool Open(const char* path, int flags);
    // True when nothing is open afterwards; a connection with statements
    // still alive stays open and gives false.
    bool Close();
    bool IsOpen() const { return db_ != nullptr; }

    int Exec(const char* sql);
    // Finalises the statement's previous handle and prepares the text into
    // it. A negative length reads the text up to its terminating zero.
    int Prepare(SQLiteStatement& statement, const char* sql, int length = -1);

    // -1 without a connection.
    std::int64_t LastInsertRowId() const;
    // Rows changed by the last INSERT, UPDATE or DELETE; 0 without a connection.
    int Changes() const;

    // Result code and text of the last failure (also of a failed Open).
    int ErrorCode() const;
    std::string ErrorMessage() const;

    sqlite3* Handle() const { return db_; }

private:
    void RememberError(sqlite3* db, int code);

    sqlite3* db_ = nullptr;
    int open_error_code_ = kSQLiteOk;
    std::string open_error_;
};

} // namespace kovrin
