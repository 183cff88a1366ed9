#pragma once
// A recording WorkerHost and a worker wired to a simulated keyboard on a
// virtual clock, with a store in a temporary folder.

#include "app/Worker.h"
#include "device/SimulatedHidBackend.h"
#include "device/SimulatedKeyboard.h"

#include "../store/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kovrin::test {

class RecordingHost : public WorkerHost {
public:
    CommandSelection Selection() override {
        std::lock_guard lock(mutex_);
        return selection;
    }
    void SetWindowEnabled(bool enabled) override { Log(enabled ? "enable" : "disable"); }
    void ShowDeviceState(const DiscoveryResult& discovery, const DeviceState& state) override {
        Log(std::string("device ") + (discovery.device_present ? "present" : "absent") + " mode " +
            std::to_string(state.connection_mode));
    }
    void StartVisualizer() override { Log("visualizer"); }
    void ReloadMacroPage() override { Log("macros"); }
    void ReloadProfileList() override { Log("profiles"); }
    void ReloadKeyPage() override { Log("keys"); }
    void ReloadLightingPage(LightingReload how) override {
        Log(how == LightingReload::kResetControls ? "lighting reset" : "lighting");
    }
    void ReloadMusicLayers() override { Log("music"); }
    void KeysSynced(const KeySyncReport& report) override {
        std::lock_guard lock(mutex_);
        key_reports.push_back(report);
    }
    void FirmwareVersionRead(std::optional<int> version) override {
        Log("firmware " + (version ? std::to_string(*version) : std::string("none")));
    }
    std::optional<std::vector<KeyColour>> LiveKeyColours() override {
        std::lock_guard lock(mutex_);
        return live_colours;
    }

    std::vector<std::string> Events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }
    std::vector<KeySyncReport> KeyReports() const {
        std::lock_guard lock(mutex_);
        return key_reports;
    }
    void ClearEvents() {
        std::lock_guard lock(mutex_);
        events_.clear();
    }
    int Count(const std::string& event) const {
        std::lock_guard lock(mutex_);
        return static_cast<int>(std::count(events_.begin(), events_.end(), event));
    }

    // Set before the worker runs, or under the test's own ordering.
    CommandSelection selection;
    std::optional<std::vector<KeyColour>> live_colours;
    std::vector<KeySyncReport> key_reports;

private:
    void Log(std::string event) {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }

    mutable std::mutex mutex_;
    std::vector<std::string> events_;
};

inline constexpr std::uint16_t kWorkerVendor = 0x3A5C;

inline std::shared_ptr<const KeyboardLayout> WorkerLayout(int device_type,
                                                          std::uint32_t page_flags = 0x7F) {
    auto layout = std::make_shared<KeyboardLayout>();
    layout->device_type = device_type;
    layout->page_flags = page_flags;
    for (int code = 0x04; code <= 0x1D; ++code) {
        layout->key_index_map[code] = code - 0x04;
        layout->light_index_map[code] = code - 0x04;
    }
    return layout;
}

class WorkerRig {
public:
    // A keyboard of the device type is attached unless attach is false.
    explicit WorkerRig(int device_type, int connection_mode = 0, bool attach = true) {
        board.model_name = "Test";
        board.device_type = device_type;
        board.connection_mode = connection_mode;
        board.vendor_id = kWorkerVendor;
        board.product_id = 0x0300;
        keyboard = std::make_shared<SimulatedKeyboard>(board, clock);
        if (attach) {
            backend->Attach(keyboard);
        }
        manager.AddSupported(board.vendor_id, board.product_id, "", device_type, connection_mode,
                             "");
        ModelRecord mode;
        mode.device_type = device_type;
        mode.layout_name = "test";
        mode.mode = connection_mode;
        mode.vendor_id = board.vendor_id;
        mode.product_id = board.product_id;
        mode.interface_pattern = "VID_3A5C&PID_0300";
        modes.push_back(mode);
        layout.Set(WorkerLayout(device_type));
        if (!database.Open(folder.path(), "Test")) {
            ADD_FAILURE() << database.LastError();
        }
        worker = std::make_unique<Worker>(manager, database, layout, host, modes, clock);
    }
    ~WorkerRig() { worker->Stop(); }

    // Runs cycles on this thread until the queue is empty (at most `limit`).
    void Drain(int limit = 1000) {
        for (int i = 0; i < limit && !worker->Tasks().Empty(); ++i) {
            worker->RunCycle();
        }
        EXPECT_TRUE(worker->Tasks().Empty());
    }
    // TASK_START and what it queues.
    void Start() {
        worker->Queue(TASK_START);
        Drain();
        keyboard->ClearRecords();
        host.ClearEvents();
    }
    // Waits (really) until the running thread has emptied the queue.
    bool WaitUntilIdle(std::chrono::seconds timeout = std::chrono::seconds(30)) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (!worker->Tasks().Empty()) {
            if (std::chrono::steady_clock::now() > until) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    std::vector<std::vector<std::uint8_t>> SentWith(std::uint8_t command) const {
        std::vector<std::vector<std::uint8_t>> out;
        for (const RecordedReport& r : keyboard->Reports()) {
            if (r.kind != ReportKind::kGet && r.bytes.size() > 1 && r.bytes[1] == command) {
                out.push_back(r.bytes);
            }
        }
        return out;
    }
    void ExpectNoViolations() const {
        for (const Violation& v : keyboard->Violations()) {
            ADD_FAILURE() << "protocol violation at report " << v.report_index << ": " << v.text;
        }
    }
    int AddAssignment(int key_code, int type, int value) {
        KeyAssignment a;
        a.profile = 1;
        a.key_code = key_code;
        a.macro_type = type;
        a.macro_value = value;
        return database.SaveKeyAssignment(a);
    }
    int AddLight(int mode) {
        LightRow row;
        row.profile = 1;
        row.mode = mode;
        row.brightness = 3;
        row.speed = 2;
        row.direction = 1;
        row.color_value = 0x0000FF;
        return database.AddLight(row);
    }

    VirtualClock clock;
    SimulatedKeyboardDescription board;
    std::shared_ptr<SimulatedHidBackend> backend = std::make_shared<SimulatedHidBackend>();
    DeviceManager manager{backend, clock};
    std::shared_ptr<SimulatedKeyboard> keyboard;
    TempDataFolder folder;
    KeyboardDatabase database;
    SharedLayout layout;
    std::vector<ModelRecord> modes;
    RecordingHost host;
    std::unique_ptr<Worker> worker;
};

} // namespace kovrin::test
