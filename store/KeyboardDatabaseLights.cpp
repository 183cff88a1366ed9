// Light modes, per-key colours and the music layer.

#include "store/KeyboardDatabase.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/StoreQuery.h"

namespace kovrin {

using namespace store_detail;

namespace {

constexpr const char* kInsertKeyLight =
    "INSERT INTO t_key_light_data(profile, light_id, key_code, key_rgb) VALUES (?, ?, ?, ?);";
constexpr int kMusicProfile = 1;
constexpr int kMusicLayerId = 1;

void CopyLight(const SQLiteStatement& s, LightRow& row) {
    row.light_id = s.ColumnInt(0);
    row.profile = s.ColumnInt(1);
    row.name = s.ColumnText(2);
    row.mode = s.ColumnInt(3);
    row.brightness = s.ColumnInt(4);
    row.speed = s.ColumnInt(5);
    row.direction = s.ColumnInt(6);
    row.colorful = s.ColumnInt(7);
    row.colorindex = s.ColumnInt(8);
    row.color_value = s.ColumnInt(9);
    row.config_func = s.ColumnInt(10);
    row.reserved = s.ColumnInt(11);
    row.status = s.ColumnInt(12);
}

void CopyKeyLight(const SQLiteStatement& s, KeyLightRow& row) {
    row.keylight_id = s.ColumnInt(0);
    row.profile = s.ColumnInt(1);
    row.light_id = s.ColumnInt(2);
    row.key_code = s.ColumnInt(3);
    row.key_rgb = s.ColumnInt(4);
}

// Inserts every row with one prepared statement; false at the first failure.
bool InsertKeyLights(SQLiteDB& db, const std::vector<KeyLightRow>& rows) {
    SQLiteStatement statement;
    if (db.Prepare(statement, kInsertKeyLight, -1) != kSQLiteOk) {
        return false;
    }
    for (const auto& r : rows) {
        statement.Reset();
        if (BindAll(statement, {r.profile, r.light_id, r.key_code, r.key_rgb}) != kSQLiteOk ||
            !WriteSucceeded(statement.Step())) {
            return false;
        }
    }
    return true;
}

} // namespace

int KeyboardDatabase::CountLights(int profile) {
    Lock lock(mutex_);
    return ReadInt(db_, "select count(*) FROM t_light_data WHERE profile = ?", {profile}, 0);
}

int KeyboardDatabase::AddLight(const LightRow& r) {
    Lock lock(mutex_);
    return Insert(db_,
                  "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, "
                  "colorful, colorindex, color_value, config_func, reserved, status) VALUES (?, "
                  "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
                  {r.profile, r.name, r.mode, r.brightness, r.speed, r.direction, r.colorful,
                   r.colorindex, r.color_value, r.config_func, r.reserved, r.status});
}

bool KeyboardDatabase::UpdateLight(int profile, int mode, const LightRow& r) {
    Lock lock(mutex_);
    return WriteChangesRows(db_,
                            "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, "
                            "colorful = ?, colorindex = ?, color_value = ?, config_func = ?, "
                            "reserved = ? WHERE profile = ? AND mode = ?",
                            {r.brightness, r.speed, r.direction, r.colorful, r.colorindex,
                             r.color_value, r.config_func, r.reserved, profile, mode});
}

bool KeyboardDatabase::SetActiveLight(int profile, int mode) {
    Lock lock(mutex_);
    SQLiteAutoTransaction transaction(db_);
    if (!transaction.IsActive() ||
        !WriteSucceeded(Write(db_, "UPDATE t_light_data SET status = ?", {0})) ||
        !WriteChangesRows(db_, "UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?",
                          {1, profile, mode})) {
        return false;
    }
    return transaction.Commit();
}

int KeyboardDatabase::GetActiveLightMode(int profile) {
    Lock lock(mutex_);
    return ReadInt(db_, "SELECT mode FROM t_light_data WHERE profile = ? and status = ?",
                   {profile, 1}, 0);
}

bool KeyboardDatabase::GetLight(int profile, int mode, LightRow& row) {
    Lock lock(mutex_);
    return Read(db_, "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?", {profile, mode},
                true, [&](const SQLiteStatement& s) { CopyLight(s, row); }) == 1;
}

int KeyboardDatabase::LoadLights(int profile, std::vector<LightRow>& rows) {
    Lock lock(mutex_);
    rows.clear();
    return Read(db_, "SELECT * FROM t_light_data WHERE profile = ?", {profile}, false,
                [&](const SQLiteStatement& s) { CopyLight(s, rows.emplace_back()); });
}

int KeyboardDatabase::AddKeyLights(const std::vector<KeyLightRow>& rows) {
    if (rows.empty()) {
        return 0;
    }
    Lock lock(mutex_);
    SQLiteAutoTransaction transaction(db_);
    if (!transaction.IsActive() || !InsertKeyLights(db_, rows)) {
        return 0;
    }
    return transaction.Commit() ? static_cast<int>(rows.size()) : 0;
}

bool KeyboardDatabase::DeleteCustomKeyLights() {
    Lock lock(mutex_);
    return WriteSucceeded(
        Write(db_, "DELETE FROM t_key_light_data WHERE light_id = ?", {kCustomLightId}));
}

bool KeyboardDatabase::ReplaceCustomKeyLights(const std::vector<KeyLightRow>& rows) {
    Lock lock(mutex_);
    SQLiteAutoTransaction transaction(db_);
    if (!transaction.IsActive() ||
        !WriteSucceeded(
            Write(db_, "DELETE FROM t_key_light_data WHERE light_id = ?", {kCustomLightId})) ||
        !InsertKeyLights(db_, rows)) {
        return false;
    }
    return transaction.Commit();
}

int KeyboardDatabase::LoadKeyLights(int light_id, std::vector<KeyLightRow>& rows) {
    Lock lock(mutex_);
    rows.clear();
    return Read(db_, "SELECT * FROM t_key_light_data WHERE light_id = ?", {light_id}, false,
                [&](const SQLiteStatement& s) { CopyKeyLight(s, rows.emplace_back()); });
}

int KeyboardDatabase::CountMusicLayers() {
    Lock lock(mutex_);
    return ReadInt(db_, "select count(*) FROM t_musiclayer_data WHERE profile = ?", {kMusicProfile},
                   0);
}

int KeyboardDatabase::AddMusicLayer(std::string_view name, int foremode) {
    Lock lock(mutex_);
    return Insert(db_,
                  "INSERT INTO t_musiclayer_data(profile, name, deviceindex, foremode, "
                  "fore_amplitude, backmode, backb_right, sel) VALUES (?, ?, ?, ?, ?, ?, ?, ?);",
                  {kMusicProfile, name, 0, foremode, 300, 0, 100, 0});
}

bool KeyboardDatabase::GetMusicLayer(int layer_id, MusicLayerRow& row) {
    Lock lock(mutex_);
    return Read(db_, "SELECT * FROM t_musiclayer_data WHERE layer_id = ?", {layer_id}, true,
                [&](const SQLiteStatement& s) {
                    row.layer_id = s.ColumnInt(0);
                    row.profile = s.ColumnInt(1);
                    row.name = s.ColumnText(2);
                    row.deviceindex = s.ColumnInt(3);
                    row.foremode = s.ColumnInt(4);
                    row.fore_amplitude = s.ColumnInt(5);
                    row.backmode = s.ColumnInt(6);
                    row.backb_right = s.ColumnInt(7);
                }) == 1;
}

bool KeyboardDatabase::UpdateMusicLayer(const MusicLayerRow& r) {
    Lock lock(mutex_);
    return WriteChangesRows(
        db_,
        "UPDATE t_musiclayer_data SET deviceindex= ?, foremode= ?, "
        "fore_amplitude = ?, backmode= ?, backb_right= ? WHERE layer_id = ?",
        {r.deviceindex, r.foremode, r.fore_amplitude, r.backmode, r.backb_right, kMusicLayerId});
}

bool KeyboardDatabase::SelectMusicLayer() {
    Lock lock(mutex_);
    SQLiteAutoTransaction transaction(db_);
    if (!transaction.IsActive() ||
        !WriteSucceeded(Write(db_, "UPDATE t_musiclayer_data SET sel = ? WHERE profile = ?",
                              {0, kMusicProfile})) ||
        !WriteChangesRows(db_,
                          "UPDATE t_musiclayer_data SET sel = ? WHERE profile = ? AND "
                          "layer_id = ?",
                          {1, kMusicProfile, kMusicLayerId})) {
        return false;
    }
    return transaction.Commit();
}

int KeyboardDatabase::GetSelectedMusicLayer() {
    Lock lock(mutex_);
    return ReadInt(db_, "SELECT layer_id FROM t_musiclayer_data WHERE profile = ? AND sel = ?",
                   {kMusicProfile, 1}, 0);
}

} // namespace kovrin
