// Profiles, configuration rows and key assignments.

#include "store/KeyboardDatabase.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/StoreQuery.h"

#include <utility>

namespace kovrin {

using namespace store_detail;

namespace {

void CopyProfile(const SQLiteStatement& s, ProfileRow& row) {
    row.profile_id = s.ColumnInt(0);
    row.name = s.ColumnText(1);
    row.status = s.ColumnInt(2);
    row.app = s.ColumnText(3);
    row.type = s.ColumnInt(4);
}

void CopyAssignment(const SQLiteStatement& s, KeyAssignment& row) {
    row.key_id = s.ColumnInt(0);
    row.profile = s.ColumnInt(1);
    row.fn_layer = s.ColumnInt(2);
    row.key_code = s.ColumnInt(3);
    row.layout_value = s.ColumnInt(4);
    row.layout_desc = s.ColumnText(5);
    row.macro_type = s.ColumnInt(6);
    row.macro_value = s.ColumnInt(7);
    row.macro_value2 = s.ColumnInt(8);
    row.macro_value3 = s.ColumnInt(9);
    row.macro_desc = s.ColumnText(10);
}

constexpr std::pair<const char*, const char*> kDefaultConfig[] = {
    {"version", "1.0.1"},    {"keyboard_layout", "1"}, {"fn_layer", "0"},        {"lightmode", "1"},
    {"sleep_light", "1"},    {"userlight", "0"},       {"customlight_run", "0"}, {"gamemode", "0"},
    {"disable_alttab", "0"}, {"disable_altf4", "0"},   {"disable_win", "0"},
};

} // namespace

int KeyboardDatabase::AddProfile(const ProfileRow& row) {
    Lock lock(mutex_);
    return Insert(db_, "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);",
                  {row.name, 0, row.app, 0});
}

bool KeyboardDatabase::DeleteProfile(int profile) {
    Lock lock(mutex_);
    SQLiteAutoTransaction transaction(db_);
    for (const char* sql : {"DELETE FROM t_profile_data WHERE profile = ?",
                            "DELETE FROM t_key_macro_data WHERE profile = ?",
                            "DELETE FROM t_light_data WHERE profile = ?"}) {
        if (!transaction.IsActive() || !WriteSucceeded(Write(db_, sql, {profile}))) {
            return false;
        }
    }
    return transaction.Commit();
}

bool KeyboardDatabase::RenameProfile(int profile, std::string_view name) {
    Lock lock(mutex_);
    return WriteChangesRows(db_, "UPDATE t_profile_data SET name = ? WHERE profile = ?",
                            {name, profile});
}

bool KeyboardDatabase::GetProfileName(int profile, std::string& name) {
    Lock lock(mutex_);
    name.clear();
    return Read(db_, "SELECT name FROM t_profile_data WHERE profile = ?", {profile}, true,
                [&](const SQLiteStatement& s) { name = s.ColumnText(0); }) == 1;
}

int KeyboardDatabase::LoadProfiles(std::vector<ProfileRow>& rows) {
    Lock lock(mutex_);
    rows.clear();
    return Read(db_, "SELECT * FROM t_profile_data", {}, false,
                [&](const SQLiteStatement& s) { CopyProfile(s, rows.emplace_back()); });
}

bool KeyboardDatabase::SetActiveProfile(int profile) {
    Lock lock(mutex_);
    SQLiteAutoTransaction transaction(db_);
    if (!transaction.IsActive() ||
        !WriteSucceeded(Write(db_, "UPDATE t_profile_data SET status = ?", {0})) ||
        !WriteChangesRows(db_, "UPDATE t_profile_data SET status = ? WHERE profile = ?",
                          {1, profile})) {
        return false;
    }
    return transaction.Commit();
}

int KeyboardDatabase::GetActiveProfile() {
    Lock lock(mutex_);
    return ReadInt(db_, "SELECT profile FROM t_profile_data WHERE status = ?", {1}, 0);
}

bool KeyboardDatabase::AddDefaultConfig() {
    Lock lock(mutex_);
    SQLiteAutoTransaction transaction(db_);
    SQLiteStatement statement;
    if (!transaction.IsActive() ||
        db_.Prepare(statement, "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);",
                    -1) != kSQLiteOk) {
        return false;
    }
    for (const auto& [key, value] : kDefaultConfig) {
        statement.Reset();
        if (BindAll(statement, {1, key, value}) != kSQLiteOk || !WriteSucceeded(statement.Step())) {
            return false;
        }
    }
    statement.Finalize();
    return transaction.Commit();
}

int KeyboardDatabase::SaveKeyAssignment(const KeyAssignment& a) {
    if (a.key_code == 0) {
        return 0;
    }
    Lock lock(mutex_);
    SQLiteAutoTransaction transaction(db_);
    if (!transaction.IsActive() ||
        !WriteSucceeded(Write(db_,
                              "DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? "
                              "and key_code = ?",
                              {a.profile, a.fn_layer, a.key_code}))) {
        return 0;
    }
    int id = 0;
    if (a.macro_value != 0 || a.macro_value2 != 0) {
        id = Insert(db_,
                    "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, "
                    "layout_desc, macro_type, macro_value, macro_value2, macro_value3, "
                    "macro_desc) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
                    {a.profile, a.fn_layer, a.key_code, a.layout_value, a.layout_desc, a.macro_type,
                     a.macro_value, a.macro_value2, a.macro_value3, a.macro_desc});
        if (id == 0) {
            return 0;
        }
    }
    return transaction.Commit() ? id : 0;
}

bool KeyboardDatabase::GetKeyAssignment(int profile, int fn_layer, int key_code,
                                        KeyAssignment& assignment) {
    Lock lock(mutex_);
    return Read(db_,
                "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and "
                "key_code = ?",
                {profile, fn_layer, key_code}, true,
                [&](const SQLiteStatement& s) { CopyAssignment(s, assignment); }) == 1;
}

int KeyboardDatabase::LoadKeyAssignments(int profile, int fn_layer,
                                         std::vector<KeyAssignment>& rows) {
    Lock lock(mutex_);
    rows.clear();
    return Read(db_, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?",
                {profile, fn_layer}, false,
                [&](const SQLiteStatement& s) { CopyAssignment(s, rows.emplace_back()); });
}

bool KeyboardDatabase::DeleteKeyAssignment(int profile, int fn_layer, int key_code) {
    Lock lock(mutex_);
    return WriteSucceeded(Write(
        db_, "DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
        {profile, fn_layer, key_code}));
}

bool KeyboardDatabase::DeleteProfileKeys(int profile) {
    Lock lock(mutex_);
    return WriteSucceeded(Write(db_, "DELETE FROM t_key_macro_data WHERE profile = ?", {profile}));
}

int KeyboardDatabase::AddKeyOther(std::string_view macro_desc, std::string_view param, int type) {
    Lock lock(mutex_);
    return Insert(db_, "INSERT INTO t_key_otherdata(macro_desc, param, type) VALUES (?, ?, ?);",
                  {macro_desc, param, type});
}

bool KeyboardDatabase::GetKeyOther(int id, KeyOtherRow& row) {
    Lock lock(mutex_);
    return Read(db_, "SELECT macro_desc, param, type FROM t_key_otherdata WHERE macro_value = ?",
                {id}, true, [&](const SQLiteStatement& s) {
                    row.id = id;
                    row.macro_desc = s.ColumnText(0);
                    row.param = s.ColumnText(1);
                    row.type = s.ColumnInt(2);
                }) == 1;
}

} // namespace kovrin
