// Reads and writes of the store's records.

#include "tests/store/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

using namespace kovrin;
using namespace kovrin::test;

namespace {

using Profiles = OpenStoreTest;
using Keys = OpenStoreTest;
using Macros = OpenStoreTest;
using Lights = OpenStoreTest;
using Music = OpenStoreTest;
using Texts = OpenStoreTest;

KeyAssignment Assignment(int profile, int fn_layer, int key_code, int macro_value,
                         int macro_type = 1) {
    return {.profile = profile,
            .fn_layer = fn_layer,
            .key_code = key_code,
            .layout_value = key_code + 1000,
            .layout_desc = "layout " + std::to_string(key_code),
            .macro_type = macro_type,
            .macro_value = macro_value,
            .macro_value2 = 7,
            .macro_value3 = 9,
            .macro_desc = "function " + std::to_string(macro_value)};
}

void ExpectSameAssignment(const KeyAssignment& a, const KeyAssignment& b) {
    EXPECT_EQ(std::tie(a.profile, a.fn_layer, a.key_code, a.layout_value, a.layout_desc,
                       a.macro_type, a.macro_value, a.macro_value2, a.macro_value3, a.macro_desc),
              std::tie(b.profile, b.fn_layer, b.key_code, b.layout_value, b.layout_desc,
                       b.macro_type, b.macro_value, b.macro_value2, b.macro_value3, b.macro_desc));
}

std::string Count(const std::string& file, const std::string& table, const std::string& where) {
    return RawDb(file).Value("SELECT count(*) FROM " + table + " WHERE " + where);
}

// A trigger that makes matching writes fail, added behind the store's back.
void AddFailingTrigger(const std::string& file, const std::string& when_on,
                       const std::string& condition) {
    RawDb(file).Exec("CREATE TRIGGER fail_write " + when_on + " WHEN " + condition +
                     " BEGIN SELECT RAISE(ABORT, 'refused'); END;");
}

// ---- Profiles ----

TEST_F(Profiles, AddLoadRenameAndName) {
    EXPECT_EQ(store.AddProfile({.name = "One", .app = "app.exe", .type = 5, .status = 1}), 1);
    EXPECT_EQ(store.AddProfile({.name = "Two"}), 2);
    std::vector<ProfileRow> rows{{.name = "stale"}};
    ASSERT_EQ(store.LoadProfiles(rows), 2);
    ASSERT_EQ(rows.size(), 2u);
    // Status and type are always written as 0.
    EXPECT_EQ(std::tie(rows[0].profile_id, rows[0].name, rows[0].app, rows[0].type, rows[0].status),
              std::make_tuple(1, std::string("One"), std::string("app.exe"), 0, 0));
    EXPECT_EQ(rows[1].profile_id, 2);

    EXPECT_TRUE(store.RenameProfile(2, "Second"));
    std::string name = "old";
    EXPECT_TRUE(store.GetProfileName(2, name));
    EXPECT_EQ(name, "Second");
    EXPECT_FALSE(store.GetProfileName(9, name));
    EXPECT_EQ(name, "");
    // Renaming a profile that does not exist is a failure, not a success.
    EXPECT_FALSE(store.RenameProfile(9, "Ghost"));
}

TEST_F(Profiles, ExactlyOneIsActive) {
    for (int i = 0; i < 3; ++i) {
        ASSERT_GT(store.AddProfile({.name = "p"}), 0);
    }
    EXPECT_EQ(store.GetActiveProfile(), 0);
    EXPECT_TRUE(store.SetActiveProfile(2));
    EXPECT_TRUE(store.SetActiveProfile(3));
    EXPECT_EQ(store.GetActiveProfile(), 3);
    EXPECT_EQ(Count(File(), "t_profile_data", "status = 1"), "1");
    // A missing profile leaves the active one in place.
    EXPECT_FALSE(store.SetActiveProfile(42));
    EXPECT_EQ(store.GetActiveProfile(), 3);
    EXPECT_EQ(Count(File(), "t_profile_data", "status = 1"), "1");
}

TEST_F(Profiles, DeleteTakesTheProfilesKeysAndLightModesAlong) {
    for (int profile : {1, 2}) {
        ASSERT_EQ(store.AddProfile({.name = "p"}), profile);
        ASSERT_GT(store.SaveKeyAssignment(Assignment(profile, 0, 4, 1)), 0);
        ASSERT_GT(store.SaveKeyAssignment(Assignment(profile, 2, 5, 1)), 0);
        ASSERT_GT(store.AddLight({.profile = profile, .mode = 1}), 0);
    }
    ASSERT_EQ(store.AddKeyLights({{.profile = 1, .light_id = 128, .key_code = 4}}), 1);
    ASSERT_GT(store.AddKeyOther("site", "https://example.org", 2), 0);
    ASSERT_GT(store.AddMusicLayer("music", 1), 0);

    EXPECT_TRUE(store.DeleteProfile(1));
    EXPECT_EQ(Count(File(), "t_profile_data", "profile = 1"), "0");
    EXPECT_EQ(Count(File(), "t_key_macro_data", "profile = 1"), "0");
    EXPECT_EQ(Count(File(), "t_light_data", "profile = 1"), "0");
    EXPECT_EQ(Count(File(), "t_key_macro_data", "profile = 2"), "2");
    EXPECT_EQ(Count(File(), "t_light_data", "profile = 2"), "1");
    // Shared rows stay.
    EXPECT_EQ(Count(File(), "t_key_light_data", "light_id = 128"), "1");
    EXPECT_EQ(Count(File(), "t_key_otherdata", "1"), "1");
    EXPECT_EQ(store.CountMusicLayers(), 1);
}

TEST_F(Profiles, DeleteIsAllOrNothing) {
    ASSERT_EQ(store.AddProfile({.name = "p"}), 1);
    ASSERT_GT(store.SaveKeyAssignment(Assignment(1, 0, 4, 1)), 0);
    ASSERT_GT(store.AddLight({.profile = 1, .mode = 1}), 0);
    AddFailingTrigger(File(), "BEFORE DELETE ON t_light_data", "1");
    EXPECT_FALSE(store.DeleteProfile(1));
    EXPECT_EQ(Count(File(), "t_profile_data", "profile = 1"), "1");
    EXPECT_EQ(Count(File(), "t_key_macro_data", "profile = 1"), "1");
}

TEST_F(Profiles, IdsThatDoNotFitAreNotHandedOut) {
    ASSERT_EQ(store.AddProfile({.name = "p"}), 1);
    RawDb(File()).Exec("UPDATE sqlite_sequence SET seq = " + std::to_string(INT_MAX) +
                       " WHERE name = 't_profile_data'");
    EXPECT_EQ(store.AddProfile({.name = "beyond"}), 0);
}

// ---- Key assignments ----

TEST_F(Keys, SaveReplacesTheKeysAssignmentAndReadsBackEveryField) {
    const KeyAssignment first = Assignment(1, 0, 30, 11);
    const KeyAssignment second = Assignment(1, 0, 30, 12, 3);
    EXPECT_EQ(store.SaveKeyAssignment(first), 1);
    EXPECT_EQ(store.SaveKeyAssignment(second), 2);
    KeyAssignment read;
    ASSERT_TRUE(store.GetKeyAssignment(1, 0, 30, read));
    EXPECT_EQ(read.key_id, 2);
    ExpectSameAssignment(read, second);
    EXPECT_EQ(Count(File(), "t_key_macro_data", "key_code = 30"), "1");
}

TEST_F(Keys, DefaultFunctionDeletesAndKeyCodeZeroChangesNothing) {
    ASSERT_GT(store.SaveKeyAssignment(Assignment(1, 0, 30, 11)), 0);

    KeyAssignment only_value2 = Assignment(1, 0, 31, 0);
    only_value2.macro_value2 = 5;
    EXPECT_GT(store.SaveKeyAssignment(only_value2), 0);

    KeyAssignment no_key = Assignment(1, 0, 0, 11);
    EXPECT_EQ(store.SaveKeyAssignment(no_key), 0);
    EXPECT_EQ(Count(File(), "t_key_macro_data", "1"), "2");

    KeyAssignment back_to_default = Assignment(1, 0, 30, 0);
    back_to_default.macro_value2 = 0;
    EXPECT_EQ(store.SaveKeyAssignment(back_to_default), 0);
    KeyAssignment untouched = Assignment(9, 9, 9, 9);
    EXPECT_FALSE(store.GetKeyAssignment(1, 0, 30, untouched));
    ExpectSameAssignment(untouched, Assignment(9, 9, 9, 9));
    EXPECT_EQ(Count(File(), "t_key_macro_data", "1"), "1");
}

TEST_F(Keys, FailedSaveKeepsTheOldAssignment) {
    const KeyAssignment old_one = Assignment(1, 0, 30, 11);
    ASSERT_GT(store.SaveKeyAssignment(old_one), 0);
    AddFailingTrigger(File(), "BEFORE INSERT ON t_key_macro_data", "NEW.macro_value = 66");
    EXPECT_EQ(store.SaveKeyAssignment(Assignment(1, 0, 30, 66)), 0);
    KeyAssignment read;
    ASSERT_TRUE(store.GetKeyAssignment(1, 0, 30, read));
    ExpectSameAssignment(read, old_one);
}

TEST_F(Keys, LoadByLayerAndDeleteByKeyOrProfile) {
    for (int layer : {0, 1, 2}) {
        for (int key : {4, 5, 6}) {
            ASSERT_GT(store.SaveKeyAssignment(Assignment(1, layer, key, key)), 0);
        }
    }
    ASSERT_GT(store.SaveKeyAssignment(Assignment(2, 0, 4, 1)), 0);
    std::vector<KeyAssignment> rows;
    ASSERT_EQ(store.LoadKeyAssignments(1, 1, rows), 3);
    EXPECT_EQ(rows.size(), 3u);
    for (const auto& row : rows) {
        EXPECT_EQ(std::tie(row.profile, row.fn_layer), std::make_tuple(1, 1));
    }
    EXPECT_TRUE(store.DeleteKeyAssignment(1, 1, 5));
    EXPECT_EQ(store.LoadKeyAssignments(1, 1, rows), 2);

    EXPECT_TRUE(store.RestoreProfileKeys(1));
    EXPECT_EQ(Count(File(), "t_key_macro_data", "profile = 1"), "0");
    EXPECT_EQ(store.LoadKeyAssignments(2, 0, rows), 1);
}

TEST_F(Keys, OtherDataExistsOnlyWhenStored) {
    const int id = store.AddKeyOther("Editor", "/usr/bin/editor", 1);
    ASSERT_EQ(id, 1);
    KeyOtherRow row;
    ASSERT_TRUE(store.GetKeyOther(id, row));
    EXPECT_EQ(std::tie(row.id, row.macro_desc, row.param, row.type),
              std::make_tuple(1, std::string("Editor"), std::string("/usr/bin/editor"), 1));
    KeyOtherRow missing{.id = 5, .macro_desc = "keep", .param = "keep", .type = 3};
    EXPECT_FALSE(store.GetKeyOther(2, missing));
    EXPECT_EQ(std::tie(missing.id, missing.macro_desc, missing.param, missing.type),
              std::make_tuple(5, std::string("keep"), std::string("keep"), 3));
}

// ---- Macros ----

TEST_F(Macros, AddInsertRenameAndPlaySettings) {
    EXPECT_EQ(store.AddMacro("Plain"), 1);
    MacroRow row;
    ASSERT_TRUE(store.GetMacro(1, row));
    EXPECT_EQ(std::tie(row.macro_id, row.name, row.link_count, row.play_times, row.delay_type,
                       row.delay_time),
              std::make_tuple(1, std::string("Plain"), 0, 1, 1, 0));

    EXPECT_EQ(store.InsertMacro({.name = "Imported",
                                 .link_count = 2,
                                 .play_times = 3,
                                 .delay_type = 2,
                                 .delay_time = 40}),
              2);
    ASSERT_TRUE(store.GetMacro(2, row));
    EXPECT_EQ(std::tie(row.name, row.link_count, row.play_times, row.delay_type, row.delay_time),
              std::make_tuple(std::string("Imported"), 2, 3, 2, 40));

    EXPECT_TRUE(store.RenameMacro(2, "Renamed"));
    EXPECT_TRUE(
        store.UpdateMacroPlay({.macro_id = 2, .play_times = 9, .delay_type = 3, .delay_time = 15}));
    ASSERT_TRUE(store.GetMacro(2, row));
    EXPECT_EQ(std::tie(row.name, row.link_count, row.play_times, row.delay_type, row.delay_time),
              std::make_tuple(std::string("Renamed"), 2, 9, 3, 15));
    int play_times = -1;
    EXPECT_TRUE(store.GetMacroPlayTimes(2, play_times));
    EXPECT_EQ(play_times, 9);

    EXPECT_FALSE(store.RenameMacro(7, "x"));
    EXPECT_FALSE(store.UpdateMacroPlay({.macro_id = 7}));
    EXPECT_FALSE(store.GetMacroPlayTimes(7, play_times));
    EXPECT_EQ(play_times, 9);
    std::vector<MacroRow> rows;
    EXPECT_EQ(store.LoadMacros(rows), 2);
}

TEST_F(Macros, RecordsComeBackInRecordIndexOrder) {
    const int macro = store.AddMacro("m");
    std::vector<MacroRecordRow> records;
    for (int index : {3, 0, 4, 1, 2}) {
        records.push_back({.macro_id = macro,
                           .type = index % 2 == 0 ? 2 : 1,
                           .record_index = index,
                           .value = 100 + index,
                           .delay_time = 10 * index,
                           .desc = "r" + std::to_string(index)});
    }
    EXPECT_EQ(store.AddMacroRecords(records), 5);
    EXPECT_GT(store.AddMacroRecord({.macro_id = macro + 1, .type = 2, .record_index = 0}), 0);

    std::vector<MacroRecordRow> loaded;
    ASSERT_EQ(store.LoadMacroRecords(macro, loaded), 5);
    for (int i = 0; i < 5; ++i) {
        const auto& r = loaded[static_cast<std::size_t>(i)];
        EXPECT_EQ(std::tie(r.macro_id, r.record_index, r.value, r.delay_time, r.desc),
                  std::make_tuple(macro, i, 100 + i, 10 * i, "r" + std::to_string(i)));
    }
    EXPECT_EQ(store.CountMacroActions(macro), 3);

    EXPECT_TRUE(store.DeleteMacroRecords(macro));
    EXPECT_EQ(store.LoadMacroRecords(macro, loaded), 0);
    ASSERT_EQ(store.AddMacroRecords({{.macro_id = macro, .type = 1},
                                     {.macro_id = macro, .type = 1, .record_index = 1}}),
              2);
    EXPECT_EQ(store.CountMacroActions(macro), 0);
}

TEST_F(Macros, DeleteRemovesRecordsAndTheKeysThatPlayIt) {
    const int macro = store.AddMacro("doomed");
    const int other = store.AddMacro("kept");
    ASSERT_EQ(store.AddMacroRecords({{.macro_id = macro}, {.macro_id = other}}), 2);
    ASSERT_GT(store.SaveKeyAssignment(Assignment(1, 0, 4, macro, 3)), 0);
    ASSERT_GT(store.SaveKeyAssignment(Assignment(2, 1, 5, macro, 3)), 0);
    ASSERT_GT(store.SaveKeyAssignment(Assignment(1, 0, 6, macro, 2)), 0); // not a macro key
    ASSERT_GT(store.SaveKeyAssignment(Assignment(1, 0, 7, other, 3)), 0);

    EXPECT_TRUE(store.DeleteMacro(macro));
    MacroRow row;
    EXPECT_FALSE(store.GetMacro(macro, row));
    EXPECT_EQ(Count(File(), "t_macrorecord", "1"), "1");
    EXPECT_EQ(RawDb(File()).Query("SELECT key_code FROM t_key_macro_data ORDER BY key_code"),
              (Rows{{"6"}, {"7"}}));
}

TEST_F(Macros, FailedDeleteLeavesEverything) {
    struct Case {
        const char* trigger_on;
        const char* what;
    };
    const Case cases[] = {
        {"BEFORE DELETE ON t_macro_data", "the macro row"},
        {"BEFORE DELETE ON t_macrorecord", "the records"},
        {"BEFORE DELETE ON t_key_macro_data", "the key assignments"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int macro = store.AddMacro("m");
        ASSERT_EQ(store.AddMacroRecords({{.macro_id = macro}}), 1);
        ASSERT_GT(store.SaveKeyAssignment(Assignment(1, 0, 4, macro, 3)), 0);
        AddFailingTrigger(File(), c.trigger_on, "1");
        EXPECT_FALSE(store.DeleteMacro(macro));
        MacroRow row;
        EXPECT_TRUE(store.GetMacro(macro, row));
        const std::string id = std::to_string(macro);
        EXPECT_EQ(Count(File(), "t_macrorecord", "macro_id = " + id), "1");
        EXPECT_EQ(Count(File(), "t_key_macro_data", "macro_value = " + id), "1");
        RawDb(File()).Exec("DROP TRIGGER fail_write");
    }
}

TEST_F(Macros, BulkInsertsAreAllOrNothingAndSayHowManyRowsWereWritten) {
    AddFailingTrigger(File(), "BEFORE INSERT ON t_macrorecord", "NEW.record_index = 2");
    std::vector<MacroRecordRow> records;
    for (int i = 0; i < 4; ++i) {
        records.push_back({.macro_id = 1, .record_index = i});
    }
    EXPECT_EQ(store.AddMacroRecords(records), 0);
    EXPECT_EQ(Count(File(), "t_macrorecord", "1"), "0");
    records.erase(records.begin() + 2);
    EXPECT_EQ(store.AddMacroRecords(records), 3);
    EXPECT_EQ(store.AddMacroRecords({}), 0);
}

// ---- Lighting ----

TEST_F(Lights, AddGetUpdateAndLoad) {
    const LightRow row{.profile = 1,
                       .name = "Wave",
                       .mode = 3,
                       .brightness = 4,
                       .speed = 2,
                       .direction = 1,
                       .colorful = 1,
                       .colorindex = 5,
                       .color_value = 0x00FF00,
                       .config_func = 0x1F,
                       .reserved = 7,
                       .status = 1};
    ASSERT_EQ(store.AddLight(row), 1);
    ASSERT_GT(store.AddLight({.profile = 1, .mode = 4}), 0);
    ASSERT_GT(store.AddLight({.profile = 2, .mode = 3}), 0);
    EXPECT_EQ(store.CountLights(1), 2);
    EXPECT_EQ(store.CountLights(3), 0);

    LightRow read;
    ASSERT_TRUE(store.GetLight(1, 3, read));
    const auto fields = [](const LightRow& r) {
        return std::tie(r.profile, r.name, r.mode, r.brightness, r.speed, r.direction, r.colorful,
                        r.colorindex, r.color_value, r.config_func, r.reserved, r.status);
    };
    EXPECT_EQ(read.light_id, 1);
    EXPECT_EQ(fields(read), fields(row));

    const LightRow update{.profile = 8,
                          .name = "ignored",
                          .mode = 8,
                          .brightness = 1,
                          .speed = 1,
                          .direction = 2,
                          .colorful = 0,
                          .colorindex = 6,
                          .color_value = 0x0000FF,
                          .config_func = 0x2,
                          .reserved = 3,
                          .status = 0};
    EXPECT_TRUE(store.UpdateLight(1, 3, update));
    ASSERT_TRUE(store.GetLight(1, 3, read));
    LightRow expected = update;
    expected.profile = 1;
    expected.name = "Wave";
    expected.mode = 3;
    expected.status = 1;
    EXPECT_EQ(fields(read), fields(expected));
    EXPECT_FALSE(store.UpdateLight(1, 99, update));
    EXPECT_FALSE(store.GetLight(1, 99, read));

    std::vector<LightRow> rows;
    EXPECT_EQ(store.LoadLights(1, rows), 2);
}

TEST_F(Lights, ActiveModeIsOneRowOverAllProfiles) {
    for (int profile : {1, 2}) {
        for (int mode : {1, 2, 3}) {
            ASSERT_GT(store.AddLight({.profile = profile, .mode = mode}), 0);
        }
    }
    EXPECT_TRUE(store.SetActiveLight(1, 3));
    EXPECT_EQ(store.GetActiveLightMode(1), 3);
    EXPECT_TRUE(store.SetActiveLight(2, 2));
    EXPECT_EQ(store.GetActiveLightMode(2), 2);
    EXPECT_EQ(store.GetActiveLightMode(1), 0);
    // A mode the profile does not have changes nothing.
    EXPECT_FALSE(store.SetActiveLight(2, 9));
    EXPECT_EQ(store.GetActiveLightMode(2), 2);
    EXPECT_EQ(Count(File(), "t_light_data", "status = 1"), "1");
}

TEST_F(Lights, CustomKeyColoursAreReplacedAsASet) {
    ASSERT_EQ(store.AddKeyLights({{.profile = 1, .light_id = 128, .key_code = 4, .key_rgb = 255},
                                  {.profile = 1, .light_id = 128, .key_code = 5, .key_rgb = 65280},
                                  {.profile = 1, .light_id = 129, .key_code = 4, .key_rgb = 1}}),
              3);
    std::vector<KeyLightRow> rows;
    ASSERT_EQ(store.LoadKeyLights(128, rows), 2);
    EXPECT_EQ(std::tie(rows[1].keylight_id, rows[1].profile, rows[1].light_id, rows[1].key_code,
                       rows[1].key_rgb),
              std::make_tuple(2, 1, 128, 5, 65280));

    EXPECT_TRUE(store.ReplaceCustomKeyLights({{.profile = 2, .light_id = 128, .key_code = 9}}));
    ASSERT_EQ(store.LoadKeyLights(128, rows), 1);
    EXPECT_EQ(rows[0].key_code, 9);

    AddFailingTrigger(File(), "BEFORE INSERT ON t_key_light_data", "NEW.key_code = 13");
    EXPECT_FALSE(store.ReplaceCustomKeyLights(
        {{.light_id = 128, .key_code = 12}, {.light_id = 128, .key_code = 13}}));
    ASSERT_EQ(store.LoadKeyLights(128, rows), 1);
    EXPECT_EQ(rows[0].key_code, 9);
    EXPECT_EQ(store.AddKeyLights({{.light_id = 128, .key_code = 13}}), 0);

    EXPECT_TRUE(store.DeleteCustomKeyLights());
    EXPECT_EQ(store.LoadKeyLights(128, rows), 0);
    EXPECT_EQ(store.LoadKeyLights(129, rows), 1);
}

// ---- Music layer ----

TEST_F(Music, TheOneLayerIsCreatedUpdatedAndSelected) {
    EXPECT_EQ(store.CountMusicLayers(), 0);
    EXPECT_FALSE(store.UpdateMusicLayer({}));
    EXPECT_FALSE(store.SelectMusicLayer());
    EXPECT_EQ(store.GetSelectedMusicLayer(), 0);

    ASSERT_EQ(store.AddMusicLayer("Music", 2), 1);
    EXPECT_EQ(store.CountMusicLayers(), 1);
    MusicLayerRow row;
    ASSERT_TRUE(store.GetMusicLayer(1, row));
    const auto fields = [](const MusicLayerRow& r) {
        return std::tie(r.layer_id, r.profile, r.name, r.deviceindex, r.foremode, r.fore_amplitude,
                        r.backmode, r.backb_right);
    };
    MusicLayerRow expected{.layer_id = 1,
                           .profile = 1,
                           .name = "Music",
                           .deviceindex = 0,
                           .foremode = 2,
                           .fore_amplitude = 300,
                           .backmode = 0,
                           .backb_right = 100};
    EXPECT_EQ(fields(row), fields(expected));

    // Whatever id the row carries, layer 1 is written.
    EXPECT_TRUE(store.UpdateMusicLayer({.layer_id = 5,
                                        .name = "ignored",
                                        .deviceindex = 1,
                                        .foremode = 3,
                                        .fore_amplitude = 150,
                                        .backmode = 2,
                                        .backb_right = 40}));
    ASSERT_TRUE(store.GetMusicLayer(1, row));
    expected = {.layer_id = 1,
                .profile = 1,
                .name = "Music",
                .deviceindex = 1,
                .foremode = 3,
                .fore_amplitude = 150,
                .backmode = 2,
                .backb_right = 40};
    EXPECT_EQ(fields(row), fields(expected));
    EXPECT_FALSE(store.GetMusicLayer(2, row));

    EXPECT_TRUE(store.SelectMusicLayer());
    EXPECT_EQ(store.GetSelectedMusicLayer(), 1);
}

// ---- Texts ----

TEST_F(Texts, NonAsciiTextsRoundTripAsUtf8) {
    // é, 中, 配置方案, and two characters outside the BMP (😀, 𝄞).
    const std::string text = "Caf\xC3\xA9 \xE4\xB8\xAD \xE9\x85\x8D\xE7\xBD\xAE\xE6\x96\xB9"
                             "\xE6\xA1\x88 \xF0\x9F\x98\x80\xF0\x9D\x84\x9E";
    const int profile = store.AddProfile({.name = text, .app = text});
    const int other = store.AddKeyOther(text, text, 3);
    const int macro = store.AddMacro(text);
    KeyAssignment assignment = Assignment(profile, 0, 4, other);
    assignment.layout_desc = text;
    assignment.macro_desc = text;
    ASSERT_GT(store.SaveKeyAssignment(assignment), 0);
    ASSERT_GT(store.AddMacroRecord({.macro_id = macro, .desc = text}), 0);
    ASSERT_GT(store.AddLight({.profile = profile, .name = text, .mode = 1}), 0);
    ASSERT_GT(store.AddMusicLayer(text, 1), 0);

    std::vector<ProfileRow> profiles;
    ASSERT_EQ(store.LoadProfiles(profiles), 1);
    KeyOtherRow other_row;
    ASSERT_TRUE(store.GetKeyOther(other, other_row));
    MacroRow macro_row;
    ASSERT_TRUE(store.GetMacro(macro, macro_row));
    KeyAssignment read;
    ASSERT_TRUE(store.GetKeyAssignment(profile, 0, 4, read));
    std::vector<MacroRecordRow> records;
    ASSERT_EQ(store.LoadMacroRecords(macro, records), 1);
    LightRow light;
    ASSERT_TRUE(store.GetLight(profile, 1, light));
    MusicLayerRow layer;
    ASSERT_TRUE(store.GetMusicLayer(1, layer));
    for (const std::string* value :
         {&profiles[0].name, &profiles[0].app, &other_row.macro_desc, &other_row.param,
          &macro_row.name, &read.layout_desc, &read.macro_desc, &records[0].desc, &light.name,
          &layer.name}) {
        EXPECT_EQ(*value, text);
    }
    // In the file: the UTF-8 bytes, as text.
    RawDb raw(File());
    std::string hex;
    for (unsigned char c : text) {
        static const char digits[] = "0123456789ABCDEF";
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    EXPECT_EQ(raw.Query("SELECT hex(name), typeof(name) FROM t_profile_data"),
              (Rows{{hex, "text"}}));
}

} // namespace
