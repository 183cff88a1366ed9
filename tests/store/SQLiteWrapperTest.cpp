#include "store/SQLiteAutoTransaction.h"
#include "store/SQLiteDB.h"
#include "store/SQLiteStatement.h"
#include "tests/store/StoreTestSupport.h"

#include <gtest/gtest.h>

using namespace kovrin;
using namespace kovrin::test;

namespace {

constexpr int kCreate = kOpenReadWrite | kOpenCreate | kOpenFullMutex;

int CountRows(SQLiteDB& db, const char* table) {
    SQLiteStatement statement;
    const std::string sql = std::string("SELECT count(*) FROM ") + table;
    if (db.Prepare(statement, sql.c_str()) != kSQLiteOk || statement.Step() != kSQLiteRow) {
        return -1;
    }
    return statement.ColumnInt(0);
}

TEST(SQLiteWrapper, WithoutAConnectionEverythingAnswersMisuse) {
    SQLiteDB db;
    SQLiteStatement statement;
    EXPECT_FALSE(db.IsOpen());
    EXPECT_TRUE(db.Close());
    EXPECT_FALSE(db.Open(nullptr, kCreate));
    EXPECT_EQ(db.Exec("SELECT 1"), kSQLiteMisuse);
    EXPECT_EQ(db.Prepare(statement, "SELECT 1"), kSQLiteMisuse);
    EXPECT_EQ(db.LastInsertRowId(), -1);
    EXPECT_EQ(statement.BindInt(1, 5), kSQLiteMisuse);
    EXPECT_EQ(statement.BindText(1, "x"), kSQLiteMisuse);
    EXPECT_EQ(statement.Step(), kSQLiteMisuse);
    EXPECT_EQ(statement.ColumnInt(0), 0);
    EXPECT_EQ(statement.ColumnText(0), "");
    SQLiteAutoTransaction transaction(db);
    EXPECT_FALSE(transaction.IsActive());
    EXPECT_FALSE(transaction.Commit());
}

TEST(SQLiteWrapper, ALiveStatementKeepsTheConnectionUntilFinalised) {
    TempDataFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.Open((folder.path() + "w.db").c_str(), kCreate));
    SQLiteStatement statement;
    ASSERT_EQ(db.Prepare(statement, "SELECT 7, 'seven', NULL"), kSQLiteOk);
    EXPECT_EQ(statement.ResetFlag(), 1);
    ASSERT_EQ(statement.Step(), kSQLiteRow);
    EXPECT_EQ(statement.ResetFlag(), 0);
    EXPECT_EQ(statement.ColumnInt(0), 7);
    EXPECT_EQ(statement.ColumnText(1), "seven");
    EXPECT_EQ(statement.ColumnText(2), "");
    EXPECT_EQ(statement.Step(), kSQLiteDone);
    EXPECT_EQ(statement.ResetFlag(), 1);

    EXPECT_FALSE(db.Close());
    EXPECT_TRUE(db.IsOpen());
    statement.Finalize();
    EXPECT_FALSE(statement.IsPrepared());
    EXPECT_TRUE(db.Close());
    EXPECT_FALSE(db.IsOpen());
}

TEST(SQLiteWrapper, TransactionRollsBackUnlessCommitted) {
    TempDataFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.Open((folder.path() + "t.db").c_str(), kCreate));
    ASSERT_EQ(db.Exec("CREATE TABLE t (v INTEGER)"), kSQLiteOk);
    {
        SQLiteAutoTransaction transaction(db);
        ASSERT_TRUE(transaction.IsActive());
        ASSERT_EQ(db.Exec("INSERT INTO t VALUES (1)"), kSQLiteOk);
        // A second transaction cannot start inside the first.
        SQLiteAutoTransaction nested(db);
        EXPECT_FALSE(nested.IsActive());
    }
    EXPECT_EQ(CountRows(db, "t"), 0);
    {
        SQLiteAutoTransaction transaction(db);
        ASSERT_EQ(db.Exec("INSERT INTO t VALUES (2)"), kSQLiteOk);
        EXPECT_TRUE(transaction.Commit());
        EXPECT_FALSE(transaction.IsActive());
        EXPECT_FALSE(transaction.Commit());
    }
    EXPECT_EQ(CountRows(db, "t"), 1);
    EXPECT_EQ(db.LastInsertRowId(), 1);
}

TEST(SQLiteWrapper, TextsAreStoredAsGivenIncludingEmpty) {
    TempDataFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.Open((folder.path() + "x.db").c_str(), kCreate));
    ASSERT_EQ(db.Exec("CREATE TABLE t (v TEXT)"), kSQLiteOk);
    const std::string texts[] = {"", "plain", "\xF0\x9F\x98\x80 \xE4\xB8\xAD"};
    for (const auto& text : texts) {
        SQLiteStatement insert;
        ASSERT_EQ(db.Prepare(insert, "INSERT INTO t VALUES (?)"), kSQLiteOk);
        {
            std::string temporary = text; // the bound text need not outlive the bind
            ASSERT_EQ(insert.BindText(1, temporary), kSQLiteOk);
        }
        ASSERT_EQ(insert.Step(), kSQLiteDone);
    }
    SQLiteStatement select;
    ASSERT_EQ(db.Prepare(select, "SELECT v, typeof(v) FROM t ORDER BY rowid"), kSQLiteOk);
    for (const auto& text : texts) {
        ASSERT_EQ(select.Step(), kSQLiteRow);
        EXPECT_EQ(select.ColumnText(0), text);
        EXPECT_EQ(select.ColumnText(1), "text");
    }
}

TEST(SQLiteWrapper, OpenRefusesAFileThatIsNotADatabaseAndLeavesItAlone) {
    TempDataFolder folder;
    const std::string path = folder.path() + "junk.db";
    const std::string junk(8192, 'J');
    WriteBytes(path, junk);
    SQLiteDB db;
    EXPECT_FALSE(db.Open(path.c_str(), kOpenReadWrite | kOpenFullMutex));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.ErrorCode(), 26); // SQLITE_NOTADB
    EXPECT_FALSE(db.ErrorMessage().empty());
    EXPECT_EQ(ReadBytes(path), junk);
}

TEST(SQLiteWrapper, ConnectionsWriteThroughALog) {
    TempDataFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.Open((folder.path() + "l.db").c_str(), kCreate));
    SQLiteStatement statement;
    ASSERT_EQ(db.Prepare(statement, "PRAGMA journal_mode"), kSQLiteOk);
    ASSERT_EQ(statement.Step(), kSQLiteRow);
    EXPECT_EQ(statement.ColumnText(0), "wal");
    ASSERT_EQ(db.Prepare(statement, "PRAGMA synchronous"), kSQLiteOk);
    ASSERT_EQ(statement.Step(), kSQLiteRow);
    EXPECT_EQ(statement.ColumnInt(0), 1); // NORMAL
}

} // namespace
