#include "app/Worker.h"

#include "device/DeviceTask.h"

namespace kovrin {

namespace {

bool PausesAfter(int code) {
    return code == TASK_SYNC_KEYS || code == TASK_SYNC_LIGHT || code == TASK_SYNC_KEY_COLORS ||
           code == TASK_RESTORE;
}

void FinishWait(const QueuedTask& task) {
    if (task.wait) {
        task.wait->Finish();
    }
}

// Disables the window for the life of the object.
class WindowDisabled {
public:
    explicit WindowDisabled(WorkerHost& host) : host_(host) { host_.SetWindowEnabled(false); }
    ~WindowDisabled() { host_.SetWindowEnabled(true); }
    WindowDisabled(const WindowDisabled&) = delete;
    WindowDisabled& operator=(const WindowDisabled&) = delete;

private:
    WorkerHost& host_;
};

} // namespace

Worker::Worker(DeviceManager& manager, KeyboardDatabase& database, SharedLayout& layout,
               WorkerHost& host, std::vector<ModelRecord> modes, Clock& clock)
    : CThreadBasic(clock), manager_(manager), database_(database), layout_(layout), host_(host),
      clock_(clock), modes_(std::move(modes)) {}

Worker::~Worker() {
    Stop();
}

void Worker::Queue(int code, std::shared_ptr<WaitToken> wait) {
    Queue(QueuedTask{code, std::nullopt, std::move(wait)});
}

void Worker::QueueKeySync(int key_code, std::shared_ptr<WaitToken> wait) {
    Queue(QueuedTask{TASK_SYNC_KEYS, key_code, std::move(wait)});
}

void Worker::Queue(QueuedTask task) {
    queue_.Push(std::move(task));
    Wake();
}

bool Worker::HasWork() {
    return !queue_.Empty() || streaming_;
}

HotplugDecision Worker::OnHotplug(HotplugAction action, const std::string& interface_name) {
    HotplugDecision decision;
    {
        std::lock_guard lock(state_mutex_);
        decision = MatchHotplug(action, interface_name, modes_);
    }
    if (decision.task != 0) {
        Queue(decision.task);
    }
    return decision;
}

void Worker::RequestLightMode() {
    ++light_mode_requests_;
}

bool Worker::LightModePending() const {
    return light_mode_requests_.load() != light_mode_served_.load();
}

Worker::Status Worker::GetStatus() const {
    std::lock_guard lock(state_mutex_);
    return status_;
}

std::vector<ModelRecord> Worker::Modes() const {
    std::lock_guard lock(state_mutex_);
    return modes_;
}

void Worker::AdoptDeviceState(const DiscoveryResult& discovery, const DeviceState& state) {
    std::lock_guard lock(state_mutex_);
    for (std::size_t i = 0; i < modes_.size(); ++i) {
        modes_[i].present = 0;
    }
    for (std::size_t i : discovery.present_modes) {
        if (i < modes_.size()) {
            modes_[i].present = 1;
        }
    }
    status_.device = state;
    ++status_.openings;
}

void Worker::Reopen() {
    std::vector<ModelRecord> modes = Modes();
    const DiscoveryResult discovery = OpenDevices(manager_, modes);
    const DeviceState state = ApplyDeviceState(manager_, discovery);
    AdoptDeviceState(discovery, state);
    host_.ShowDeviceState(discovery, state);
    for (int task : state.tasks) {
        Queue(task);
    }
}

bool Worker::GateOpen() const {
    std::lock_guard lock(state_mutex_);
    return status_.device.device_present && status_.device.model_matched;
}

std::optional<int> Worker::CommandDeviceType(const KeyboardLayout& layout) const {
    const int selected = GetStatus().device.selected_type;
    if (selected != 0 && FamilyOf(selected) != FamilyOf(layout.device_type)) {
        // A layout of the other protocol: its commands would mean nothing to
        // this keyboard. The main window loads the right one on the device
        // state it was shown.
        return std::nullopt;
    }
    return layout.device_type;
}

TaskEnvironment Worker::Environment(std::shared_ptr<const KeyboardLayout> layout, int device_type) {
    return TaskEnvironment{CommandContext{manager_, database_, std::move(layout)}, host_,
                           host_.Selection(), device_type, GetStatus().device.connection_mode};
}

void Worker::RunCycle() {
    const std::optional<QueuedTask> task = queue_.Front();
    if (!task) {
        Idle();
        return;
    }
    RunTask(*task);
    queue_.PopFront();
}

void Worker::RunTask(const QueuedTask& task) {
    switch (task.code) {
    case TASK_START: {
        bool first = false;
        {
            std::lock_guard lock(state_mutex_);
            first = !status_.started;
            status_.started = true;
        }
        if (first) {
            {
                WindowDisabled disabled(host_);
                Reopen();
            }
            host_.StartVisualizer();
        }
        FinishWait(task);
        return;
    }
    case TASK_DEVICE_ARRIVED:
    case TASK_DEVICE_REMOVED: {
        {
            WindowDisabled disabled(host_);
            Reopen();
        }
        FinishWait(task);
        return;
    }
    case TASK_CHECK_SOFTWARE:
        // The software version check comes with the online update.
        FinishWait(task);
        return;
    default:
        break;
    }

    if (!GateOpen()) {
        FinishWait(task);
        return;
    }
    const std::shared_ptr<const KeyboardLayout> layout = layout_.Get();
    const std::optional<int> device_type = CommandDeviceType(*layout);
    WindowDisabled disabled(host_);
    if (device_type) {
        TaskEnvironment env = Environment(layout, *device_type);
        RunGated(task, env);
    }
    FinishWait(task);
    if (PausesAfter(task.code)) {
        clock_.SleepFor(kAfterTaskPause);
    }
}

void Worker::RunGated(const QueuedTask& task, TaskEnvironment& env) {
    switch (task.code) {
    case TASK_SYNC_ALL:
        RunSyncAll(env, env.context.layout->page_flags);
        return;
    case TASK_SYNC_KEYS:
        RunSyncKeys(env, task.key_code);
        return;
    case TASK_SYNC_LIGHT: {
        const std::uint64_t requests = light_mode_requests_.load();
        const bool send_mode = requests != light_mode_served_.load();
        const LightSent sent = RunSyncLight(env, send_mode);
        if (sent == LightSent::kMode || sent == LightSent::kParams) {
            light_mode_served_ = requests;
        }
        return;
    }
    case TASK_SYNC_KEY_COLORS:
        RunSyncKeyColours(env);
        return;
    case TASK_RESTORE:
        RunRestore(env);
        return;
    case TASK_CHECK_FIRMWARE:
        RunCheckFirmware(env);
        return;
    case TASK_REFRESH:
        // Nothing to send: the window is disabled and enabled again.
        return;
    case TASK_UPDATE_SOFTWARE:
    case TASK_UPDATE_FIRMWARE:
    case TASK_RUN_FIRMWARE_TOOL:
        // The downloads and the firmware tool come with the online update.
        return;
    default:
        return;
    }
}

void Worker::Idle() {
    streaming_ = false;
    const Status status = GetStatus();
    if (!status.device.device_present) {
        return;
    }
    if (stream_opening_ != status.openings) {
        // A replugged keyboard has forgotten the stream enable.
        stream_ = {};
        stream_opening_ = status.openings;
    }
    const std::optional<std::vector<KeyColour>> colours = host_.LiveKeyColours();
    if (!colours) {
        return;
    }
    const std::shared_ptr<const KeyboardLayout> layout = layout_.Get();
    const std::optional<int> device_type = CommandDeviceType(*layout);
    if (!device_type) {
        return;
    }
    streaming_ = true;
    StreamColours(CommandContext{manager_, database_, layout}, *colours, *device_type,
                  status.device.connection_mode, stream_);
}

} // namespace kovrin
