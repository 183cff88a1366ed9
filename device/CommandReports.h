#pragma once
// What every keyboard command shares: the report buffers as the transport
// takes them (byte 0 is the report id), the command bytes, and what a sender
// works with.

#include "device/DeviceManager.h"
#include "device/KeyboardLayout.h"
#include "store/KeyboardDatabase.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>

namespace kovrin {

using FeatureReport = std::array<std::uint8_t, DeviceManager::kFeatureLength>;
using OutputReport = std::array<std::uint8_t, DeviceManager::kOutputLength>;
// The 64 data bytes of WriteData64 (the transport puts report id 0 before them).
using DataReport = std::array<std::uint8_t, 64>;

inline constexpr std::uint8_t kFeatureReportId = 0x07;

// Command bytes (report byte 1).
inline constexpr std::uint8_t CMD_KEY_MAP = 0x8D;
inline constexpr std::uint8_t CMD_MACRO = 0x8E;
inline constexpr std::uint8_t CMD_KEY_COLORS = 0x8B;
inline constexpr std::uint8_t CMD_LIGHT_MODE = 0x88;
inline constexpr std::uint8_t CMD_LIGHT_PARAMS = 0x89;
inline constexpr std::uint8_t CMD_LIGHT_PRESET = 0xFF;
inline constexpr std::uint8_t CMD_FACTORY_RESET = 0xFF;
inline constexpr std::uint8_t CMD_STREAM_ENABLE = 0xF0;
inline constexpr std::uint8_t CMD_STREAM_FRAME = 0xF1;
inline constexpr std::uint8_t CMD_READ_SLOTS = 0xFB;
inline constexpr std::uint8_t CMD_KEY_SLOT = 0xFA;
inline constexpr std::uint8_t CMD_MACRO_SLOT = 0xF1;
inline constexpr std::uint8_t CMD_MACRO_SLOT_DATA = 0x00;
inline constexpr std::uint8_t CMD_LIGHT_SET = 0xF7;
inline constexpr std::uint8_t CMD_RESET = 0xF0;
inline constexpr std::uint8_t CMD_MUSIC_LEVEL = 0x23;
inline constexpr std::uint8_t CMD_READ_VERSION = 0xFD;
// Leading data bytes of the 64-byte light and reset forms.
inline constexpr std::array<std::uint8_t, 4> kData64Marker = {0xBB, 0xAA, 0x99, 0x88};

// Pauses of the command sequences (the transport adds its own).
inline constexpr std::chrono::milliseconds kKeyMapPause{10};
inline constexpr std::chrono::milliseconds kMacroPause{10};
inline constexpr std::chrono::milliseconds kMacroChunkPause{100};
inline constexpr std::chrono::milliseconds kKeyMapAfterMacrosPause{20};
inline constexpr std::chrono::milliseconds kColourChunkPause{1};
inline constexpr std::chrono::milliseconds kSlotPause{16};
inline constexpr std::chrono::milliseconds kSingleKeyPause{100};
inline constexpr std::chrono::milliseconds kResetPause{100};
inline constexpr std::chrono::milliseconds kLongResetPause{1600};

// Function kinds of a key assignment (macro_type) that the commands tell apart.
inline constexpr int kTypeDefault = 0;
inline constexpr int kTypeDisabled = 1;
inline constexpr int kTypeKeyFunction = 2;
inline constexpr int kTypeMacro = 3;
inline constexpr int kTypeShortcut = 7;

inline constexpr bool UsesMacroSlot(int macro_type) {
    return macro_type == kTypeMacro || macro_type == kTypeShortcut;
}

// The store, the layout snapshot and the transport a sender works with. The
// layout is the one the task started with; a null layout has no keys.
struct CommandContext {
    DeviceManager& manager;
    KeyboardDatabase& database;
    std::shared_ptr<const KeyboardLayout> layout;

    Clock& clock() const { return manager.GetClock(); }
    void Pause(std::chrono::milliseconds pause) const { clock().SleepFor(pause); }
};

// Whose keys a key command sends.
struct KeySelection {
    int profile = 1;
    int fn_layer = 0;
};

// Which light row a light command sends, and the lighting page's preset
// (custom slot) selection.
struct LightSelection {
    int profile = 1;
    int mode = 0;
    int preset = 0;
};

inline constexpr std::uint8_t LowByte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}
inline constexpr std::uint8_t ByteOf(std::uint32_t value, int index) {
    return static_cast<std::uint8_t>((value >> (8 * index)) & 0xFF);
}

} // namespace kovrin
