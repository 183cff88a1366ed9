#pragma once
// Per-key colour tables: the stored custom colours (CMD_KEY_COLORS, both
// families) and the live colour stream of family A (CMD_STREAM_ENABLE, then
// CMD_STREAM_FRAME on the second interface).

#include "device/CommandReports.h"
#include "store/StoreRows.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace kovrin {

inline constexpr std::size_t kColourTableSize = 600;
inline constexpr int kKeyColourReports = 8;
inline constexpr int kStreamFrameReports = 6;

using ColourTable = std::array<std::uint8_t, kColourTableSize>;

struct ColourTableBuild {
    ColourTable table{};
    std::vector<int> skipped_keys; // no light index, or bytes outside the table
};

// Offset of a key's bytes: light index x stride, when all `width` bytes fit.
std::optional<std::size_t> ColourOffset(const KeyboardLayout* layout, int key_code,
                                        std::size_t stride, std::size_t width);

// Red, green, blue and 0xFF per key at 4 x light index.
ColourTableBuild BuildKeyColourTable(std::span<const KeyLightRow> rows,
                                     const KeyboardLayout* layout);
// Eight reports: 60 bytes each, 20 for the last, at offsets 60 x k.
std::array<OutputReport, kKeyColourReports> KeyColourReports(const ColourTable& table);

struct KeyColoursResult {
    int reports_sent = 0; // stops at the first failed report
    std::vector<int> skipped_keys;
};

// TASK_SYNC_KEY_COLORS: the colours of the custom per-key set (light id 128).
KeyColoursResult SendKeyColours(const CommandContext& context);

// A key of the lighting page's keyboard view and its colour now.
struct KeyColour {
    int key_code = 0;
    std::uint32_t colour = 0; // red in the low byte
};

// Red, green, blue per key at 3 x light index.
ColourTableBuild BuildStreamFrame(std::span<const KeyColour> colours, const KeyboardLayout* layout);
OutputReport StreamEnableReport();
// Six reports: 60 bytes each, 30 for the last, at offsets 60 x k.
std::array<OutputReport, kStreamFrameReports> StreamFrameReports(const ColourTable& frame);

// Whether the keyboard has been told to take streamed frames since the
// devices were last opened; whoever re-opens resets it, since a replugged
// keyboard has forgotten.
struct StreamState {
    bool enabled = false;
};

enum class StreamResult {
    kNotStreamed, // type 200 or above, a wireless connection, or every colour below 2
    kSent,
    kFailed, // the enable command or a frame report failed
};

StreamResult StreamColours(const CommandContext& context, std::span<const KeyColour> colours,
                           int device_type, int connection_mode, StreamState& state);

} // namespace kovrin
