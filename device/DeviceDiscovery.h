#pragma once
// The device half of re-opening the keyboards (run by the worker on start and
// after every hot-plug event) and the matching of hot-plug notifications
// against the catalogue's mode list.

#include "device/DeviceManager.h"
#include "device/HotplugMonitor.h"
#include "device/ModelRecord.h"

#include <string>
#include <vector>

namespace kovrin {

struct DiscoveryResult {
    bool device_present = false;            // at least one command collection is open
    bool model_matched = false;             // a catalogue mode entry matched an open device
    std::vector<std::size_t> present_modes; // indices into the mode list now present
    std::vector<int> present_device_types;  // device types to mark in the device selector
};

// Closes everything, enumerates and opens again, and marks the mode entries
// whose device is open (present = 1; the others 0).
DiscoveryResult OpenDevices(DeviceManager& manager, std::vector<ModelRecord>& modes);

struct DeviceState {
    bool device_present = false;
    bool model_matched = false;
    int selected_type = 0;
    int connection_mode = -1; // 0, 1, 2, or -1 without a device
    std::vector<int> tasks;   // to queue, in order
};

// Selects the device type commands go to and says what to queue: the firmware
// check and the full sync, except for a wireless connection (mode 1 or 2)
// whose model did not match, which queues nothing.
DeviceState ApplyDeviceState(DeviceManager& manager, const DiscoveryResult& discovery);

struct HotplugDecision {
    int task = 0;        // TASK_DEVICE_ARRIVED, TASK_DEVICE_REMOVED or 0
    int mode_index = -1; // the mode entry that matched
};

// An interface name (any case) arriving or leaving. Arrival: the first mode
// entry whose pattern occurs in the upper-case name (an empty pattern occurs
// in every name). Removal: the first such entry that is present; it is
// marked not present. Bluetooth HID service names are ignored.
HotplugDecision MatchHotplug(HotplugAction action, const std::string& interface_name,
                             std::vector<ModelRecord>& modes);

} // namespace kovrin
