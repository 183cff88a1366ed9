// The family B key sync on the simulated keyboard with the real clock: the
// pauses the protocol requires are the limit, so the time of a full sync of
// 20 assignments is compared with the sum of those pauses.

#include "device/KeyCommands.h"
#include "device/SimulatedHidBackend.h"
#include "device/SimulatedKeyboard.h"
#include "device/SlotSync.h"
#include "store/KeyboardDatabase.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace kovrin;
using std::chrono::milliseconds;

constexpr int kFunctionKeys = 10;
constexpr int kMacroKeys = 10;

// The pauses of a full sync on an empty keyboard: the slot table read (four
// replies 16 ms apart), then per function slot 16 ms and the 16 ms of its
// feature report, per macro slot 16 ms and 28 feature reports of 16 ms.
constexpr milliseconds kProtocolPauses = 4 * milliseconds(16) +
                                         kFunctionKeys * milliseconds(16 + 16) +
                                         kMacroKeys * milliseconds(16 + 28 * 16);

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
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A store with 10 function and 10 macro assignments on profile 1, layer 0.
void Fill(KeyboardDatabase& database) {
    for (int i = 0; i < kFunctionKeys; ++i) {
        KeyAssignment a;
        a.profile = 1;
        a.key_code = 0x04 + i;
        a.macro_type = kTypeKeyFunction;
        a.macro_value = 0xE9 + i;
        database.SaveKeyAssignment(a);
    }
    for (int i = 0; i < kMacroKeys; ++i) {
        MacroRow macro;
        macro.name = std::to_string(i);
        macro.play_times = 1;
        const int id = database.InsertMacro(macro);
        std::vector<MacroRecordRow> records;
        for (int r = 0; r < 8; ++r) {
            MacroRecordRow record;
            record.macro_id = id;
            record.type = r % 2 == 0 ? 2 : 3;
            record.record_index = r;
            record.value = 'A' + r / 2;
            record.delay_time = 30;
            records.push_back(record);
        }
        database.AddMacroRecords(records);
        KeyAssignment a;
        a.profile = 1;
        a.key_code = 0x20 + i;
        a.macro_type = kTypeMacro;
        a.macro_value = id;
        database.SaveKeyAssignment(a);
    }
}

SimulatedKeyboardDescription BenchKeyboard() {
    SimulatedKeyboardDescription board;
    board.model_name = "Bench";
    board.device_type = 201;
    board.vendor_id = 0x3A5C;
    board.product_id = 0x0201;
    return board;
}

// The same sync on a virtual clock: what the code asks to sleep.
milliseconds PausesAsked(KeyboardDatabase& database) {
    VirtualClock clock;
    auto backend = std::make_shared<SimulatedHidBackend>();
    backend->Attach(std::make_shared<SimulatedKeyboard>(BenchKeyboard(), clock));
    DeviceManager manager(backend, clock);
    manager.AddSupported(0x3A5C, 0x0201, "", 201, 0, "");
    manager.EnumerateAndOpen();
    manager.SelectType(201);
    SyncKeySlots({manager, database, nullptr}, {1, 0}, std::nullopt);
    milliseconds total{0};
    for (const VirtualClock::Sleep& s : clock.Sleeps()) {
        total += s.length;
    }
    return total;
}

void BM_FamilyBFullKeySync20(benchmark::State& state) {
    BenchFolder folder;
    KeyboardDatabase database;
    if (!database.Open(folder.path(), "Bench")) {
        state.SkipWithError("cannot open the store");
        return;
    }
    Fill(database);
    if (PausesAsked(database) != kProtocolPauses) {
        state.SkipWithError("the sync asks for other pauses than the protocol's");
        return;
    }

    RealClock& clock = RealClock::Instance();
    auto backend = std::make_shared<SimulatedHidBackend>();
    DeviceManager manager(backend, clock);
    manager.AddSupported(0x3A5C, 0x0201, "", 201, 0, "");
    std::shared_ptr<SimulatedKeyboard> keyboard;
    std::chrono::duration<double, std::milli> measured{0};
    std::int64_t runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A keyboard with empty slots for every run.
        if (keyboard) {
            backend->Detach(keyboard);
        }
        keyboard = std::make_shared<SimulatedKeyboard>(BenchKeyboard(), clock);
        backend->Attach(keyboard);
        manager.CloseAll();
        manager.EnumerateAndOpen();
        manager.SelectType(201);
        state.ResumeTiming();

        const auto start = std::chrono::steady_clock::now();
        const SlotSyncResult result = SyncKeySlots({manager, database, nullptr}, {1, 0}, {});
        measured += std::chrono::steady_clock::now() - start;
        ++runs;
        benchmark::DoNotOptimize(result);
        if (result.writes.size() != kFunctionKeys + kMacroKeys || !keyboard->Violations().empty()) {
            state.SkipWithError("the sync did not reach the keyboard whole");
            return;
        }
    }
    const double per_run = measured.count() / static_cast<double>(runs);
    const double protocol = static_cast<double>(kProtocolPauses.count());
    state.counters["protocol_ms"] = protocol;
    state.counters["sync_ms"] = per_run;
    state.counters["overhead_pct"] = 100.0 * (per_run - protocol) / protocol;
}
BENCHMARK(BM_FamilyBFullKeySync20)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The encoders alone: the 28 reports of a full macro slot.
void BM_MacroSlotEncoding(benchmark::State& state) {
    MacroRow macro;
    macro.play_times = 3;
    std::vector<MacroRecordRow> records(82, MacroRecordRow{0, 0, 2, 0, 'K', 120, ""});
    for (auto _ : state) {
        const MacroBlock block = MacroSlotBlock(5, 0x20, kTypeMacro, 1, macro, records);
        benchmark::DoNotOptimize(MacroSlotReports(block));
    }
}
BENCHMARK(BM_MacroSlotEncoding);

} // namespace

BENCHMARK_MAIN();
