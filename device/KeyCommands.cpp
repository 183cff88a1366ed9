#include "device/KeyCommands.h"

#include "device/KeyUsage.h"

#include <algorithm>

namespace kovrin {

namespace {

constexpr int kPressStep = 2;
constexpr int kReleaseStep = 3;
constexpr std::uint8_t kKeyMapFunction = 0x20;
constexpr std::uint8_t kKeyMapMacro = 0x40;
constexpr int kKeyMapChunk = 60;
constexpr std::uint8_t kShortcutDelay = 0x64; // 100 ms per step

using MacroBuffer = std::array<std::uint8_t, kMacroBufferSize>;

// The chunk reads of the longest macro stay inside the buffer.
static_assert((3 * (kMaxMacroSteps + 1) / kMacroChunkPayload + 1) * kMacroChunkPayload <=
              kMacroBufferSize);

OutputReport ChunkHeader(std::uint8_t command, int length, int offset) {
    OutputReport report{};
    report[1] = command;
    report[2] = LowByte(length);
    report[3] = LowByte(offset);
    report[4] = LowByte(offset >> 8);
    return report;
}

void AddUnique(std::vector<int>& list, int value) {
    if (std::find(list.begin(), list.end(), value) == list.end()) {
        list.push_back(value);
    }
}

} // namespace

std::optional<std::size_t> KeyMapOffset(const KeyboardLayout* layout, int key_code) {
    if (!layout) {
        return std::nullopt;
    }
    const std::optional<int> index = layout->KeyIndexOf(key_code);
    if (!index || *index < 0 || 2 * static_cast<std::size_t>(*index) + 1 >= kKeyMapSize) {
        return std::nullopt;
    }
    return 2 * static_cast<std::size_t>(*index);
}

KeyMapBuild BuildKeyMap(std::span<const KeyAssignment> rows, const KeyboardLayout* layout,
                        const MacroNumbers& numbers) {
    KeyMapBuild build;
    for (const KeyAssignment& row : rows) {
        std::uint8_t first = 0;
        std::uint8_t second = 0;
        if (row.macro_type == kTypeKeyFunction) {
            first = LowByte(row.macro_value);
            second = kKeyMapFunction;
        } else if (row.macro_type == kTypeDisabled) {
            second = kKeyMapFunction;
        } else if (UsesMacroSlot(row.macro_type)) {
            const auto it = numbers.find(row.key_code);
            if (it == numbers.end()) {
                continue;
            }
            first = LowByte(it->second);
            second = kKeyMapMacro;
        } else {
            continue;
        }
        const std::optional<std::size_t> at = KeyMapOffset(layout, row.key_code);
        if (!at) {
            AddUnique(build.skipped_keys, row.key_code);
            continue;
        }
        build.table[*at] = first;
        build.table[*at + 1] = second;
    }
    return build;
}

std::array<OutputReport, kKeyMapReports> KeyMapReports(const KeyMapTable& table) {
    std::array<OutputReport, kKeyMapReports> reports{};
    for (int k = 0; k < kKeyMapReports; ++k) {
        const int offset = kKeyMapChunk * k;
        OutputReport& r = reports[static_cast<std::size_t>(k)];
        r = ChunkHeader(CMD_KEY_MAP, k == kKeyMapReports - 1 ? 40 : kKeyMapChunk, offset);
        std::copy_n(table.begin() + offset, kKeyMapChunk, r.begin() + 5);
    }
    return reports;
}

std::vector<OutputReport> MacroReports(int macro_number, std::optional<int> play_times,
                                       std::span<const MacroRecordRow> records) {
    MacroBuffer buffer{};
    const int n = static_cast<int>(std::min<std::size_t>(records.size(), kMaxMacroSteps));
    std::size_t at = 2;
    for (int i = 0; i < n; ++i) {
        const MacroRecordRow& record = records[static_cast<std::size_t>(i)];
        const std::uint8_t low = LowByte(record.delay_time);
        const std::uint8_t high = LowByte(record.delay_time >> 8);
        if (record.type == kPressStep) {
            buffer[at] = KeyUsage(record.value);
            buffer[at + 1] = low;
            buffer[at + 2] = static_cast<std::uint8_t>(high | 0x80);
        } else if (record.type == kReleaseStep) {
            buffer[at] = KeyUsage(record.value);
            buffer[at + 1] = static_cast<std::uint8_t>(low | 0x80);
            buffer[at + 2] = static_cast<std::uint8_t>(high & 0x7F);
        } else {
            continue;
        }
        at += 3;
    }
    buffer[0] = static_cast<std::uint8_t>(play_times ? std::clamp(*play_times, 1, 255) : 1);
    buffer[1] = LowByte(n);

    const int total = 3 * (n + 1);
    const int payload = static_cast<int>(kMacroChunkPayload);
    const int last = total / payload;
    std::vector<OutputReport> reports;
    for (int k = 0; k <= last; ++k) {
        const int offset = payload * k;
        OutputReport r = ChunkHeader(CMD_MACRO, k == last ? total - offset : payload, offset);
        r[5] = LowByte(macro_number);
        std::copy_n(buffer.begin() + offset, payload, r.begin() + 6);
        reports.push_back(r);
    }
    return reports;
}

OutputReport ShortcutMacroReport(int macro_number, int shortcut_value) {
    const std::span<const ShortcutStep> steps = ShortcutSequence(shortcut_value);
    const int count = static_cast<int>(steps.size());
    OutputReport r = ChunkHeader(CMD_MACRO, 3 * count, 0);
    r[5] = LowByte(macro_number);
    r[6] = 1;
    r[7] = LowByte(count);
    std::size_t at = 8;
    for (const ShortcutStep& step : steps) {
        r[at] = step.usage;
        r[at + 1] = kShortcutDelay;
        r[at + 2] = step.release ? 0x00 : 0x80;
        at += 3;
    }
    return r;
}

MacroUploadResult UploadMacros(const CommandContext& context, const KeySelection& selection) {
    MacroUploadResult result;
    std::vector<KeyAssignment> rows;
    context.database.LoadKeyAssignments(selection.profile, selection.fn_layer, rows);
    const KeyboardLayout* layout = context.layout.get();
    DeviceManager::Exchange exchange = context.manager.BeginExchange();
    int number = 0;

    for (const KeyAssignment& row : rows) {
        if (row.macro_type != kTypeMacro) {
            continue;
        }
        if (!KeyMapOffset(layout, row.key_code)) {
            AddUnique(result.skipped_keys, row.key_code);
            continue;
        }
        int play_times = 0;
        std::optional<int> plays;
        if (context.database.GetMacroPlayTimes(row.macro_value, play_times)) {
            plays = play_times;
        }
        std::vector<MacroRecordRow> records;
        context.database.LoadMacroRecords(row.macro_value, records);
        context.Pause(kMacroPause);
        for (const OutputReport& report : MacroReports(number, plays, records)) {
            context.Pause(kMacroChunkPause);
            if (!context.manager.WriteReport(report)) {
                result.stopped = true;
                return result;
            }
        }
        result.numbers[row.key_code] = number++;
    }

    for (const KeyAssignment& row : rows) {
        if (row.macro_type != kTypeShortcut) {
            continue;
        }
        if (!KeyMapOffset(layout, row.key_code)) {
            AddUnique(result.skipped_keys, row.key_code);
            continue;
        }
        context.Pause(kMacroPause);
        context.manager.WriteReport(ShortcutMacroReport(number, row.macro_value));
        result.numbers[row.key_code] = number++;
    }
    return result;
}

KeyMapBuild SendKeyMap(const CommandContext& context, const KeySelection& selection,
                       const MacroNumbers& numbers) {
    std::vector<KeyAssignment> rows;
    context.database.LoadKeyAssignments(selection.profile, selection.fn_layer, rows);
    KeyMapBuild build = BuildKeyMap(rows, context.layout.get(), numbers);
    DeviceManager::Exchange exchange = context.manager.BeginExchange();
    for (const OutputReport& report : KeyMapReports(build.table)) {
        context.Pause(kKeyMapPause);
        context.manager.WriteReport(report);
    }
    return build;
}

KeyMapSyncResult SyncKeyMap(const CommandContext& context, const KeySelection& selection) {
    KeyMapSyncResult result;
    DeviceManager::Exchange exchange = context.manager.BeginExchange();
    result.upload = UploadMacros(context, selection);
    context.Pause(kKeyMapAfterMacrosPause);
    const KeyMapBuild map = SendKeyMap(context, selection, result.upload.numbers);
    result.skipped_keys = result.upload.skipped_keys;
    for (int key : map.skipped_keys) {
        AddUnique(result.skipped_keys, key);
    }
    return result;
}

} // namespace kovrin
