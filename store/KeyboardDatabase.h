#pragma once
// The settings store: one SQLite file per keyboard model,
// "<data folder>db/<model>_data_v1.db", holding profiles, key assignments,
// macros, lighting and the music layer.
//
// Every operation takes one recursive lock for its whole run, so the
// interface thread may switch models while the worker reads and writes; an
// operation on a closed store fails quietly (0, false or no rows). Operations
// never throw. Texts are UTF-8 in memory and in the file.

#include "store/SQLiteDB.h"
#include "store/StoreRows.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

// Why the store is or is not connected, after the last Open or Close.
enum class DatabaseState {
    kClosed,       // never opened, or closed
    kOpen,         // connected to the file at path()
    kBadModelName, // the model name cannot name a file
    kNoFolder,     // the folder of the file does not exist
    kNotADatabase, // the file is not an SQLite database, or is damaged
    kReadOnly,     // the file or its folder cannot be written
    kOpenFailed,   // anything else; LastError() has SQLite's words
};

class KeyboardDatabase {
public:
    static constexpr int kCustomLightId = 128; // light_id of the per-key colours
    static constexpr int kMacroFunctionType = 3;

    // The process-wide store, created on first use.
    static KeyboardDatabase& Instance();

    // A separate store, for tests and tools.
    KeyboardDatabase() = default;
    KeyboardDatabase(const KeyboardDatabase&) = delete;
    KeyboardDatabase& operator=(const KeyboardDatabase&) = delete;
    ~KeyboardDatabase();

    // A model name names a file when it is not empty, ".", "..", holds no '/'
    // or NUL and is at most 200 bytes long.
    static bool IsSafeModelName(std::string_view model);
    // data_folder + "db/" + model + "_data_v1.db"; nullopt for an unsafe name.
    static std::optional<std::string> FilePath(std::string_view data_folder,
                                               std::string_view model);

    // ---- The file ----

    // Connects to the model's file, creating it when missing (never its
    // folder). The tables and indexes that are missing are created on every
    // open. When already connected to the same file nothing changes; another
    // model's file is closed first. On failure the store is left closed and
    // State()/LastError() say why; an existing file is never replaced.
    bool Open(const std::string& data_folder, const std::string& model);
    // Connects to path() (creating the file) and creates the missing tables
    // and indexes, all or nothing.
    bool CreateSchema();
    // True when no connection remains.
    bool Close();
    // Removes the model's file with its write-ahead log, shared-memory index
    // and journal. Refused (false) while a connection is open. True when no
    // file is left.
    bool DeleteFile(const std::string& data_folder, const std::string& model);

    bool IsOpen() const;
    DatabaseState State() const;
    // Text of the last failed open, empty after a successful one.
    std::string LastError() const;
    // Path of the file of the last open; empty before the first.
    std::string path() const;

    // Device type of the model whose file is open (0 at first).
    void SetDeviceType(int device_type) { device_type_ = device_type; }
    int DeviceType() const { return device_type_; }

    // ---- Profiles (t_profile_data) ----

    // Stores name and app; status and type are written as 0. New id or 0.
    int AddProfile(const ProfileRow& row);
    // Removes the profile with its key assignments and light modes.
    bool DeleteProfile(int profile);
    bool RenameProfile(int profile, std::string_view name); // false for a missing profile
    bool GetProfileName(int profile, std::string& name);    // name is cleared first
    int LoadProfiles(std::vector<ProfileRow>& rows);
    // Marks the profile as the only active one. A missing profile changes
    // nothing and gives false.
    bool SetActiveProfile(int profile);
    int GetActiveProfile(); // 0 when none

    // ---- Configuration (t_configdata) ----

    // The eleven rows of a fresh database, all with profile 1; all or none.
    bool AddDefaultConfig();

    // ---- Key assignments (t_key_macro_data, t_key_otherdata) ----

    // Replaces the key's assignment on its profile and layer. With macro value
    // and macro value 2 both 0 the key's row is only removed (0 is returned).
    // Key code 0 changes nothing and gives 0. When the new row cannot be
    // written the old one stays. New key id or 0.
    int SaveKeyAssignment(const KeyAssignment& assignment);
    bool GetKeyAssignment(int profile, int fn_layer, int key_code, KeyAssignment& assignment);
    int LoadKeyAssignments(int profile, int fn_layer, std::vector<KeyAssignment>& rows);
    bool DeleteKeyAssignment(int profile, int fn_layer, int key_code);
    // Every assignment of the profile on every layer.
    bool DeleteProfileKeys(int profile);
    int AddKeyOther(std::string_view macro_desc, std::string_view param, int type); // id or 0
    // True only when the row exists; row is written only then.
    bool GetKeyOther(int id, KeyOtherRow& row);

    // ---- Macros (t_macro_data, t_macrorecord) ----

    int AddMacro(std::string_view name);  // play once, delay type 1; id or 0
    int InsertMacro(const MacroRow& row); // id or 0
    bool RenameMacro(int macro_id, std::string_view name);
    bool UpdateMacroPlay(const MacroRow& row); // play times, delay type, delay time
    // Removes the macro, its records and the key assignments that play it,
    // all or nothing.
    bool DeleteMacro(int macro_id);
    bool GetMacroPlayTimes(int macro_id, int& play_times);
    bool GetMacro(int macro_id, MacroRow& row);
    int LoadMacros(std::vector<MacroRow>& rows);
    int AddMacroRecord(const MacroRecordRow& row); // id or 0
    // All rows in one transaction; the number written (0 or all of them).
    int AddMacroRecords(const std::vector<MacroRecordRow>& rows);
    // Sorted by record index.
    int LoadMacroRecords(int macro_id, std::vector<MacroRecordRow>& rows);
    bool DeleteMacroRecords(int macro_id);
    // Records that are not delays (type 1).
    int CountMacroActions(int macro_id);

    // ---- Lighting (t_light_data, t_key_light_data) ----

    int CountLights(int profile);
    int AddLight(const LightRow& row); // id or 0
    // Writes brightness, speed, direction, colorful, colorindex, color_value,
    // config_func and reserved of the row into the profile's mode.
    bool UpdateLight(int profile, int mode, const LightRow& row);
    // Clears the mark of every light row of every profile and marks the
    // profile's mode; a missing mode changes nothing and gives false.
    bool SetActiveLight(int profile, int mode);
    int GetActiveLightMode(int profile); // 0 when none
    bool GetLight(int profile, int mode, LightRow& row);
    int LoadLights(int profile, std::vector<LightRow>& rows);
    // All rows in one transaction; the number written (0 or all of them).
    int AddKeyLights(const std::vector<KeyLightRow>& rows);
    // Every row of light id 128.
    bool DeleteCustomKeyLights();
    // DeleteCustomKeyLights and AddKeyLights in one transaction, so a failed
    // write keeps the old colours.
    bool ReplaceCustomKeyLights(const std::vector<KeyLightRow>& rows);
    int LoadKeyLights(int light_id, std::vector<KeyLightRow>& rows);

    // ---- Music layer (t_musiclayer_data; one layer, profile 1, id 1) ----

    int CountMusicLayers();
    // Stored with device 0, amplitude 300, back mode 0, back brightness 100.
    int AddMusicLayer(std::string_view name, int foremode);
    bool GetMusicLayer(int layer_id, MusicLayerRow& row);
    // Writes the row's five settings into layer 1.
    bool UpdateMusicLayer(const MusicLayerRow& row);
    bool SelectMusicLayer();     // marks layer 1
    int GetSelectedMusicLayer(); // 0 when none

    // ---- Restoring ----

    // Removes every key assignment of the profile.
    bool RestoreProfileKeys(int profile);
    // Closes the store and starts the model's file anew, empty but for the
    // tables. A file that is damaged or not a database is kept aside as
    // "<file>.corrupt-<UTC time>" instead of being removed. When the old file
    // cannot be removed the store reopens it and answers false.
    bool RestoreDatabase(const std::string& data_folder, const std::string& model);

private:
    using Lock = std::lock_guard<std::recursive_mutex>;

    bool OpenPath(const std::string& path, bool create);
    bool ApplySchema();
    void Fail(DatabaseState state, std::string text);
    bool MoveAside(const std::string& path);

    mutable std::recursive_mutex mutex_;
    SQLiteDB db_;
    std::string path_;
    std::atomic<int> device_type_{0};
    DatabaseState state_ = DatabaseState::kClosed;
    std::string last_error_;
};

} // namespace kovrin
