#pragma once
// Returning a keyboard to its factory state (CMD_FACTORY_RESET on family A,
// CMD_RESET and its 64-byte form CMD_RESET_LONG on family B), and reading its
// firmware version (CMD_READ_VERSION).

#include "device/CommandReports.h"

#include <optional>

namespace kovrin {

OutputReport FactoryResetReport();
FeatureReport ResetReport();
// The long form: a request, 1600 ms, then the confirmation.
DataReport LongResetRequest();
DataReport LongResetConfirmation();

enum class ResetSent { kNothing, kFactoryReset, kReset, kLongReset };

// The reset of the device type's family with the pauses that follow it
// (100 ms; the long form waits 1600 ms between its two reports). Device types
// 300 and above send nothing.
ResetSent SendReset(const CommandContext& context, int device_type, int connection_mode);

// Reply byte 1 x 256 + reply byte 2; nullopt when the keyboard did not answer.
std::optional<int> QueryFirmwareVersion(DeviceManager& manager);

} // namespace kovrin
