#pragma once
// Light commands: family A mode and parameters (CMD_LIGHT_MODE,
// CMD_LIGHT_PARAMS) and its on-board preset (CMD_LIGHT_PRESET), family B
// light setting (CMD_LIGHT_SET and its 64-byte form), and the music level
// (CMD_MUSIC_LEVEL).

#include "device/CommandReports.h"
#include "store/StoreRows.h"

namespace kovrin {

// The preset (custom slot) selection travels only for per-key modes.
std::uint8_t PresetByte(const LightRow& row, int preset);

OutputReport LightModeReport(const LightRow& row);
OutputReport LightParamsReport(const LightRow& row);
FeatureReport LightPresetReport(const LightRow& row, int preset);
// Mode 4 carries its colour instead of direction, speed and preset; mode 9
// (short form only) carries the speed as stored.
FeatureReport LightSetReport(const LightRow& row, int preset);
DataReport LightSetLongReport(const LightRow& row, int preset);

// Wireless connections take the 64-byte forms.
constexpr bool LongForms(int connection_mode) {
    return connection_mode == 1 || connection_mode == 2;
}

enum class LightSent {
    kNothing, // no row for the mode, or a device type that takes no light command
    kMode,
    kParams,
    kSet,
    kSetLong,
};

// TASK_SYNC_LIGHT: the row of (profile, mode) as the family's command. On
// family A, send_mode chooses the mode command over the parameters.
LightSent SendLight(const CommandContext& context, const LightSelection& selection, int device_type,
                    int connection_mode, bool send_mode);
// CMD_LIGHT_PRESET for device types below 200; false when nothing was sent.
bool SendLightPreset(const CommandContext& context, const LightSelection& selection,
                     int device_type);

// The music page's choices.
struct MusicLevelSettings {
    int effect = 1;
    int colour = 0;
    float gain = 1.0f;
};

// min(trunc(level x gain), 255); 0 when the product is not a number, negative
// or too large for an int.
std::uint8_t MusicLevelByte(int level, float gain);
FeatureReport MusicLevelFeatureReport(const MusicLevelSettings& settings, int level);

enum class MusicLevelSent { kSent, kFailed, kBusy };

// Sent without a pause; dropped (kBusy) while another command sequence runs,
// so the capture thread never waits for the keyboard.
MusicLevelSent SendMusicLevel(DeviceManager& manager, const MusicLevelSettings& settings,
                              int level);

} // namespace kovrin
