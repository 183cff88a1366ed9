#pragma once
// Codes of the background worker's device tasks, and the protocol families.

namespace kovrin {

enum DeviceTask : int {
    TASK_START = 1,
    TASK_DEVICE_ARRIVED = 2,
    TASK_DEVICE_REMOVED = 3,
    TASK_REFRESH = 4,
    TASK_SYNC_ALL = 5,
    TASK_SYNC_KEYS = 6,
    TASK_SYNC_LIGHT = 7,
    TASK_SYNC_KEY_COLORS = 8,
    TASK_RESTORE = 10,
    TASK_CHECK_SOFTWARE = 12,
    TASK_CHECK_FIRMWARE = 13,
    TASK_UPDATE_SOFTWARE = 14,
    TASK_UPDATE_FIRMWARE = 15,
    TASK_RUN_FIRMWARE_TOOL = 16,
};

// Family A: device types 200 and below, output-report protocol.
// Family B: 201 to 299, feature-report protocol. 300 and above: neither.
enum class DeviceFamily { kA, kB, kNone };

constexpr DeviceFamily FamilyOf(int device_type) {
    if (device_type <= 200) {
        return DeviceFamily::kA;
    }
    return device_type <= 299 ? DeviceFamily::kB : DeviceFamily::kNone;
}

} // namespace kovrin
