#pragma once
// The background worker: one thread that runs the queued device tasks one at
// a time, in order, and streams live key colours when nothing is queued.
// Every 16 ms (through the clock) it takes the front task, runs it and only
// then removes it. Pages store their change, queue a task and, for the longer
// ones, a wait token that the worker finishes when the task ends or is
// dropped.
//
// Gate: tasks other than TASK_START, TASK_DEVICE_ARRIVED/REMOVED and
// TASK_CHECK_SOFTWARE run only while a keyboard is open and a catalogue model
// matched it; otherwise they are dropped, not deferred.

#include "app/CThreadBasic.h"
#include "app/DeviceTasks.h"
#include "app/TaskQueue.h"
#include "app/WorkerHost.h"
#include "device/ColourCommands.h"
#include "device/DeviceDiscovery.h"
#include "device/LayoutLoader.h"
#include "store/KeyboardDatabase.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kovrin {

class Worker final : public CThreadBasic {
public:
    // Pause after the key, light, colour and restore tasks.
    static constexpr std::chrono::milliseconds kAfterTaskPause{100};

    // modes: the catalogue's mode list; the worker keeps it and marks the
    // modes present at each opening.
    Worker(DeviceManager& manager, KeyboardDatabase& database, SharedLayout& layout,
           WorkerHost& host, std::vector<ModelRecord> modes, Clock& clock);
    ~Worker() override;

    // ---- Any thread ----

    void Queue(int code, std::shared_ptr<WaitToken> wait = nullptr);
    // TASK_SYNC_KEYS for one key (family B syncs only that key's slot).
    void QueueKeySync(int key_code, std::shared_ptr<WaitToken> wait = nullptr);
    void Queue(QueuedTask task);
    const TaskQueue& Tasks() const { return queue_; }

    // A hot-plug notification: matches it against the modes and queues
    // TASK_DEVICE_ARRIVED or TASK_DEVICE_REMOVED.
    HotplugDecision OnHotplug(HotplugAction action, const std::string& interface_name);

    // The lighting page picked another mode: the next family A light task
    // sends the mode command instead of the parameters.
    void RequestLightMode();
    bool LightModePending() const;

    struct Status {
        bool started = false; // TASK_START has run
        DeviceState device;   // of the last opening
        std::uint64_t openings = 0;
    };
    Status GetStatus() const;
    std::vector<ModelRecord> Modes() const;

    // For a caller that opened the devices itself (kovrinctl): takes the
    // result as if a TASK_DEVICE_ARRIVED had produced it, without queueing
    // what the opening asks for.
    void AdoptDeviceState(const DiscoveryResult& discovery, const DeviceState& state);

    // One cycle on the calling thread: the front task, or the idle stream.
    // The thread runs it every 16 ms; tests and kovrinctl call it directly.
    void RunCycle();

protected:
    void Run() override { RunCycle(); }
    // Tasks queued, or live colours streamed at the last idle cycle.
    bool HasWork() override;

private:
    // Opens the devices again and applies the result.
    void Reopen();
    void RunTask(const QueuedTask& task);
    void RunGated(const QueuedTask& task, TaskEnvironment& env);
    void Idle();
    bool GateOpen() const;
    // The device type the commands use: the loaded layout's; nullopt when it
    // is not of the family of the keyboard the commands go to.
    std::optional<int> CommandDeviceType(const KeyboardLayout& layout) const;
    TaskEnvironment Environment(std::shared_ptr<const KeyboardLayout> layout, int device_type);

    DeviceManager& manager_;
    KeyboardDatabase& database_;
    SharedLayout& layout_;
    WorkerHost& host_;
    Clock& clock_;
    TaskQueue queue_;

    mutable std::mutex state_mutex_; // guards modes_ and status_
    std::vector<ModelRecord> modes_;
    Status status_;

    std::atomic<std::uint64_t> light_mode_requests_{0};
    std::atomic<std::uint64_t> light_mode_served_{0};

    // Worker thread only.
    StreamState stream_;
    std::uint64_t stream_opening_ = 0;
    bool streaming_ = false;
};

} // namespace kovrin
