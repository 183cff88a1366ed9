// Macros and their records.

#include "store/KeyboardDatabase.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/StoreQuery.h"

namespace kovrin {

using namespace store_detail;

namespace {

constexpr const char* kInsertMacro =
    "INSERT INTO t_macro_data(play_times, delay_type, delay_time, link_count, name) VALUES "
    "(?, ?, ?, ?, ?);";
constexpr const char* kInsertRecord =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) VALUES "
    "(?, ?, ?, ?, ?, ?);";
constexpr const char* kSelectRecords =
    "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC";
constexpr int kDelayRecordType = 1;

void CopyMacro(const SQLiteStatement& s, MacroRow& row) {
    row.macro_id = s.ColumnInt(0);
    row.play_times = s.ColumnInt(1);
    row.delay_type = s.ColumnInt(2);
    row.delay_time = s.ColumnInt(3);
    row.link_count = s.ColumnInt(4);
    row.name = s.ColumnText(5);
}

void CopyRecord(const SQLiteStatement& s, MacroRecordRow& row) {
    row.record_id = s.ColumnInt(0);
    row.macro_id = s.ColumnInt(1);
    row.type = s.ColumnInt(2);
    row.record_index = s.ColumnInt(3);
    row.desc = s.ColumnText(4);
    row.value = s.ColumnInt(5);
    row.delay_time = s.ColumnInt(6);
}

} // namespace

int KeyboardDatabase::AddMacro(std::string_view name) {
    Lock lock(mutex_);
    return Insert(db_, kInsertMacro, {1, 1, 0, 0, name});
}

int KeyboardDatabase::InsertMacro(const MacroRow& row) {
    Lock lock(mutex_);
    return Insert(db_, kInsertMacro,
                  {row.play_times, row.delay_type, row.delay_time, row.link_count, row.name});
}

bool KeyboardDatabase::RenameMacro(int macro_id, std::string_view name) {
    Lock lock(mutex_);
    return WriteChangesRows(db_, "UPDATE t_macro_data SET name = ? WHERE macro_id = ?",
                            {name, macro_id});
}

bool KeyboardDatabase::UpdateMacroPlay(const MacroRow& row) {
    Lock lock(mutex_);
    return WriteChangesRows(
        db_,
        "UPDATE t_macro_data SET play_times = ?, delay_type = ?, delay_time = ? WHERE "
        "macro_id = ?",
        {row.play_times, row.delay_type, row.delay_time, row.macro_id});
}

bool KeyboardDatabase::DeleteMacro(int macro_id) {
    Lock lock(mutex_);
    SQLiteAutoTransaction transaction(db_);
    if (!transaction.IsActive() ||
        !WriteSucceeded(Write(db_, "DELETE FROM t_macro_data WHERE macro_id = ?", {macro_id})) ||
        !WriteSucceeded(Write(db_, "DELETE FROM t_macrorecord WHERE macro_id = ?", {macro_id})) ||
        !WriteSucceeded(Write(db_,
                              "DELETE FROM t_key_macro_data WHERE macro_type = ? and "
                              "macro_value = ?",
                              {kMacroFunctionType, macro_id}))) {
        return false;
    }
    return transaction.Commit();
}

bool KeyboardDatabase::GetMacroPlayTimes(int macro_id, int& play_times) {
    Lock lock(mutex_);
    return Read(db_, "SELECT play_times FROM t_macro_data WHERE macro_id = ?", {macro_id}, true,
                [&](const SQLiteStatement& s) { play_times = s.ColumnInt(0); }) == 1;
}

bool KeyboardDatabase::GetMacro(int macro_id, MacroRow& row) {
    Lock lock(mutex_);
    return Read(db_, "SELECT * FROM t_macro_data WHERE macro_id = ?", {macro_id}, true,
                [&](const SQLiteStatement& s) { CopyMacro(s, row); }) == 1;
}

int KeyboardDatabase::LoadMacros(std::vector<MacroRow>& rows) {
    Lock lock(mutex_);
    rows.clear();
    return Read(db_, "SELECT * FROM t_macro_data", {}, false,
                [&](const SQLiteStatement& s) { CopyMacro(s, rows.emplace_back()); });
}

int KeyboardDatabase::AddMacroRecord(const MacroRecordRow& r) {
    Lock lock(mutex_);
    return Insert(db_, kInsertRecord,
                  {r.macro_id, r.type, r.record_index, r.desc, r.value, r.delay_time});
}

int KeyboardDatabase::AddMacroRecords(const std::vector<MacroRecordRow>& rows) {
    if (rows.empty()) {
        return 0;
    }
    Lock lock(mutex_);
    SQLiteAutoTransaction transaction(db_);
    SQLiteStatement statement;
    if (!transaction.IsActive() || db_.Prepare(statement, kInsertRecord, -1) != kSQLiteOk) {
        return 0;
    }
    for (const auto& r : rows) {
        statement.Reset();
        if (BindAll(statement, {r.macro_id, r.type, r.record_index, r.desc, r.value,
                                r.delay_time}) != kSQLiteOk ||
            !WriteSucceeded(statement.Step())) {
            return 0;
        }
    }
    statement.Finalize();
    return transaction.Commit() ? static_cast<int>(rows.size()) : 0;
}

int KeyboardDatabase::LoadMacroRecords(int macro_id, std::vector<MacroRecordRow>& rows) {
    Lock lock(mutex_);
    rows.clear();
    return Read(db_, kSelectRecords, {macro_id}, false,
                [&](const SQLiteStatement& s) { CopyRecord(s, rows.emplace_back()); });
}

bool KeyboardDatabase::DeleteMacroRecords(int macro_id) {
    Lock lock(mutex_);
    return WriteSucceeded(Write(db_, "DELETE FROM t_macrorecord WHERE macro_id = ?", {macro_id}));
}

int KeyboardDatabase::CountMacroActions(int macro_id) {
    Lock lock(mutex_);
    int actions = 0;
    Read(db_, kSelectRecords, {macro_id}, false, [&](const SQLiteStatement& s) {
        if (s.ColumnInt(2) != kDelayRecordType) {
            ++actions;
        }
    });
    return actions;
}

} // namespace kovrin
