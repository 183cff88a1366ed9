#include "store/KeyboardDatabase.h"

#include "app/DeviceName.h"
#include "store/SQLiteAutoTransaction.h"

#include <sqlite3.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace kovrin {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxModelNameBytes = 200;
constexpr int kOpenExisting = kOpenReadWrite | kOpenFullMutex;
constexpr int kOpenOrCreate = kOpenReadWrite | kOpenCreate | kOpenFullMutex;

// The whole schema: t_configdata, then each table followed by its index.
// Every statement is harmless on a file that already has the object.
constexpr std::array<const char*, 17> kSchema = {
    "CREATE TABLE IF NOT EXISTS t_configdata (config_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, key TEXT, value TEXT)",
    "CREATE TABLE IF NOT EXISTS t_profile_data (profile INTEGER PRIMARY KEY AUTOINCREMENT, "
    "name TEXT, status INTEGER, app TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS profileindex ON t_profile_data(profile)",
    "CREATE TABLE IF NOT EXISTS t_key_macro_data (key_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, fn_layer INTEGER, key_code INTEGER, layout_value INTEGER, "
    "layout_desc TEXT, macro_type INTEGER, macro_value INTEGER, macro_value2 INTEGER, "
    "macro_value3 INTEGER, macro_desc TEXT)",
    "CREATE INDEX IF NOT EXISTS keyindex ON t_key_macro_data(key_id)",
    "CREATE TABLE IF NOT EXISTS t_key_otherdata (macro_value INTEGER PRIMARY KEY "
    "AUTOINCREMENT, macro_desc TEXT, param TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS otheridindex ON t_key_otherdata(macro_value)",
    "CREATE TABLE IF NOT EXISTS t_macro_data (macro_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "play_times INTEGER, delay_type INTEGER, delay_time INTEGER, link_count INTEGER, "
    "name TEXT)",
    "CREATE INDEX IF NOT EXISTS macroidindex ON t_macro_data(macro_id)",
    "CREATE TABLE IF NOT EXISTS t_macrorecord (record_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_id INTEGER, type INTEGER, record_index INTEGER, desc TEXT, value INTEGER, "
    "delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macrorecordindex ON t_macrorecord(record_id)",
    "CREATE TABLE IF NOT EXISTS t_light_data (light_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, mode INTEGER, brightness INTEGER, speed INTEGER, "
    "direction INTEGER, colorful INTEGER, colorindex INTEGER, color_value INTEGER, "
    "config_func INTEGER, reserved INTEGER, status INTEGER)",
    "CREATE INDEX IF NOT EXISTS lightindex ON t_light_data(light_id)",
    "CREATE TABLE IF NOT EXISTS t_key_light_data (keylight_id INTEGER PRIMARY KEY "
    "AUTOINCREMENT, profile INTEGER, light_id INTEGER, key_code INTEGER, key_rgb INTEGER)",
    "CREATE INDEX IF NOT EXISTS keylightindex ON t_key_light_data(keylight_id)",
    "CREATE TABLE IF NOT EXISTS t_musiclayer_data (layer_id INTEGER PRIMARY KEY "
    "AUTOINCREMENT, profile INTEGER, name TEXT, deviceindex INTEGER, foremode INTEGER, "
    "fore_amplitude INTEGER, backmode INTEGER, backb_right INTEGER, sel INTEGER)",
    "CREATE INDEX IF NOT EXISTS musiclayerindex ON t_musiclayer_data(layer_id)",
};

// Files SQLite keeps beside a database.
constexpr std::array<const char*, 3> kCompanionSuffixes = {"-wal", "-shm", "-journal"};

DatabaseState StateForCode(int code) {
    switch (code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return DatabaseState::kNotADatabase;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
        return DatabaseState::kReadOnly;
    default:
        return DatabaseState::kOpenFailed;
    }
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// An empty file or one that starts like an SQLite database. Anything else is
// kept away from SQLite, which would remove a log beside it when closing.
bool HasDatabaseHeader(const std::string& path) {
    static constexpr char kMagic[] = "SQLite format 3"; // and its terminating zero
    std::ifstream in(path, std::ios::binary);
    char header[sizeof kMagic] = {};
    in.read(header, sizeof header);
    return in.gcount() == 0 || std::memcmp(header, kMagic, sizeof kMagic) == 0;
}

// True when the file reads as an undamaged database. Opened read-only so a
// damaged file is not touched.
bool FileIsIntact(const std::string& path) {
    if (!HasDatabaseHeader(path)) {
        return false;
    }
    sqlite3* db = nullptr;
    bool intact = false;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW) {
            const auto* text = sqlite3_column_text(stmt, 0);
            intact =
                text != nullptr && std::string_view(reinterpret_cast<const char*>(text)) == "ok";
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close_v2(db);
    return intact;
}

std::string UtcStamp() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss time{now - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02u-%02d%02d%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

} // namespace

KeyboardDatabase& KeyboardDatabase::Instance() {
    static KeyboardDatabase instance;
    return instance;
}

KeyboardDatabase::~KeyboardDatabase() {
    Lock lock(mutex_);
    db_.Close();
}

bool KeyboardDatabase::IsSafeModelName(std::string_view model) {
    return IsSafeFolderName(model) && model.size() <= kMaxModelNameBytes;
}

std::optional<std::string> KeyboardDatabase::FilePath(std::string_view data_folder,
                                                      std::string_view model) {
    if (!IsSafeModelName(model)) {
        return std::nullopt;
    }
    std::string path(data_folder);
    if (!path.empty() && path.back() != '/') {
        path.push_back('/');
    }
    path.append("db/").append(model).append("_data_v1.db");
    return path;
}

void KeyboardDatabase::Fail(DatabaseState state, std::string text) {
    state_ = state;
    last_error_ = std::move(text);
}

bool KeyboardDatabase::Open(const std::string& data_folder, const std::string& model) {
    Lock lock(mutex_);
    const auto path = FilePath(data_folder, model);
    if (db_.IsOpen() && path && *path == path_) {
        return true;
    }
    if (!Close()) {
        Fail(DatabaseState::kOpenFailed, "the open database " + path_ + " cannot be closed");
        return false;
    }
    if (!path) {
        Fail(DatabaseState::kBadModelName,
             "the model name \"" + model + "\" cannot name a database file");
        return false;
    }
    path_ = *path;
    const std::string folder = fs::path(path_).parent_path().string();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        Fail(DatabaseState::kNoFolder, "the folder " + folder + " does not exist");
        return false;
    }
    const bool exists = Exists(path_);
    if (exists && !HasDatabaseHeader(path_)) {
        Fail(DatabaseState::kNotADatabase, "cannot open " + path_ + ": file is not a database");
        return false;
    }
    return OpenPath(path_, !exists);
}

bool KeyboardDatabase::CreateSchema() {
    Lock lock(mutex_);
    if (db_.IsOpen()) {
        return ApplySchema();
    }
    if (path_.empty()) {
        Fail(DatabaseState::kOpenFailed, "no database file has been chosen");
        return false;
    }
    return OpenPath(path_, true);
}

bool KeyboardDatabase::OpenPath(const std::string& path, bool create) {
    if (!db_.Open(path.c_str(), create ? kOpenOrCreate : kOpenExisting)) {
        const int code = db_.ErrorCode();
        Fail(StateForCode(code), "cannot open " + path + ": " + db_.ErrorMessage());
        return false;
    }
    if (!ApplySchema()) {
        const int code = db_.ErrorCode();
        Fail(code == SQLITE_OK ? DatabaseState::kOpenFailed : StateForCode(code),
             "cannot create the tables of " + path + ": " + db_.ErrorMessage());
        db_.Close();
        return false;
    }
    state_ = DatabaseState::kOpen;
    last_error_.clear();
    return true;
}

bool KeyboardDatabase::ApplySchema() {
    SQLiteAutoTransaction transaction(db_);
    if (!transaction.IsActive()) {
        return false;
    }
    for (const char* statement : kSchema) {
        if (db_.Exec(statement) != kSQLiteOk) {
            return false;
        }
    }
    return transaction.Commit();
}

bool KeyboardDatabase::Close() {
    Lock lock(mutex_);
    if (!db_.Close()) {
        return false;
    }
    if (state_ == DatabaseState::kOpen) {
        state_ = DatabaseState::kClosed;
    }
    return true;
}

bool KeyboardDatabase::DeleteFile(const std::string& data_folder, const std::string& model) {
    Lock lock(mutex_);
    const auto path = FilePath(data_folder, model);
    if (db_.IsOpen() || !path) {
        return false;
    }
    std::error_code ec;
    fs::remove(*path, ec);
    if (Exists(*path)) {
        // The log may hold committed rows of the file that stays.
        return false;
    }
    for (const char* suffix : kCompanionSuffixes) {
        fs::remove(*path + suffix, ec);
    }
    return true;
}

bool KeyboardDatabase::IsOpen() const {
    Lock lock(mutex_);
    return db_.IsOpen();
}

DatabaseState KeyboardDatabase::State() const {
    Lock lock(mutex_);
    return state_;
}

std::string KeyboardDatabase::LastError() const {
    Lock lock(mutex_);
    return last_error_;
}

std::string KeyboardDatabase::path() const {
    Lock lock(mutex_);
    return path_;
}

bool KeyboardDatabase::MoveAside(const std::string& path) {
    const std::string stamp = UtcStamp();
    std::string target = path + ".corrupt-" + stamp;
    for (int n = 2; Exists(target) || Exists(target + "-wal"); ++n) {
        target = path + ".corrupt-" + stamp + "-" + std::to_string(n);
    }
    std::error_code ec;
    fs::rename(path, target, ec);
    if (ec) {
        Fail(DatabaseState::kOpenFailed,
             "cannot move the damaged file " + path + " aside: " + ec.message());
        return false;
    }
    // The log and journal belong to the moved file; they move with it under
    // the names SQLite looks for beside it.
    for (const char* suffix : {"-wal", "-journal"}) {
        if (Exists(path + suffix)) {
            fs::rename(path + suffix, target + suffix, ec);
        }
    }
    fs::remove(path + "-shm", ec);
    return true;
}

bool KeyboardDatabase::RestoreDatabase(const std::string& data_folder, const std::string& model) {
    Lock lock(mutex_);
    const auto path = FilePath(data_folder, model);
    if (!path) {
        Fail(DatabaseState::kBadModelName,
             "the model name \"" + model + "\" cannot name a database file");
        return false;
    }
    if (!Close()) {
        return false;
    }
    bool removed = true;
    if (Exists(*path)) {
        removed = FileIsIntact(*path) ? DeleteFile(data_folder, model) : MoveAside(*path);
    }
    const bool opened = Open(data_folder, model);
    return removed && opened;
}

bool KeyboardDatabase::RestoreProfileKeys(int profile) {
    return DeleteProfileKeys(profile);
}

} // namespace kovrin
