#include "device/DeviceDiscovery.h"

#include "device/DeviceTask.h"
#include "device/HotplugNames.h"

#include <algorithm>
#include <cctype>

namespace kovrin {

namespace {

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

} // namespace

DiscoveryResult OpenDevices(DeviceManager& manager, std::vector<ModelRecord>& modes) {
    DiscoveryResult result;
    // No report goes out while the devices and the selection change.
    DeviceManager::Exchange exchange = manager.BeginExchange();
    manager.CloseAll();
    manager.EnumerateAndOpen();
    manager.SelectType(0);
    std::vector<DeviceEntryInfo> entries;
    manager.Collect(entries);
    for (std::size_t i = 0; i < modes.size(); ++i) {
        ModelRecord& mode = modes[i];
        mode.present = 0;
        if (manager.FindEntry(mode.vendor_id, mode.product_id, mode.name, mode.mode) < 0) {
            continue;
        }
        result.model_matched = true;
        mode.present = 1;
        result.present_modes.push_back(i);
        if (std::find(result.present_device_types.begin(), result.present_device_types.end(),
                      mode.device_type) == result.present_device_types.end()) {
            result.present_device_types.push_back(mode.device_type);
        }
    }
    result.device_present = !entries.empty();
    return result;
}

DeviceState ApplyDeviceState(DeviceManager& manager, const DiscoveryResult& discovery) {
    DeviceState state;
    state.device_present = discovery.device_present;
    state.model_matched = discovery.model_matched;
    if (!discovery.device_present) {
        return state;
    }
    DeviceManager::Exchange exchange = manager.BeginExchange();
    // Commands go to the device type of the first opened keyboard, so that a
    // family A keyboard is reachable as well as a family B one.
    const std::vector<DeviceEntryInfo> entries = manager.AllEntries();
    state.selected_type = entries.empty() ? 201 : entries.front().device_type;
    manager.SelectType(state.selected_type);
    state.connection_mode = manager.ConnectionModeOf();
    const bool wireless = state.connection_mode == 1 || state.connection_mode == 2;
    if (!wireless || discovery.model_matched) {
        state.tasks = {TASK_CHECK_FIRMWARE, TASK_SYNC_ALL};
    }
    return state;
}

HotplugDecision MatchHotplug(HotplugAction action, const std::string& interface_name,
                             std::vector<ModelRecord>& modes) {
    const std::string name = Upper(interface_name);
    if (name.find(kBluetoothHidService) != std::string::npos) {
        return {};
    }
    for (std::size_t i = 0; i < modes.size(); ++i) {
        ModelRecord& mode = modes[i];
        if (name.find(mode.interface_pattern) == std::string::npos) {
            continue;
        }
        if (action == HotplugAction::kArrival) {
            return {TASK_DEVICE_ARRIVED, static_cast<int>(i)};
        }
        if (mode.present) {
            mode.present = 0;
            return {TASK_DEVICE_REMOVED, static_cast<int>(i)};
        }
    }
    return {};
}

} // namespace kovrin
