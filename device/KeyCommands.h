#pragma once
// Family A key commands: the key map (CMD_KEY_MAP) and the macro upload
// (CMD_MACRO) that comes before it. The encoders build bytes from rows and
// the layout; the senders read the store and send through the transport.

#include "device/CommandReports.h"
#include "store/StoreRows.h"

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace kovrin {

inline constexpr std::size_t kKeyMapSize = 360;
inline constexpr int kKeyMapReports = 4;
inline constexpr std::size_t kMacroBufferSize = 1200;
inline constexpr std::size_t kMacroChunkPayload = 59;
// B[1] holds the step count in one byte: a longer macro is cut here.
inline constexpr int kMaxMacroSteps = 255;

using KeyMapTable = std::array<std::uint8_t, kKeyMapSize>;
// Key code -> macro number given by the last upload.
using MacroNumbers = std::map<int, int>;

// Offset of the key's two bytes in the key map; nullopt when the layout has no
// index for the code or the bytes would fall outside the table.
std::optional<std::size_t> KeyMapOffset(const KeyboardLayout* layout, int key_code);

struct KeyMapBuild {
    KeyMapTable table{};
    std::vector<int> skipped_keys; // rows with a function but no place in the table
};

// Function (2): value, 0x20; key function 1: 00 20; macro or shortcut (3, 7)
// with a number from the upload: number, 0x40; anything else: 00 00.
KeyMapBuild BuildKeyMap(std::span<const KeyAssignment> rows, const KeyboardLayout* layout,
                        const MacroNumbers& numbers);
// Four reports of 60, 60, 60 and 40 bytes at offsets 0, 60, 120, 180.
std::array<OutputReport, kKeyMapReports> KeyMapReports(const KeyMapTable& table);

// The reports of one recorded macro: play count (clamped to 1..255, 1 without
// a macro row), step count and three bytes per press or release from the
// records, in chunks of 59 bytes. At most kMaxMacroSteps records are taken.
std::vector<OutputReport> MacroReports(int macro_number, std::optional<int> play_times,
                                       std::span<const MacroRecordRow> records);
// The report of a built-in shortcut (no steps for values outside 1..15).
OutputReport ShortcutMacroReport(int macro_number, int shortcut_value);

struct MacroUploadResult {
    MacroNumbers numbers;
    // A report failed after its retry: the macros after it were not sent.
    bool stopped = false;
    // Macro and shortcut keys without a place in the key map: not uploaded.
    std::vector<int> skipped_keys;
};

// Uploads the recorded macros (type 3) and then the shortcuts (type 7) of the
// selection's layer, numbering them from 0.
MacroUploadResult UploadMacros(const CommandContext& context, const KeySelection& selection);
// Sends the key map of the selection's layer; results are ignored.
KeyMapBuild SendKeyMap(const CommandContext& context, const KeySelection& selection,
                       const MacroNumbers& numbers);

struct KeyMapSyncResult {
    MacroUploadResult upload;
    std::vector<int> skipped_keys; // upload and key map together, each once
};

// The whole family A key sync: macro upload, 20 ms, key map, in one exchange.
KeyMapSyncResult SyncKeyMap(const CommandContext& context, const KeySelection& selection);

} // namespace kovrin
