#include "device/ColourCommands.h"

#include <algorithm>

namespace kovrin {

namespace {

constexpr int kColourChunk = 60;

OutputReport Chunk(std::uint8_t command, int k, int length, const ColourTable& table) {
    OutputReport r{};
    const int offset = kColourChunk * k;
    r[1] = command;
    r[2] = LowByte(length);
    r[3] = LowByte(offset);
    r[4] = LowByte(offset >> 8);
    std::copy_n(table.begin() + offset, kColourChunk, r.begin() + 5);
    return r;
}

void AddUnique(std::vector<int>& list, int value) {
    if (std::find(list.begin(), list.end(), value) == list.end()) {
        list.push_back(value);
    }
}

void PutColour(ColourTable& table, std::size_t at, std::uint32_t colour) {
    table[at] = ByteOf(colour, 0);
    table[at + 1] = ByteOf(colour, 1);
    table[at + 2] = ByteOf(colour, 2);
}

} // namespace

std::optional<std::size_t> ColourOffset(const KeyboardLayout* layout, int key_code,
                                        std::size_t stride, std::size_t width) {
    if (!layout) {
        return std::nullopt;
    }
    const std::optional<int> index = layout->LightIndexOf(key_code);
    if (!index || *index < 0) {
        return std::nullopt;
    }
    const std::size_t at = stride * static_cast<std::size_t>(*index);
    if (at + width > kColourTableSize) {
        return std::nullopt;
    }
    return at;
}

ColourTableBuild BuildKeyColourTable(std::span<const KeyLightRow> rows,
                                     const KeyboardLayout* layout) {
    ColourTableBuild build;
    for (const KeyLightRow& row : rows) {
        const std::optional<std::size_t> at = ColourOffset(layout, row.key_code, 4, 4);
        if (!at) {
            AddUnique(build.skipped_keys, row.key_code);
            continue;
        }
        PutColour(build.table, *at, static_cast<std::uint32_t>(row.key_rgb));
        build.table[*at + 3] = 0xFF;
    }
    return build;
}

std::array<OutputReport, kKeyColourReports> KeyColourReports(const ColourTable& table) {
    std::array<OutputReport, kKeyColourReports> reports{};
    for (int k = 0; k < kKeyColourReports; ++k) {
        reports[static_cast<std::size_t>(k)] =
            Chunk(CMD_KEY_COLORS, k, k == kKeyColourReports - 1 ? 20 : kColourChunk, table);
    }
    return reports;
}

KeyColoursResult SendKeyColours(const CommandContext& context) {
    std::vector<KeyLightRow> rows;
    context.database.LoadKeyLights(KeyboardDatabase::kCustomLightId, rows);
    const ColourTableBuild build = BuildKeyColourTable(rows, context.layout.get());
    KeyColoursResult result;
    result.skipped_keys = build.skipped_keys;
    DeviceManager::Exchange exchange = context.manager.BeginExchange();
    for (const OutputReport& report : KeyColourReports(build.table)) {
        context.Pause(kColourChunkPause);
        if (!context.manager.WriteReport(report)) {
            break;
        }
        ++result.reports_sent;
    }
    return result;
}

ColourTableBuild BuildStreamFrame(std::span<const KeyColour> colours,
                                  const KeyboardLayout* layout) {
    ColourTableBuild build;
    for (const KeyColour& key : colours) {
        const std::optional<std::size_t> at = ColourOffset(layout, key.key_code, 3, 3);
        if (!at) {
            AddUnique(build.skipped_keys, key.key_code);
            continue;
        }
        PutColour(build.table, *at, key.colour);
    }
    return build;
}

OutputReport StreamEnableReport() {
    OutputReport r{};
    r[1] = CMD_STREAM_ENABLE;
    r[2] = 0xF4;
    r[3] = 0x01;
    return r;
}

std::array<OutputReport, kStreamFrameReports> StreamFrameReports(const ColourTable& frame) {
    std::array<OutputReport, kStreamFrameReports> reports{};
    for (int k = 0; k < kStreamFrameReports; ++k) {
        reports[static_cast<std::size_t>(k)] =
            Chunk(CMD_STREAM_FRAME, k, k == kStreamFrameReports - 1 ? 30 : kColourChunk, frame);
    }
    return reports;
}

StreamResult StreamColours(const CommandContext& context, std::span<const KeyColour> colours,
                           int device_type, int connection_mode, StreamState& state) {
    const bool lit = std::any_of(colours.begin(), colours.end(),
                                 [](const KeyColour& key) { return key.colour >= 2; });
    if (device_type >= 200 || connection_mode != 0 || !lit) {
        return StreamResult::kNotStreamed;
    }
    const ColourTableBuild frame = BuildStreamFrame(colours, context.layout.get());
    DeviceManager::Exchange exchange = context.manager.BeginExchange();
    if (!state.enabled) {
        if (!context.manager.WriteReport(StreamEnableReport())) {
            return StreamResult::kFailed;
        }
        state.enabled = true;
    }
    for (const OutputReport& report : StreamFrameReports(frame.table)) {
        context.Pause(kColourChunkPause);
        if (!context.manager.WriteReportAux(report)) {
            return StreamResult::kFailed;
        }
    }
    return StreamResult::kSent;
}

} // namespace kovrin
