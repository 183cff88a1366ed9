#pragma once
// What the background worker needs from the main window: the user's current
// choices, and the page reloads and window effects of the tasks. The worker
// never touches a window or a control; the main window implements this and
// posts what must happen on the UI thread. Every call comes from the worker
// thread.

#include "device/ColourCommands.h"
#include "device/CommandReports.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceTask.h"

#include <optional>
#include <vector>

namespace kovrin {

// The selection the next task sends: the current profile and Fn layer, and
// the light profile, its current light mode and the lighting page's preset
// combo selection.
struct CommandSelection {
    KeySelection keys;
    LightSelection light;
};

enum class LightingReload {
    kKeepControls,
    kResetControls, // first entries and a brightness of 100 (after a cable reset)
};

// What a key sync did not get onto the keyboard, for the key page to tell.
struct KeySyncReport {
    DeviceFamily family = DeviceFamily::kNone;
    std::optional<int> single_key;
    bool slot_table_read = false;      // family B
    bool macro_upload_stopped = false; // family A: a report failed
    std::vector<int> not_sent;         // keys whose function is not on the keyboard
};

class WorkerHost {
public:
    virtual ~WorkerHost() = default;

    // Read at the start of each task.
    virtual CommandSelection Selection() = 0;
    // Off while a device task runs: the window refuses input.
    virtual void SetWindowEnabled(bool enabled) = 0;
    // After each opening of the devices, before the tasks it asks for are
    // queued.
    virtual void ShowDeviceState(const DiscoveryResult& discovery, const DeviceState& state) = 0;
    // Once per run, after the first opening.
    virtual void StartVisualizer() = 0;

    // Page reloads. The pages read the store again and queue their own tasks.
    virtual void ReloadMacroPage() = 0;
    virtual void ReloadProfileList() = 0; // with the key page of the selected profile
    virtual void ReloadKeyPage() = 0;
    virtual void ReloadLightingPage(LightingReload how) = 0;
    virtual void ReloadMusicLayers() = 0;

    virtual void KeysSynced(const KeySyncReport& report) { (void)report; }
    // nullopt when the keyboard did not answer.
    virtual void FirmwareVersionRead(std::optional<int> version) { (void)version; }
    // The lighting page's key colours to stream now, when it is shown with
    // music or screen lighting; nullopt otherwise. An idle worker does not
    // ask: when colours become available, call Worker::Wake().
    virtual std::optional<std::vector<KeyColour>> LiveKeyColours() { return std::nullopt; }
};

} // namespace kovrin
