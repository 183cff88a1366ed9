// The database file: where it lives, its schema, opening, closing, deleting
// and starting anew.

#include "tests/store/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <map>

using namespace kovrin;
using namespace kovrin::test;

namespace {

using StoreFile = OpenStoreTest;

const std::map<std::string, std::vector<std::string>> kTables = {
    {"t_configdata", {"config_id", "profile", "key", "value"}},
    {"t_profile_data", {"profile", "name", "status", "app", "type"}},
    {"t_key_macro_data",
     {"key_id", "profile", "fn_layer", "key_code", "layout_value", "layout_desc", "macro_type",
      "macro_value", "macro_value2", "macro_value3", "macro_desc"}},
    {"t_key_otherdata", {"macro_value", "macro_desc", "param", "type"}},
    {"t_macro_data", {"macro_id", "play_times", "delay_type", "delay_time", "link_count", "name"}},
    {"t_macrorecord",
     {"record_id", "macro_id", "type", "record_index", "desc", "value", "delay_time"}},
    {"t_light_data",
     {"light_id", "profile", "name", "mode", "brightness", "speed", "direction", "colorful",
      "colorindex", "color_value", "config_func", "reserved", "status"}},
    {"t_key_light_data", {"keylight_id", "profile", "light_id", "key_code", "key_rgb"}},
    {"t_musiclayer_data",
     {"layer_id", "profile", "name", "deviceindex", "foremode", "fore_amplitude", "backmode",
      "backb_right", "sel"}},
};

const std::vector<std::string> kTextColumns = {"t_configdata.key",
                                               "t_configdata.value",
                                               "t_profile_data.name",
                                               "t_profile_data.app",
                                               "t_key_macro_data.layout_desc",
                                               "t_key_macro_data.macro_desc",
                                               "t_key_otherdata.macro_desc",
                                               "t_key_otherdata.param",
                                               "t_macro_data.name",
                                               "t_macrorecord.desc",
                                               "t_light_data.name",
                                               "t_musiclayer_data.name"};

// index name -> table, column
const std::map<std::string, std::pair<std::string, std::string>> kIndexes = {
    {"profileindex", {"t_profile_data", "profile"}},
    {"keyindex", {"t_key_macro_data", "key_id"}},
    {"otheridindex", {"t_key_otherdata", "macro_value"}},
    {"macroidindex", {"t_macro_data", "macro_id"}},
    {"macrorecordindex", {"t_macrorecord", "record_id"}},
    {"lightindex", {"t_light_data", "light_id"}},
    {"keylightindex", {"t_key_light_data", "keylight_id"}},
    {"musiclayerindex", {"t_musiclayer_data", "layer_id"}},
};

void ExpectFullSchema(const std::string& file) {
    RawDb raw(file);
    Rows expected_objects;
    for (const auto& [name, columns] : kTables) {
        expected_objects.push_back({"table", name, name});
    }
    expected_objects.push_back({"table", "sqlite_sequence", "sqlite_sequence"});
    for (const auto& [name, on] : kIndexes) {
        expected_objects.push_back({"index", name, on.first});
    }
    std::sort(expected_objects.begin(), expected_objects.end());
    EXPECT_EQ(raw.Query("SELECT type, name, tbl_name FROM sqlite_master ORDER BY 1, 2, 3"),
              expected_objects);

    for (const auto& [table, columns] : kTables) {
        const Rows info = raw.Query("PRAGMA table_info(" + table + ")");
        ASSERT_EQ(info.size(), columns.size()) << table;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            EXPECT_EQ(info[i][1], columns[i]) << table;
            const bool text = std::find(kTextColumns.begin(), kTextColumns.end(),
                                        table + "." + columns[i]) != kTextColumns.end();
            EXPECT_EQ(info[i][2], text ? "TEXT" : "INTEGER") << table << "." << columns[i];
            EXPECT_EQ(info[i][5], i == 0 ? "1" : "0") << table << "." << columns[i];
        }
        const std::string sql =
            raw.Value("SELECT sql FROM sqlite_master WHERE name = '" + table + "'");
        EXPECT_NE(sql.find(columns[0] + " INTEGER PRIMARY KEY AUTOINCREMENT"), std::string::npos)
            << sql;
    }
    for (const auto& [index, on] : kIndexes) {
        EXPECT_EQ(raw.Query("PRAGMA index_info(" + index + ")"), (Rows{{"0", "0", on.second}}))
            << index;
    }
}

TEST(StoreFilePath, IsTheModelsFileInTheDbFolder) {
    EXPECT_EQ(KeyboardDatabase::FilePath("/data/", "K7"), "/data/db/K7_data_v1.db");
    EXPECT_EQ(KeyboardDatabase::FilePath("/data", "K 7 \xE4\xB8\xAD"),
              "/data/db/K 7 \xE4\xB8\xAD_data_v1.db");
}

TEST(StoreFilePath, RefusesNamesThatAreNotOneFileName) {
    TempDataFolder folder;
    KeyboardDatabase store;
    const std::string bad[] = {
        "", ".", "..", "a/b", "/abs", "../up", std::string("a\0b", 3), std::string(201, 'k')};
    for (const auto& name : bad) {
        EXPECT_FALSE(KeyboardDatabase::FilePath(folder.path(), name)) << name;
        EXPECT_FALSE(store.Open(folder.path(), name)) << name;
        EXPECT_EQ(store.State(), DatabaseState::kBadModelName) << name;
        EXPECT_FALSE(store.DeleteFile(folder.path(), name)) << name;
    }
    EXPECT_TRUE(folder.DbFolderEntries().empty());
    EXPECT_TRUE(KeyboardDatabase::FilePath(folder.path(), std::string(200, 'k')));
}

TEST_F(StoreFile, FreshFileHoldsTheWholeSchema) {
    EXPECT_EQ(store.State(), DatabaseState::kOpen);
    EXPECT_EQ(store.path(), File());
    EXPECT_TRUE(store.LastError().empty());
    ExpectFullSchema(File());
}

TEST_F(StoreFile, MissingTablesAreCreatedOnEveryOpen) {
    ASSERT_TRUE(store.Close());
    {
        RawDb raw(File());
        raw.Exec("DROP TABLE t_macro_data; DROP INDEX keylightindex;");
    }
    ASSERT_TRUE(store.Open(folder.path(), "Model"));
    ExpectFullSchema(File());
    EXPECT_EQ(store.AddMacro("m"), 1);
}

TEST_F(StoreFile, HalfCreatedFileIsCompleted) {
    ASSERT_TRUE(store.Close());
    ASSERT_TRUE(store.DeleteFile(folder.path(), "Model"));
    {
        // What a crash during creation by an older program could leave.
        sqlite3* db = nullptr;
        sqlite3_open(File().c_str(), &db);
        sqlite3_exec(db,
                     "CREATE TABLE t_configdata (config_id INTEGER PRIMARY KEY AUTOINCREMENT, "
                     "profile INTEGER, key TEXT, value TEXT)",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    ASSERT_TRUE(store.Open(folder.path(), "Model"));
    ExpectFullSchema(File());
    EXPECT_EQ(store.AddProfile({.name = "p"}), 1);
}

TEST_F(StoreFile, FileIsWrittenThroughAWriteAheadLog) {
    RawDb raw(File());
    EXPECT_EQ(raw.Value("PRAGMA journal_mode"), "wal");
}

TEST_F(StoreFile, SecondOpenOfTheSameModelKeepsTheConnection) {
    ASSERT_EQ(store.AddProfile({.name = "kept"}), 1);
    EXPECT_TRUE(store.Open(folder.path(), "Model"));
    EXPECT_TRUE(store.IsOpen());
    std::string name;
    EXPECT_TRUE(store.GetProfileName(1, name));
    EXPECT_EQ(name, "kept");
}

TEST_F(StoreFile, ModelsHaveIndependentFilesAndOpenSwitchesBetweenThem) {
    ASSERT_EQ(store.AddProfile({.name = "of Model"}), 1);
    // Without a Close in between: the store follows the model asked for.
    ASSERT_TRUE(store.Open(folder.path(), "Other"));
    EXPECT_EQ(store.path(), folder.DbFile("Other"));
    std::vector<ProfileRow> rows;
    EXPECT_EQ(store.LoadProfiles(rows), 0);
    ASSERT_EQ(store.AddProfile({.name = "of Other"}), 1);

    ASSERT_TRUE(store.Open(folder.path(), "Model"));
    ASSERT_EQ(store.LoadProfiles(rows), 1);
    EXPECT_EQ(rows[0].name, "of Model");
    EXPECT_EQ(RawDb(folder.DbFile("Other")).Value("SELECT name FROM t_profile_data"), "of Other");
}

TEST_F(StoreFile, AnotherVersionMarkerOpensLikeAnyOther) {
    ASSERT_TRUE(store.AddDefaultConfig());
    ASSERT_TRUE(store.Close());
    RawDb(File()).Exec("UPDATE t_configdata SET value = '9.9' WHERE key = 'version'");
    ASSERT_TRUE(store.Open(folder.path(), "Model"));
    EXPECT_EQ(store.AddProfile({.name = "p"}), 1);
}

TEST_F(StoreFile, DeleteFileRefusesWhileOpenAndTakesTheLogAlong) {
    ASSERT_EQ(store.AddProfile({.name = "p"}), 1);
    EXPECT_FALSE(store.DeleteFile(folder.path(), "Model"));
    EXPECT_TRUE(std::filesystem::exists(File()));
    EXPECT_TRUE(store.IsOpen());
    EXPECT_EQ(store.GetActiveProfile(), 0); // still usable

    ASSERT_TRUE(store.Close());
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        WriteBytes(File() + suffix, "left over");
    }
    EXPECT_TRUE(store.DeleteFile(folder.path(), "Model"));
    EXPECT_TRUE(folder.DbFolderEntries().empty());
    EXPECT_TRUE(store.DeleteFile(folder.path(), "Model")); // nothing left to delete
}

// Every operation of a store that is not connected fails quietly.
void ExpectEveryOperationFails(KeyboardDatabase& store) {
    std::vector<ProfileRow> profiles;
    std::vector<KeyAssignment> keys;
    std::vector<MacroRow> macros;
    std::vector<MacroRecordRow> records;
    std::vector<LightRow> lights;
    std::vector<KeyLightRow> key_lights;
    KeyAssignment assignment{.profile = 1, .key_code = 4, .macro_value = 5};
    KeyOtherRow other;
    MacroRow macro;
    LightRow light;
    MusicLayerRow layer;
    std::string text;
    int number = 0;
    const std::vector<std::pair<const char*, std::function<int()>>> operations = {
        {"AddProfile", [&] { return store.AddProfile({.name = "p"}); }},
        {"DeleteProfile", [&] { return int{store.DeleteProfile(1)}; }},
        {"RenameProfile", [&] { return int{store.RenameProfile(1, "n")}; }},
        {"GetProfileName", [&] { return int{store.GetProfileName(1, text)}; }},
        {"LoadProfiles", [&] { return store.LoadProfiles(profiles); }},
        {"SetActiveProfile", [&] { return int{store.SetActiveProfile(1)}; }},
        {"GetActiveProfile", [&] { return store.GetActiveProfile(); }},
        {"AddDefaultConfig", [&] { return int{store.AddDefaultConfig()}; }},
        {"SaveKeyAssignment", [&] { return store.SaveKeyAssignment(assignment); }},
        {"GetKeyAssignment", [&] { return int{store.GetKeyAssignment(1, 0, 4, assignment)}; }},
        {"LoadKeyAssignments", [&] { return store.LoadKeyAssignments(1, 0, keys); }},
        {"DeleteKeyAssignment", [&] { return int{store.DeleteKeyAssignment(1, 0, 4)}; }},
        {"DeleteProfileKeys", [&] { return int{store.DeleteProfileKeys(1)}; }},
        {"AddKeyOther", [&] { return store.AddKeyOther("d", "p", 1); }},
        {"GetKeyOther", [&] { return int{store.GetKeyOther(1, other)}; }},
        {"AddMacro", [&] { return store.AddMacro("m"); }},
        {"InsertMacro", [&] { return store.InsertMacro(macro); }},
        {"RenameMacro", [&] { return int{store.RenameMacro(1, "m")}; }},
        {"UpdateMacroPlay", [&] { return int{store.UpdateMacroPlay(macro)}; }},
        {"DeleteMacro", [&] { return int{store.DeleteMacro(1)}; }},
        {"GetMacroPlayTimes", [&] { return int{store.GetMacroPlayTimes(1, number)}; }},
        {"GetMacro", [&] { return int{store.GetMacro(1, macro)}; }},
        {"LoadMacros", [&] { return store.LoadMacros(macros); }},
        {"AddMacroRecord", [&] { return store.AddMacroRecord({.macro_id = 1}); }},
        {"AddMacroRecords", [&] { return store.AddMacroRecords({{.macro_id = 1}}); }},
        {"LoadMacroRecords", [&] { return store.LoadMacroRecords(1, records); }},
        {"DeleteMacroRecords", [&] { return int{store.DeleteMacroRecords(1)}; }},
        {"CountMacroActions", [&] { return store.CountMacroActions(1); }},
        {"CountLights", [&] { return store.CountLights(1); }},
        {"AddLight", [&] { return store.AddLight({.profile = 1, .mode = 1}); }},
        {"UpdateLight", [&] { return int{store.UpdateLight(1, 1, light)}; }},
        {"SetActiveLight", [&] { return int{store.SetActiveLight(1, 1)}; }},
        {"GetActiveLightMode", [&] { return store.GetActiveLightMode(1); }},
        {"GetLight", [&] { return int{store.GetLight(1, 1, light)}; }},
        {"LoadLights", [&] { return store.LoadLights(1, lights); }},
        {"AddKeyLights", [&] { return store.AddKeyLights({{.light_id = 128}}); }},
        {"DeleteCustomKeyLights", [&] { return int{store.DeleteCustomKeyLights()}; }},
        {"ReplaceCustomKeyLights", [&] { return int{store.ReplaceCustomKeyLights({})}; }},
        {"LoadKeyLights", [&] { return store.LoadKeyLights(128, key_lights); }},
        {"CountMusicLayers", [&] { return store.CountMusicLayers(); }},
        {"AddMusicLayer", [&] { return store.AddMusicLayer("m", 1); }},
        {"GetMusicLayer", [&] { return int{store.GetMusicLayer(1, layer)}; }},
        {"UpdateMusicLayer", [&] { return int{store.UpdateMusicLayer(layer)}; }},
        {"SelectMusicLayer", [&] { return int{store.SelectMusicLayer()}; }},
        {"GetSelectedMusicLayer", [&] { return store.GetSelectedMusicLayer(); }},
        {"RestoreProfileKeys", [&] { return int{store.RestoreProfileKeys(1)}; }},
    };
    for (const auto& [name, operation] : operations) {
        EXPECT_EQ(operation(), 0) << name;
    }
}

TEST(StoreOpenFailure, MissingFolderLeavesTheStoreClosed) {
    TempDataFolder folder;
    KeyboardDatabase store;
    const std::string no_data = folder.path() + "nowhere/";
    EXPECT_FALSE(store.Open(no_data, "Model"));
    EXPECT_EQ(store.State(), DatabaseState::kNoFolder);
    EXPECT_NE(store.LastError().find(no_data + "db"), std::string::npos) << store.LastError();
    EXPECT_FALSE(std::filesystem::exists(no_data));
    ExpectEveryOperationFails(store);
}

TEST(StoreOpenFailure, FileThatIsNotADatabaseIsReportedAndNeverTouched) {
    TempDataFolder folder;
    const std::string file = folder.DbFile("Model");
    const std::string junk = "This is a text file, not a database.\n" + std::string(5000, '#');
    WriteBytes(file, junk);
    KeyboardDatabase store;
    EXPECT_FALSE(store.Open(folder.path(), "Model"));
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(store.State(), DatabaseState::kNotADatabase);
    EXPECT_NE(store.LastError().find(file), std::string::npos) << store.LastError();
    ExpectEveryOperationFails(store);
    EXPECT_FALSE(store.CreateSchema());
    EXPECT_EQ(ReadBytes(file), junk);
    EXPECT_EQ(folder.DbFolderEntries(), std::vector<std::string>{"Model_data_v1.db"});
}

// Opens the model's file in a child process without the right to write it;
// the child's exit status is the store's state.
int StateOfReadOnlyOpen(const TempDataFolder& folder) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(100);
        }
        KeyboardDatabase store;
        const bool opened = store.Open(folder.path(), "Model");
        ::_exit(opened ? 101 : static_cast<int>(store.State()));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(StoreOpenFailure, ReadOnlyFileIsReported) {
    TempDataFolder folder;
    {
        KeyboardDatabase store;
        ASSERT_TRUE(store.Open(folder.path(), "Model"));
        ASSERT_EQ(store.AddProfile({.name = "p"}), 1);
    }
    const std::string file = folder.DbFile("Model");
    const std::string before = ReadBytes(file);
    ::chmod(folder.path().c_str(), 0755);
    ::chmod((folder.path() + "db").c_str(), 0555);
    ::chmod(file.c_str(), 0444);
    EXPECT_EQ(StateOfReadOnlyOpen(folder), static_cast<int>(DatabaseState::kReadOnly));
    ::chmod((folder.path() + "db").c_str(), 0755);
    EXPECT_EQ(ReadBytes(file), before);
}

TEST_F(StoreFile, RestoreKeepsADamagedFileAside) {
    ASSERT_TRUE(store.Close());
    const std::string junk(4096, '\x5A');
    WriteBytes(File(), junk);
    WriteBytes(File() + "-wal", "log of the damaged file");
    ASSERT_FALSE(store.Open(folder.path(), "Model"));
    ASSERT_EQ(store.State(), DatabaseState::kNotADatabase);

    ASSERT_TRUE(store.RestoreDatabase(folder.path(), "Model")) << store.LastError();
    EXPECT_EQ(store.State(), DatabaseState::kOpen);
    ExpectFullSchema(File());

    std::string aside;
    for (const auto& name : folder.DbFolderEntries()) {
        if (name.starts_with("Model_data_v1.db.corrupt-") && !name.ends_with("-wal")) {
            aside = name;
        }
    }
    ASSERT_FALSE(aside.empty());
    // "<file>.corrupt-YYYYMMDD-HHMMSS"
    EXPECT_EQ(aside.size(), std::string("Model_data_v1.db.corrupt-20240101-120000").size());
    EXPECT_EQ(ReadBytes(folder.path() + "db/" + aside), junk);
    EXPECT_EQ(ReadBytes(folder.path() + "db/" + aside + "-wal"), "log of the damaged file");
}

TEST_F(StoreFile, RestoreOfAHealthyFileStartsAnewWithIdsFromOne) {
    for (const char* name : {"a", "b", "c"}) {
        ASSERT_GT(store.AddProfile({.name = name}), 0);
    }
    ASSERT_TRUE(store.AddDefaultConfig());
    ASSERT_TRUE(store.RestoreDatabase(folder.path(), "Model"));
    std::vector<ProfileRow> rows;
    EXPECT_EQ(store.LoadProfiles(rows), 0);
    ExpectFullSchema(File());
    EXPECT_EQ(RawDb(File()).Value("SELECT count(*) FROM t_configdata"), "0");
    EXPECT_EQ(store.AddProfile({.name = "new"}), 1);
    for (const auto& name : folder.DbFolderEntries()) {
        EXPECT_EQ(name.find("corrupt"), std::string::npos) << name;
    }
}

TEST_F(StoreFile, CloseEndsTheConnection) {
    ASSERT_TRUE(store.Close());
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(store.State(), DatabaseState::kClosed);
    EXPECT_EQ(store.AddProfile({.name = "p"}), 0);
    EXPECT_TRUE(store.Close());
}

TEST(StoreInstance, IsOneStorePerProcess) {
    EXPECT_EQ(&KeyboardDatabase::Instance(), &KeyboardDatabase::Instance());
    KeyboardDatabase::Instance().SetDeviceType(201);
    EXPECT_EQ(KeyboardDatabase::Instance().DeviceType(), 201);
    EXPECT_EQ(KeyboardDatabase().DeviceType(), 0);
}

} // namespace
