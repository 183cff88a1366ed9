// What a fresh database is filled with, and restoring the key settings.

#include "tests/store/StoreTestSupport.h"

#include <gtest/gtest.h>

using namespace kovrin;
using namespace kovrin::test;

namespace {

using Defaults = OpenStoreTest;

TEST_F(Defaults, ConfigurationIsElevenRowsInOrderUnderProfileOne) {
    ASSERT_TRUE(store.AddDefaultConfig());
    const Rows expected = {
        {"1", "version", "1.0.1"},     {"1", "keyboard_layout", "1"}, {"1", "fn_layer", "0"},
        {"1", "lightmode", "1"},       {"1", "sleep_light", "1"},     {"1", "userlight", "0"},
        {"1", "customlight_run", "0"}, {"1", "gamemode", "0"},        {"1", "disable_alttab", "0"},
        {"1", "disable_altf4", "0"},   {"1", "disable_win", "0"},
    };
    RawDb raw(File());
    EXPECT_EQ(raw.Query("SELECT profile, key, value FROM t_configdata ORDER BY config_id"),
              expected);
    EXPECT_EQ(raw.Query("SELECT DISTINCT typeof(profile), typeof(key), typeof(value) FROM "
                        "t_configdata"),
              (Rows{{"integer", "text", "text"}}));
}

TEST_F(Defaults, ConfigurationIsWrittenWholeOrNotAtAll) {
    RawDb(File()).Exec("CREATE TRIGGER fail_write BEFORE INSERT ON t_configdata WHEN NEW.key = "
                       "'gamemode' BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    EXPECT_FALSE(store.AddDefaultConfig());
    EXPECT_EQ(RawDb(File()).Value("SELECT count(*) FROM t_configdata"), "0");
}

TEST_F(Defaults, RestoringKeysEmptiesEveryLayerOfTheProfileOnly) {
    for (int profile : {1, 2}) {
        for (int layer : {0, 1, 2, 3}) {
            ASSERT_GT(store.SaveKeyAssignment({.profile = profile,
                                               .fn_layer = layer,
                                               .key_code = 10 + layer,
                                               .macro_value = 1}),
                      0);
        }
    }
    const int macro = store.AddMacro("kept");
    ASSERT_GT(store.AddLight({.profile = 1, .mode = 1}), 0);

    EXPECT_TRUE(store.RestoreProfileKeys(1));
    RawDb raw(File());
    EXPECT_EQ(raw.Value("SELECT count(*) FROM t_key_macro_data WHERE profile = 1"), "0");
    EXPECT_EQ(raw.Value("SELECT count(*) FROM t_key_macro_data WHERE profile = 2"), "4");
    MacroRow row;
    EXPECT_TRUE(store.GetMacro(macro, row));
    EXPECT_EQ(store.CountLights(1), 1);
}

} // namespace
