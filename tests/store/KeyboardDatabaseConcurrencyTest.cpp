// The interface thread switches models while the worker thread reads and
// writes: no race, no crash, and every write reported as done is in the file
// it went to.

#include "tests/store/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

using namespace kovrin;
using namespace kovrin::test;

namespace {

struct Attempt {
    std::string name;
    int id;
};

TEST(StoreConcurrency, ModelSwitchesWhileTheWorkerReadsAndWrites) {
    TempDataFolder folder;
    KeyboardDatabase store;
    const char* models[] = {"A", "B"};
    for (const char* model : models) {
        ASSERT_TRUE(store.Open(folder.path(), model));
        ASSERT_EQ(store.AddProfile({.name = "first"}), 1);
    }

    std::atomic<int> writes{0};
    std::atomic<int> switches{0};
    std::atomic<bool> stop{false};
    std::vector<Attempt> attempts;

    std::thread worker([&] {
        for (int i = 0; !stop; ++i) {
            const std::string name = "w" + std::to_string(i);
            attempts.push_back({name, store.AddProfile({.name = name})});
            store.SaveKeyAssignment(
                {.profile = 1, .fn_layer = i % 3, .key_code = i % 40 + 1, .macro_value = i + 1});
            std::vector<KeyAssignment> keys;
            store.LoadKeyAssignments(1, i % 3, keys);
            std::string read_back;
            store.GetProfileName(attempts.back().id, read_back);
            if (i % 25 == 0) {
                store.DeleteProfileKeys(1);
                store.AddDefaultConfig();
                store.ReplaceCustomKeyLights({{.profile = 1, .light_id = 128, .key_code = i}});
                store.AddMacroRecords({{.macro_id = 1, .record_index = i}});
            }
            ++writes;
        }
    });

    while (switches < 150 || writes < 300) {
        const int n = switches;
        EXPECT_TRUE(store.Close());
        EXPECT_TRUE(store.Open(folder.path(), models[n % 2])) << store.LastError();
        EXPECT_EQ(store.State(), DatabaseState::kOpen);
        store.SetActiveProfile(1);
        store.GetActiveProfile();
        ++switches;
    }
    stop = true;
    worker.join();
    ASSERT_TRUE(store.Close());

    std::map<std::string, int> found[2];
    for (int m = 0; m < 2; ++m) {
        RawDb raw(folder.DbFile(models[m]));
        EXPECT_EQ(raw.Value("PRAGMA integrity_check"), "ok");
        for (const auto& row : raw.Query("SELECT name, profile FROM t_profile_data")) {
            found[m][row[0]] = std::stoi(row[1]);
        }
    }
    int written[2] = {0, 0};
    for (const auto& attempt : attempts) {
        const int copies =
            static_cast<int>(found[0].count(attempt.name) + found[1].count(attempt.name));
        if (attempt.id == 0) {
            EXPECT_EQ(copies, 0) << attempt.name << " failed but was written";
            continue;
        }
        ASSERT_EQ(copies, 1) << attempt.name << " was reported written";
        const int m = found[0].count(attempt.name) ? 0 : 1;
        EXPECT_EQ(found[m][attempt.name], attempt.id) << attempt.name;
        ++written[m];
    }
    // The writes really went on while the models changed.
    EXPECT_GT(written[0], 0);
    EXPECT_GT(written[1], 0);
}

} // namespace
