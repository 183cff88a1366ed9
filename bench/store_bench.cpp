// The settings store on a real file: loading a profile's key assignments and
// writing a full set of per-key colours.

#include "store/KeyboardDatabase.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using kovrin::KeyAssignment;
using kovrin::KeyboardDatabase;
using kovrin::KeyLightRow;

// A data folder with a db/ folder, removed afterwards.
class BenchFolder {
public:
    BenchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kovrin-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern + "/";
            std::filesystem::create_directories(path_ + "db");
        }
    }
    ~BenchFolder() {
        std::error_code ec;
        if (!path_.empty()) {
            std::filesystem::remove_all(path_, ec);
        }
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// 200 assignments on layer 0 of profile 2, among those of two other profiles.
void BM_LoadProfileKeys200(benchmark::State& state) {
    BenchFolder folder;
    KeyboardDatabase store;
    if (!store.Open(folder.path(), "Bench")) {
        state.SkipWithError(store.LastError().c_str());
        return;
    }
    for (int profile = 1; profile <= 3; ++profile) {
        for (int key = 1; key <= 200; ++key) {
            store.SaveKeyAssignment({.profile = profile,
                                     .fn_layer = 0,
                                     .key_code = key,
                                     .layout_value = key,
                                     .layout_desc = "Key " + std::to_string(key),
                                     .macro_type = 1,
                                     .macro_value = key + 1,
                                     .macro_desc = "Function " + std::to_string(key)});
        }
    }
    std::vector<KeyAssignment> rows;
    for (auto _ : state) {
        if (store.LoadKeyAssignments(2, 0, rows) != 200) {
            state.SkipWithError("wrong row count");
            break;
        }
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_LoadProfileKeys200)->Unit(benchmark::kMicrosecond);

// The per-key colour set replaced as the lighting page does it: the old set
// removed and 600 colours written, in one transaction.
void BM_WriteKeyColours600(benchmark::State& state) {
    BenchFolder folder;
    KeyboardDatabase store;
    if (!store.Open(folder.path(), "Bench")) {
        state.SkipWithError(store.LastError().c_str());
        return;
    }
    std::vector<KeyLightRow> rows(600);
    for (int i = 0; i < 600; ++i) {
        rows[static_cast<std::size_t>(i)] = {.profile = 1,
                                             .light_id = KeyboardDatabase::kCustomLightId,
                                             .key_code = i,
                                             .key_rgb = i * 997};
    }
    for (auto _ : state) {
        if (!store.ReplaceCustomKeyLights(rows)) {
            state.SkipWithError("write failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * 600);
}
BENCHMARK(BM_WriteKeyColours600)->Unit(benchmark::kMicrosecond);

// The same 600 rows through AddKeyLights alone (one transaction, no delete).
void BM_AddKeyLights600(benchmark::State& state) {
    BenchFolder folder;
    KeyboardDatabase store;
    if (!store.Open(folder.path(), "Bench")) {
        state.SkipWithError(store.LastError().c_str());
        return;
    }
    std::vector<KeyLightRow> rows(600);
    for (int i = 0; i < 600; ++i) {
        rows[static_cast<std::size_t>(i)] = {
            .profile = 1, .light_id = KeyboardDatabase::kCustomLightId, .key_code = i};
    }
    for (auto _ : state) {
        if (store.AddKeyLights(rows) != 600) {
            state.SkipWithError("write failed");
            break;
        }
        state.PauseTiming();
        store.DeleteCustomKeyLights();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 600);
}
BENCHMARK(BM_AddKeyLights600)->Unit(benchmark::kMicrosecond);

} // namespace
